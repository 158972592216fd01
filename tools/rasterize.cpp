// Draws each picture once at its drawn size into a raster, at build time: the program shows these in place of
// drawing the SVG (parsing it, loading the fonts of its texts) at every start.
#include "platform/services.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    // Fonts need a platform; none is on screen at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: rasterize SOURCE-FOLDER OUTPUT-FOLDER [PICTURE.svg...]\n";
        return 2;
    }
    services::installFontSubstitutes();
    const QDir source(args.at(1)), output(args.at(2));
    for (const QString &relative : args.mid(3)) {
        const QString target = output.filePath(relative.chopped(4) + QStringLiteral(".argb"));
        QDir().mkpath(QFileInfo(target).absolutePath());
        const QImage image = services::drawPicture(source.filePath(relative));
        if (image.isNull() || !services::saveRaster(image, target)) {
            QTextStream(stderr) << "rasterize: cannot draw " << relative << " into " << target << "\n";
            return 1;
        }
    }
    return 0;
}
