#pragma once
// What the data views print, page by page, one document per job. Printing goes to the recording backend
// (nothing reaches a printer or a file) unless the test asks for another; the progress hook a test sets is
// dropped with the recorder.
#include "dataview/print.h"
#include "platform/printjob.h"

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

class PrintedPages {
public:
    explicit PrintedPages(print::Backend backend = print::Backend::Recording)
    {
        print::setBackend(backend);
        print::clearRecorded();
        dw::setPrintRecorder([this](const QString &document, int page, int, const dw::PrintedPage &printed) {
            if (page == 1)
                documents << dw::PrintedDocument{document, {}};
            documents.last().pages << printed;
        });
    }
    ~PrintedPages()
    {
        dw::setPrintRecorder({});
        dw::setPrintProgressHook({});
        print::setBackend(print::Backend::Automatic);
    }
    PrintedPages(const PrintedPages &) = delete;
    PrintedPages &operator=(const PrintedPages &) = delete;

    // The texts of a page from top to bottom, left to right; empty texts left out.
    static QStringList texts(const dw::PrintedPage &page)
    {
        QList<dw::PrintedText> sorted = page.texts;
        std::stable_sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
            return a.rect.y() != b.rect.y() ? a.rect.y() < b.rect.y() : a.rect.x() < b.rect.x();
        });
        QStringList out;
        for (const auto &t : sorted)
            if (!t.text.isEmpty())
                out << t.text;
        return out;
    }
    // Every text of every job, page after page.
    QStringList allTexts() const
    {
        QStringList out;
        for (const dw::PrintedDocument &d : documents)
            for (const dw::PrintedPage &p : d.pages)
                out << texts(p);
        return out;
    }
    // The print calls of the jobs, by name ("open", "newPage", "close", "abort").
    QStringList calls() const
    {
        QStringList out;
        for (const print::Call &c : print::recorded())
            out << c.op;
        return out;
    }

    QList<dw::PrintedDocument> documents;
};

// The words of a PDF file as pdftotext places them, in points from each page's top-left corner; empty when it
// cannot read the file.
struct PdfWord {
    QString text;
    QRectF box;
};
inline QList<PdfWord> pdfWords(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression wordRe(QStringLiteral(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" )re"
                                                          R"re(xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (auto it = wordRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        words << PdfWord{text, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                      QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
    }
    return words;
}
