// The reference a list's print is held to: a plain Qt paint of the same pages, in a process of its own that
// shares nothing with the print. It reads the statement's rows once through SQLite, then draws the texts and
// bars the pages file gives (the list's own pages, laid out beforehand with their texts as the print draws
// them) at the same places in the same fonts, each font made once and set where it changes, on A4 with the
// list's margins, into a PDF. Prints one "RESULT key=value;..." line: ball (ms, the rows read and every page
// drawn and written), bcpu (ms), bpeak (MB grown), bmb (the PDF's MB), bpages.
#include "memory.h"

#include "platform/services.h"
#include "platform/transaction.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <sqlite3.h>

namespace {
struct Header {
    QString database, sql;
    QStringList names, values; // bound by name where one is given, else by place
    int margin = 0;            // hundredths of a millimetre on every side
    QList<QFont> fonts;
};

bool readHeader(QDataStream &in, Header &h)
{
    qint32 fonts = 0;
    in >> h.database >> h.sql >> h.names >> h.values >> h.margin >> fonts;
    for (int i = 0; i < fonts && in.status() == QDataStream::Ok; ++i) {
        QString face;
        qint32 points = 0, weight = 0;
        bool italic = false, underline = false;
        in >> face >> points >> weight >> italic >> underline;
        QFont made = services::font(face, points, weight);
        made.setItalic(italic);
        made.setUnderline(underline);
        h.fonts << made;
    }
    return in.status() == QDataStream::Ok;
}

// Every row of the statement, every value read as text. The rows read, or -1.
int readRows(const Header &h)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray path = h.database.toUtf8(), sql = h.sql.toUtf8();
    int rows = -1;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && db::registerGbkCollation(db)
        && sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK) {
        for (int i = 0; i < h.values.size(); ++i) {
            const QString &name = h.names.value(i);
            int index = name.isEmpty() ? 0 : sqlite3_bind_parameter_index(stmt, (u':' + name).toUtf8().constData());
            const QByteArray text = h.values.at(i).toUtf8();
            sqlite3_bind_text(stmt, index ? index : i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sqlite3_column_text(stmt, c);
            ++rows;
        }
    }
    if (rows < 0)
        std::fprintf(stderr, "plainpaint: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}
} // namespace

int main(int argc, char **argv)
{
    // The program's own process-wide setting: both are held to the same heap.
    services::keepFreedHeap();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: plainpaint PAGES-FILE OUTPUT.pdf\n");
        return 2;
    }
    services::installFontSubstitutes();
    QFile file(args.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "plainpaint: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    Header h;
    if (!readHeader(in, h))
        return 1;

    const double before = bench::memoryMb("VmRSS:");
    bench::resetPeak();
    const double cpuStart = bench::cpuMs();
    const auto start = std::chrono::steady_clock::now();
    if (readRows(h) < 0)
        return 1;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(args.at(2));
    const qreal mm = h.margin / 100.0;
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(mm, mm, mm, mm),
                                      QPageLayout::Millimeter));
    QPainter painter(&printer);
    const qreal k = printer.logicalDpiX() / 2540.0;
    auto device = [k](const QRect &r) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); };
    // A page's texts come into one buffer kept from page to page, each drawn from its part of it.
    QList<char16_t> chars;
    int pages = 0, current = -1;
    for (qint32 count = 0; !in.atEnd(); ++pages) {
        if (pages > 0)
            printer.newPage();
        in >> count;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (QRect bar; count-- > 0;) {
            in >> bar;
            painter.drawRect(device(bar));
        }
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        in >> count;
        for (QRect rect; count-- > 0;) {
            qint32 flags = 0, font = 0;
            quint32 bytes = 0;
            in >> rect >> flags >> font >> bytes;
            chars.resize(bytes / 2);
            in.readRawData(reinterpret_cast<char *>(chars.data()), int(bytes));
            if (font != current)
                painter.setFont(h.fonts.value(current = font));
            const QString text = QString::fromRawData(reinterpret_cast<const QChar *>(chars.constData()), chars.size());
            painter.drawText(device(rect), flags, text);
        }
    }
    painter.end();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("RESULT ball=%.2f;bcpu=%.2f;bpeak=%.0f;bmb=%.1f;bpages=%d\n", wall, bench::cpuMs() - cpuStart,
                std::max(0.0, bench::memoryMb("VmHWM:") - before), QFileInfo(args.at(2)).size() / 1e6, pages);
    return in.status() == QDataStream::Ok ? 0 : 1;
}
