#pragma once
// What was drawn where: the dark pixels of a picture of a view or of a printed page, counted inside the
// rectangles of resolved texts.
#include "dataview/report.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

// Dark pixels inside an area of the image (a pixel in from its edges, where a neighbour's edge may blur in).
inline int inkIn(const QImage &image, const QRectF &area)
{
    const QRect r = area.toAlignedRect().adjusted(1, 1, -1, -1) & image.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 160;
    return n;
}

// The dark pixels inside the rectangles of the page's texts that read `text`: thousandths of a centimetre
// on the page become pixels at `pixelsPerUnit` from `origin`, at the page's own scale.
inline int inkInTexts(const QImage &image, const dw::PrintedPage &page, const QString &text, qreal pixelsPerUnit,
                      QPointF origin = {})
{
    const qreal k = pixelsPerUnit * page.scale;
    int n = 0;
    for (const dw::PrintedText &t : page.texts)
        if (t.text == text)
            n += inkIn(image, QRectF(origin.x() + t.rect.x() * k, origin.y() + t.rect.y() * k, t.rect.width() * k,
                                     t.rect.height() * k));
    return n;
}

// The first page of a PDF as pdftoppm draws it, `dpi` pixels an inch (only its top `height` pixels where
// given); a null image when it cannot.
inline QImage pdfFirstPage(const QString &file, int dpi, int height = 0)
{
    QTemporaryDir dir;
    QProcess p;
    QStringList arguments{QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                          QStringLiteral("-singlefile")};
    if (height > 0)
        arguments << QStringLiteral("-H") << QString::number(height);
    p.start(QStringLiteral("pdftoppm"), arguments << file << dir.filePath(QStringLiteral("page")));
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(dir.filePath(QStringLiteral("page.png")));
}
