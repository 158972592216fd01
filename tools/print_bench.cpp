// Times printing the payment list of a generated register to PDF, page by page through the print path, against
// a plain Qt paint of the same pages (the same texts and bars, each font made once and set only where it
// changes, the pages laid out outside the timing).
// Run one mode per process so that the peak memory is the mode's own:
//   print_bench ROWS path|plain
#include "books/lists_reports.h"
#include "globals.h"
#include "platform/dataview_print.h"
#include "platform/printjob.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/transaction.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

namespace {
qint64 cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

long statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool fill(int rows)
{
    QSqlDatabase db = g::sqlca.database();
    QSqlQuery q(db);
    db.transaction();
    q.prepare(QStringLiteral("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm) VALUES (?, '现金支票', ?, ?, '货款', ?, ?)"));
    for (int i = 0; i < rows; ++i) {
        q.addBindValue(QDate(2016, 1, 1).addDays(i % 3650).toString(Qt::ISODate));
        q.addBindValue(QString::number(100000 + i));
        q.addBindValue(QStringLiteral("北京某某商贸有限公司%1").arg(i % 5000));
        q.addBindValue(i % 100000 / 100.0 + 0.25);
        q.addBindValue(QStringLiteral("中国工商银行第%1支行").arg(i % 7));
        if (!q.exec())
            return false;
    }
    return db.commit();
}

// Paints resolved pages as plainly as Qt allows: one font object per distinct font.
qint64 plainPaint(dw::ReportPages &pages, int count, QPrinter &printer)
{
    QPainter painter(&printer);
    const qreal scale = printer.logicalDpiX() / 2540.0;
    QHash<QString, QFont> fonts;
    QString current;
    QElapsedTimer timer;
    qint64 painting = 0;
    for (int p = 1; p <= count; ++p) {
        dw::PrintedPage page;
        pages.layoutPage(p, page); // not timed
        timer.start();
        if (p > 1)
            printer.newPage();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const QRect &bar : page.bars)
            painter.drawRect(QRectF(bar.x() * scale, bar.y() * scale, bar.width() * scale, bar.height() * scale));
        painter.setPen(Qt::black);
        for (const dw::PrintedText &t : page.texts) {
            if (t.text.isEmpty())
                continue;
            const QString key = QStringLiteral("%1/%2/%3").arg(t.font.face).arg(t.font.points).arg(t.font.weight);
            if (key != current) {
                auto it = fonts.find(key);
                if (it == fonts.end())
                    it = fonts.insert(key, services::font(t.font.face, t.font.points, t.font.weight));
                painter.setFont(*it);
                current = key;
            }
            const QRectF rect(t.rect.x() * scale, t.rect.y() * scale, t.rect.width() * scale, t.rect.height() * scale);
            painter.drawText(rect, int(t.alignment | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip, t.text);
        }
        painting += timer.nsecsElapsed();
    }
    timer.start();
    painter.end();
    return (painting + timer.nsecsElapsed()) / 1000000;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args.at(2) != QLatin1String("path") && args.at(2) != QLatin1String("plain"))) {
        QTextStream(stderr) << "usage: print_bench ROWS path|plain\n";
        return 2;
    }
    const int rows = args.at(1).toInt();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    services::installFontSubstitutes();
    registry::setStorePath(dir.filePath(QStringLiteral("registry.ini")));
    const QString file = dir.filePath(QStringLiteral("DATABASE/nardelo.db"));
    if (const QString error = db::createDatabase(file); !error.isEmpty()) {
        QTextStream(stderr) << error << "\n";
        return 1;
    }
    registry::setValue(QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\tolvane"),
                       QStringLiteral("DatabaseFile"), registry::ValueType::String, file);
    g::sqlca.DBParm = QStringLiteral("ConnectString='DSN=tolvane;UID=dba;PWD=h40392KT'");
    g::sqlca.connect();
    if (g::sqlca.SQLCode != 0 || !fill(rows)) {
        QTextStream(stderr) << "cannot build the register: " << g::sqlca.SQLErrText << "\n";
        return 1;
    }

    const dw::ReportDefinition definition = brevik::cabank();
    dw::Buffer buffer(definition.data);
    if (buffer.retrieve(g::sqlca, {QDate(2016, 1, 1), QDate(2025, 12, 31)}) < 0)
        return 1;
    const long before = statusKb("VmRSS:");
    // Resets the peak to what is held now, so that the peak below is the printing's own.
    if (QFile reset(QStringLiteral("/proc/self/clear_refs")); reset.open(QIODevice::WriteOnly))
        reset.write("5");
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuBefore = cpuMs();
    int pages = 0;
    qint64 ms = 0;
    if (args.at(2) == QLatin1String("path")) {
        print::setBackend(print::Backend::Pdf);
        QString error;
        pages = dw::printReport(definition, buffer, nullptr, &error);
        ms = timer.elapsed();
        if (pages <= 0) {
            QTextStream(stderr) << "print failed: " << error << "\n";
            return 1;
        }
    } else {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("plain.pdf")));
        const qreal margin = definition.margin / 100.0;
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter));
        dw::ReportPages source(definition, buffer, services::today());
        const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        pages = source.paginate(QSize(qRound(area.width() * 100), qRound(area.height() * 100)));
        ms = plainPaint(source, pages, printer);
    }
    const qint64 cpu = cpuMs() - cpuBefore;
    QTextStream(stdout) << args.at(2) << ": " << rows << " rows, " << pages << " pages, " << ms << " ms (process CPU "
                        << cpu << " ms), RSS before "
                        << before / 1024 << " MB, peak " << statusKb("VmHWM:") / 1024 << " MB, peak less before "
                        << (statusKb("VmHWM:") - before) / 1024 << " MB\n";
    return 0;
}
