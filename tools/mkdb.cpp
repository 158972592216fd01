// Builds a fresh database file from the schema and initial content compiled into the common library.
#include "platform/transaction.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const char *usage = "usage: mkdb PATH\n"
                        "Builds a new database file at PATH (which must not exist yet) from the schema and the\n"
                        "initial content.\n";
    if (args.size() == 2 && (args.at(1) == QLatin1String("-h") || args.at(1) == QLatin1String("--help"))) {
        QTextStream(stdout) << usage;
        return 0;
    }
    // An option mistyped is never taken for a file name.
    if (args.size() != 2 || args.at(1).startsWith(u'-')) {
        QTextStream(stderr) << usage;
        return 2;
    }
    const QString error = db::createDatabase(args.at(1));
    if (!error.isEmpty()) {
        QTextStream(stderr) << "mkdb: " << error << "\n";
        return 1;
    }
    return 0;
}
