#include "fixture.h"
#include "platform/printjob.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

namespace {

// A word of a PDF page as pdftotext places it, in thousandths of an inch from the page's top-left corner.
struct Word {
    QString text;
    QRectF box;
};

struct PdfPage {
    QSizeF size; // points
    QList<Word> words;
};

PdfPage readPdf(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("pdftotext failed on %s", qPrintable(file));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    PdfPage page;
    const QRegularExpression pageRe(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    if (const auto m = pageRe.match(html); m.hasMatch())
        page.size = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QRegularExpression wordRe(QStringLiteral(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" )re"
                                                   R"re(xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    const qreal k = 1000.0 / 72.0;
    for (auto it = wordRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF topLeft(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k);
        const QPointF bottomRight(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k);
        page.words << Word{m.captured(5), QRectF(topLeft, bottomRight)};
    }
    return page;
}

QString fontsOf(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdffonts"), {file});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

Word wordNamed(const PdfPage &page, const QString &text)
{
    const auto it = std::find_if(page.words.begin(), page.words.end(), [&](const Word &w) { return w.text == text; });
    if (it == page.words.end()) {
        QStringList all;
        for (const Word &w : page.words)
            all << w.text;
        qWarning("word %s not on the page; found: %s", qPrintable(text), qPrintable(all.join(u' ')));
        return {};
    }
    return *it;
}

QString describe(const print::Call &call)
{
    QStringList args;
    for (const QVariant &a : call.args)
        args << a.toString();
    return QStringLiteral("%1 %2 [%3]").arg(call.op).arg(call.job).arg(args.join(u','));
}

QStringList recordedCalls()
{
    QStringList out;
    for (const print::Call &c : print::recorded())
        out << describe(c);
    return out;
}

// Where a PDF job's texts land must match the request within this many thousandths of an inch (about 0.25 mm).
constexpr qreal Tolerance = 10;
// One point in thousandths of an inch.
constexpr qreal Pt = 1000.0 / 72.0;

} // namespace

class tst_printjob : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<Fixture>(false);
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }
    void cleanup()
    {
        print::setBackend(print::Backend::Automatic);
        print::clearRecorded();
        m_fixture.reset();
    }

    void recordsEveryCallInOrder()
    {
        const int job = print::open(QStringLiteral("现金支票"));
        QVERIFY(job > 0);
        QCOMPARE(print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false), 1);
        QCOMPARE(print::defineFont(job, 2, QStringLiteral("黑体"), -14, 800, 0, 5, true, true), 1);
        QCOMPARE(print::setFont(job, 2), 1);
        QCOMPARE(print::text(job, QStringLiteral("壹仟元整"), 1200, 850), 1);
        QCOMPARE(print::text(job, QString(), 0, 0), 1);
        QCOMPARE(print::text(job, QStringLiteral("北京"), 300, 40, 1), 1);
        QCOMPARE(print::line(job, QString()), 1);
        QCOMPARE(print::close(job), 1);

        const QString j = QString::number(job);
        const QStringList expected = {
            QStringLiteral("open %1 [现金支票]").arg(j),
            QStringLiteral("defineFont %1 [1,宋体,-12,400,0,5,false,false]").arg(j),
            QStringLiteral("defineFont %1 [2,黑体,-14,800,0,5,true,true]").arg(j),
            QStringLiteral("setFont %1 [2]").arg(j),
            QStringLiteral("text %1 [壹仟元整,1200,850,0]").arg(j),
            QStringLiteral("text %1 [,0,0,0]").arg(j),
            QStringLiteral("text %1 [北京,300,40,1]").arg(j),
            QStringLiteral("line %1 []").arg(j),
            QStringLiteral("close %1 []").arg(j),
        };
        QCOMPARE(recordedCalls(), expected);
        // Argument types as the callers pass them.
        const print::Call text = print::recorded().at(4);
        QCOMPARE(text.args.at(1).typeId(), QMetaType::Int);
        QCOMPARE(print::recorded().at(1).args.at(6).typeId(), QMetaType::Bool);

        // Recording draws nothing and writes no file.
        QVERIFY(!QDir(QStringLiteral("PRINTOUT")).exists());

        // Each job gets its own, new number.
        const int second = print::open();
        QVERIFY(second > job);
        QCOMPARE(print::close(second), 1);
    }

    void fontDefinitions_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<int>("qtWeight");
        QTest::addColumn<QString>("family");

        QTest::newRow("negative height is points") << "宋体" << -12 << 400 << false << false << 12.0
                                                    << int(QFont::Normal) << "AR PL UMing CN";
        QTest::newRow("zero height is 9 points") << "宋体" << 0 << 400 << false << false << 9.0 << int(QFont::Normal)
                                                  << "AR PL UMing CN";
        QTest::newRow("extra bold") << "黑体" << -20 << 800 << false << false << 20.0 << int(QFont::ExtraBold)
                                    << "WenQuanYi Zen Hei";
        QTest::newRow("bold italic underlined") << "Arial" << -10 << 700 << true << true << 10.0 << int(QFont::Bold)
                                                << "Liberation Sans";
        QTest::newRow("positive height in thousandths of an inch")
            << "宋体" << 250 << 400 << false << false << 18.0 << int(QFont::Normal) << "AR PL UMing CN";
        QTest::newRow("weight 0 is normal") << "宋体" << -40 << 0 << false << false << 40.0 << int(QFont::Normal)
                                            << "AR PL UMing CN";
    }

    void fontDefinitions()
    {
        QFETCH(QString, face);
        QFETCH(int, height);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(qreal, points);
        QFETCH(int, qtWeight);
        QFETCH(QString, family);

        const int job = print::open();
        QCOMPARE(print::defineFont(job, 4, face, height, weight, 0, 5, italic, underline), 1);
        const QFont font = print::jobFont(job, 4);
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(int(font.weight()), qtWeight);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.underline(), underline);
        // The Windows face names reach the installed fonts.
        QCOMPARE(QFontInfo(font).family(), family);
        QCOMPARE(print::close(job), 1);
    }

    void fontNumberArgumentKeepsTheSelectedFont()
    {
        const int job = print::open();
        print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false);
        print::defineFont(job, 2, QStringLiteral("黑体"), -20, 800, 0, 5, false, false);
        print::defineFont(job, 3, QStringLiteral("宋体"), -10, 400, 0, 5, false, false);
        QCOMPARE(print::setFont(job, 1), 1);
        QCOMPARE(print::jobFont(job).pointSizeF(), 12.0);

        QCOMPARE(print::text(job, QStringLiteral("湖北"), 100, 100, 3), 1);
        QCOMPARE(print::text(job, QStringLiteral("武汉"), 100, 300, 2), 1);
        QCOMPARE(print::jobFont(job).pointSizeF(), 12.0);

        QCOMPARE(print::setFont(job, 2), 1);
        QCOMPARE(print::jobFont(job).family(), QStringLiteral("黑体"));

        // Faults leave the selection alone.
        QCOMPARE(print::setFont(job, 7), -1);
        QVERIFY(!print::lastError().isEmpty());
        QCOMPARE(print::jobFont(job).family(), QStringLiteral("黑体"));
        QCOMPARE(print::text(job, QStringLiteral("县"), 0, 0, 7), -1);
        QCOMPARE(print::defineFont(job, 0, QStringLiteral("宋体"), -9, 400, 0, 5, false, false), -1);
        QCOMPARE(print::jobFont(job).family(), QStringLiteral("黑体"));

        // A redefined number prints in its new definition.
        print::defineFont(job, 2, QStringLiteral("宋体"), -15, 400, 0, 5, false, false);
        QCOMPARE(print::jobFont(job).pointSizeF(), 15.0);

        // A successful call clears the error of the one before.
        QCOMPARE(print::text(job, QStringLiteral("县"), 0, 0), 1);
        QVERIFY(print::lastError().isEmpty());
        QCOMPARE(print::close(job), 1);
    }

    void noJobPath()
    {
        print::setBackend(print::Backend::Failing);
        const int job = print::open();
        QCOMPARE(job, -1);
        QVERIFY(!print::lastError().isEmpty());
        QCOMPARE(print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false), -1);
        QCOMPARE(print::setFont(job, 1), -1);
        QCOMPARE(print::text(job, QStringLiteral("支票"), 0, 0), -1);
        QCOMPARE(print::line(job, QString()), -1);
        QCOMPARE(print::close(job), -1);
        QVERIFY(!print::lastError().isEmpty());
        // A caller that stops after the failed open leaves just the open on record.
        QCOMPARE(recordedCalls().first(), QStringLiteral("open -1 []"));
        QVERIFY(!QDir(QStringLiteral("PRINTOUT")).exists());
    }

    void unknownJobNumbers_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("never opened") << "never";
        QTest::newRow("closed") << "closed";
        QTest::newRow("zero") << "zero";
    }

    void unknownJobNumbers()
    {
        QFETCH(QString, which);
        int job = 0;
        if (which == QLatin1String("never"))
            job = 987654;
        if (which == QLatin1String("closed")) {
            job = print::open();
            QCOMPARE(print::close(job), 1);
        }
        const QList<std::function<int()>> calls = {
            [&] { return print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false); },
            [&] { return print::setFont(job, 1); },
            [&] { return print::text(job, QStringLiteral("支票"), 10, 10); },
            [&] { return print::text(job, QStringLiteral("支票"), 10, 10, 1); },
            [&] { return print::line(job, QStringLiteral("支票")); },
            [&] { return print::close(job); },
        };
        for (const auto &call : calls) {
            QCOMPARE(call(), -1);
            QVERIFY(print::lastError().contains(QString::number(job)));
        }
    }

    // Texts land where asked, by their top-left corner, in the fonts asked for; Chinese and Latin alike.
    void pdfTextPositions()
    {
        print::setBackend(print::Backend::Pdf);
        const int job = print::open(QStringLiteral("位置"));
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false);
        print::defineFont(job, 2, QStringLiteral("黑体"), -20, 800, 0, 5, false, false);
        print::defineFont(job, 3, QStringLiteral("Arial"), -11, 400, 0, 5, false, false);
        print::defineFont(job, 4, QStringLiteral("宋体"), 0, 400, 0, 5, false, false);
        print::defineFont(job, 5, QStringLiteral("宋体"), -9, 400, 0, 5, false, false);
        print::setFont(job, 1);

        struct Placed {
            QString text;
            int x, y;
            qreal points; // size the text must show in; CJK glyphs of these faces are one em wide
        };
        const QList<Placed> expected = {
            {QStringLiteral("贰零贰陆年"), 1200, 850, 12},  {QStringLiteral("叁月零伍日"), 4321, 850, 12},
            {QStringLiteral("壹万贰仟元"), 1500, 1700, 20}, {QStringLiteral("12345678"), 6000, 2200, 11},
            {QStringLiteral("用途货款"), 0, 0, 12},         {QStringLiteral("零高九点"), 2500, 3600, 9},
            {QStringLiteral("九点字号"), 5000, 3600, 9},    {QStringLiteral("收款人"), 7000, 9999, 12},
        };
        QCOMPARE(print::text(job, expected[0].text, expected[0].x, expected[0].y), 1);
        QCOMPARE(print::text(job, expected[1].text, expected[1].x, expected[1].y), 1);
        QCOMPARE(print::text(job, expected[2].text, expected[2].x, expected[2].y, 2), 1);
        QCOMPARE(print::text(job, expected[3].text, expected[3].x, expected[3].y, 3), 1);
        // Still font 1: the font number arguments above did not select.
        QCOMPARE(print::text(job, expected[4].text, expected[4].x, expected[4].y), 1);
        QCOMPARE(print::text(job, expected[5].text, expected[5].x, expected[5].y, 4), 1);
        QCOMPARE(print::text(job, expected[6].text, expected[6].x, expected[6].y, 5), 1);
        QCOMPARE(print::text(job, QString(), 3000, 3000), 1);
        QCOMPARE(print::text(job, expected[7].text, expected[7].x, expected[7].y), 1);
        QCOMPARE(print::close(job), 1);

        const QString file = print::lastOutputFile();
        QCOMPARE(QFileInfo(file).absolutePath(), QDir::current().absoluteFilePath(QStringLiteral("PRINTOUT")));
        const PdfPage page = readPdf(file);
        // A4, whole sheet printable: the page origin is the origin of the coordinates.
        QCOMPARE(qRound(page.size.width()), 595);
        QCOMPARE(qRound(page.size.height()), 842);
        QCOMPARE(page.words.size(), expected.size()); // the empty text printed nothing

        for (const Placed &p : expected) {
            const Word w = wordNamed(page, p.text);
            QVERIFY2(!w.text.isEmpty(), qPrintable(p.text));
            const QString where = QStringLiteral("%1 asked at (%2, %3), printed at (%4, %5)")
                                      .arg(p.text)
                                      .arg(p.x)
                                      .arg(p.y)
                                      .arg(w.box.left())
                                      .arg(w.box.top());
            QVERIFY2(qAbs(w.box.left() - p.x) <= Tolerance, qPrintable(where));
            QVERIFY2(qAbs(w.box.top() - p.y) <= Tolerance, qPrintable(where));
            // The top-left anchor puts the whole text below and right of (x, y).
            QVERIFY2(w.box.bottom() > p.y + 0.8 * p.points * Pt, qPrintable(where));
            if (p.text.front().unicode() >= 0x4e00) {
                const qreal width = p.text.size() * p.points * Pt;
                const QString size =
                    QStringLiteral("%1 is %2 wide, expected %3").arg(p.text).arg(w.box.width()).arg(width);
                QVERIFY2(qAbs(w.box.width() - width) <= Tolerance, qPrintable(size));
            }
        }
        const QString fonts = fontsOf(file);
        QVERIFY2(fonts.contains(QStringLiteral("UMing")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("WenQuanYiZenHei")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSans")), qPrintable(fonts));
    }

    // line() prints at the left edge, each line one line height below the one before.
    void pdfLineCursor()
    {
        print::setBackend(print::Backend::Pdf);
        const int job = print::open();
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false);
        print::defineFont(job, 2, QStringLiteral("宋体"), -24, 400, 0, 5, false, false);
        print::setFont(job, 1);
        QCOMPARE(print::line(job, QStringLiteral("第一行")), 1);
        QCOMPARE(print::line(job, QString()), 1);
        print::setFont(job, 2);
        QCOMPARE(print::line(job, QStringLiteral("第三行")), 1);
        QCOMPARE(print::line(job, QStringLiteral("第四行")), 1);
        QCOMPARE(print::close(job), 1);

        const PdfPage page = readPdf(print::lastOutputFile());
        QCOMPARE(page.words.size(), 3);
        const Word first = wordNamed(page, QStringLiteral("第一行"));
        const Word third = wordNamed(page, QStringLiteral("第三行"));
        const Word fourth = wordNamed(page, QStringLiteral("第四行"));
        QVERIFY(qAbs(first.box.left()) <= Tolerance && qAbs(first.box.top()) <= Tolerance);
        QVERIFY(qAbs(third.box.left()) <= Tolerance && qAbs(fourth.box.left()) <= Tolerance);
        // Two 12-point lines, the empty one included, then one 24-point line.
        const qreal small = (third.box.top() - first.box.top()) / 2;
        const qreal large = fourth.box.top() - third.box.top();
        QVERIFY2(small >= 12 * Pt && small <= 1.3 * 12 * Pt, qPrintable(QString::number(small)));
        QVERIFY2(large >= 24 * Pt && large <= 1.3 * 24 * Pt, qPrintable(QString::number(large)));
    }

    void pdfFilesAreNeverOverwritten()
    {
        // The clock is fixed, so the next job's file name is known: take it first.
        const int probe = print::open();
        print::close(probe);
        QDir().mkpath(QStringLiteral("PRINTOUT"));
        const QString taken = QStringLiteral("PRINTOUT/%1-job%2.pdf")
                                  .arg(Fixture::fixedNow().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                  .arg(probe + 1);
        {
            QFile f(taken);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
        }

        print::setBackend(print::Backend::Pdf);
        QStringList files;
        for (int i = 0; i < 2; ++i) {
            const int job = print::open();
            QVERIFY2(job > 0, qPrintable(print::lastError()));
            print::text(job, QStringLiteral("第%1张").arg(i + 1), 500, 500);
            QCOMPARE(print::close(job), 1);
            files << print::lastOutputFile();
        }
        QFile kept(taken);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep"));
        QVERIFY(files[0] != files[1]);
        for (const QString &file : files) {
            QVERIFY(file != QFileInfo(taken).absoluteFilePath());
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.read(5) == "%PDF-");
        }
        QCOMPARE(QDir(QStringLiteral("PRINTOUT")).entryList(QDir::Files).size(), 3);
    }

    void pdfFolderCannotBeMade()
    {
        QFile blocker(QStringLiteral("PRINTOUT"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        print::setBackend(print::Backend::Pdf);
        QCOMPARE(print::open(), -1);
        QVERIFY(print::lastError().contains(QStringLiteral("PRINTOUT")));
    }

    void automaticWithoutPrinterWritesPdf()
    {
        if (print::systemHasPrinter())
            QSKIP("this system has a printer; the PDF fallback is not taken");
        QVERIFY(!print::applicationPrinter());
        print::setBackend(print::Backend::Automatic);
        const int job = print::open();
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        print::text(job, QStringLiteral("自动"), 1000, 1000);
        QCOMPARE(print::close(job), 1);
        QVERIFY(print::lastOutputFile().startsWith(QDir::current().absoluteFilePath(QStringLiteral("PRINTOUT/"))));
        QVERIFY(!wordNamed(readPdf(print::lastOutputFile()), QStringLiteral("自动")).text.isEmpty());
    }

    // A cheque-sized job: 30 texts in 3 fonts. The figures are reported, not asserted.
    void typicalJobTime()
    {
        print::setBackend(print::Backend::Pdf);
        QList<qint64> times;
        for (int round = 0; round < 5; ++round) {
            QElapsedTimer timer;
            timer.start();
            const int job = print::open();
            QVERIFY(job > 0);
            print::defineFont(job, 1, QStringLiteral("宋体"), -12, 400, 0, 5, false, false);
            print::defineFont(job, 2, QStringLiteral("黑体"), -14, 800, 0, 5, false, false);
            print::defineFont(job, 3, QStringLiteral("宋体"), -10, 400, 0, 5, false, false);
            print::setFont(job, 1);
            for (int i = 0; i < 30; ++i) {
                if (i == 10)
                    print::setFont(job, 2);
                if (i == 12)
                    print::setFont(job, 3);
                if (i == 14)
                    print::setFont(job, 1);
                const QString text = i % 3 ? QStringLiteral("中国工商银行北京分行") : QStringLiteral("1234.56");
                print::text(job, text, 500 + 200 * i, 300 + 100 * i);
            }
            print::line(job, QString());
            QCOMPARE(print::close(job), 1);
            times << timer.nsecsElapsed() / 1000;
        }
        QStringList shown;
        for (qint64 t : times)
            shown << QStringLiteral("%1 ms").arg(t / 1000.0, 0, 'f', 1);
        qInfo("typical job (30 texts, 3 fonts, PDF), open to close, 5 runs: %s", qPrintable(shown.join(u' ')));
    }

    // A PDF is written under a hidden name and takes its own only when the job is complete.
    void pdfIsNamedWhenComplete()
    {
        print::setBackend(print::Backend::Pdf);
        const int job = print::open();
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        print::text(job, QStringLiteral("完整"), 500, 500);
        const QDir folder(QStringLiteral("PRINTOUT"));
        QCOMPARE(folder.entryList(QDir::Files), QStringList());
        const QStringList writing = folder.entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(writing.size(), 1);
        QVERIFY2(writing.first().startsWith(u'.') && writing.first().endsWith(QStringLiteral(".pdf.part")),
                 qPrintable(writing.first()));
        QCOMPARE(print::close(job), 1);
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(print::lastOutputFile()).fileName()});
        QVERIFY(!wordNamed(readPdf(print::lastOutputFile()), QStringLiteral("完整")).text.isEmpty());
    }

    // The printer settings may send the application printer's pages to a PDF file: it is written aside too,
    // replaces a file of its name only when complete, and the printer keeps its file name.
    void printerOutputFileIsNamedWhenComplete()
    {
        print::setBackend(print::Backend::Automatic);
        QPrinter *printer = print::chooseApplicationPrinter();
        auto unchosen = qScopeGuard([] { print::chooseApplicationPrinter(false); });
        const QString target = QDir::current().absoluteFilePath(QStringLiteral("out.pdf"));
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(target);
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        const int job = print::open();
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        print::text(job, QStringLiteral("设定"), 500, 500);
        QVERIFY(QFile::exists(QStringLiteral(".out.pdf.part")));
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        old.close();
        QCOMPARE(print::close(job), 1);
        QCOMPARE(print::lastOutputFile(), target);
        QCOMPARE(printer->outputFileName(), target);
        QVERIFY(!QFile::exists(QStringLiteral(".out.pdf.part")));
        QVERIFY(!wordNamed(readPdf(target), QStringLiteral("设定")).text.isEmpty());
    }

    void cancelledOrFailedPdfIsRemoved_data()
    {
        QTest::addColumn<bool>("printerOutput"); // the printer settings name the file, else our own PDF
        QTest::addColumn<bool>("fails");
        QTest::newRow("own PDF, cancelled") << false << false;
        QTest::newRow("printer's PDF, cancelled") << true << false;
        QTest::newRow("printer's PDF, failed") << true << true;
    }

    void cancelledOrFailedPdfIsRemoved()
    {
        QFETCH(bool, printerOutput);
        QFETCH(bool, fails);
        auto unchosen = qScopeGuard([] { print::chooseApplicationPrinter(false); });
        const QDir folder(QStringLiteral("PRINTOUT"));
        if (printerOutput) {
            print::setBackend(print::Backend::Automatic);
            QVERIFY(folder.mkpath(QStringLiteral(".")));
            QPrinter *printer = print::chooseApplicationPrinter();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(folder.absoluteFilePath(QStringLiteral("out.pdf")));
            if (fails) // the file cannot take the name: a folder has it
                QVERIFY(folder.mkpath(QStringLiteral("out.pdf")));
        } else {
            print::setBackend(print::Backend::Pdf);
        }
        const int job = print::openPaged(QStringLiteral("长表"), {});
        QVERIFY2(job > 0, qPrintable(print::lastError()));
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                QCOMPARE(print::newPage(job), 1);
            print::text(job, QStringLiteral("第%1页").arg(page), 500, 500);
        }
        if (fails) {
            QCOMPARE(print::close(job), -1);
            QVERIFY(!print::lastError().isEmpty());
        } else {
            QCOMPARE(print::abort(job), 1);
        }
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A job ended with the program (SIGTERM part-way) leaves its hidden file only, no PDF under a normal name.
    void killedJobLeavesNoPdf()
    {
#ifdef Q_OS_UNIX
        QTemporaryDir where;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PRINT_UNTIL_KILLED"), where.path());
        env.insert(QStringLiteral("QTEST_DISABLE_STACK_DUMP"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("printsUntilKilled")});
        QVERIFY(child.waitForStarted());
        const QDir folder(QDir(where.path()).filePath(QStringLiteral("PRINTOUT")));
        auto written = [&] {
            qint64 bytes = 0;
            for (const QFileInfo &f : folder.entryInfoList(QDir::Files | QDir::Hidden))
                bytes += f.size();
            return bytes;
        };
        QTRY_VERIFY_WITH_TIMEOUT(written() > 100000 || child.state() == QProcess::NotRunning, 120000);
        QCOMPARE(child.state(), QProcess::Running);
        child.terminate();
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit); // ended by the signal
        const QStringList left = folder.entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), 1);
        QVERIFY2(left.first().startsWith(u'.') && left.first().endsWith(QStringLiteral(".pdf.part")),
                 qPrintable(left.first()));
#else
        QSKIP("SIGTERM is a Unix signal");
#endif
    }

    // The child of killedJobLeavesNoPdf: prints pages until it is killed.
    void printsUntilKilled()
    {
        const QString where = qEnvironmentVariable("PRINT_UNTIL_KILLED");
        if (where.isEmpty())
            QSKIP("run by killedJobLeavesNoPdf only");
        QVERIFY(QDir::setCurrent(where));
#ifdef Q_OS_UNIX
        std::signal(SIGTERM, SIG_DFL); // as the program takes it, not the test framework's handler
#endif
        print::setBackend(print::Backend::Pdf);
        const int job = print::openPaged(QStringLiteral("长表"), {});
        QVERIFY(job > 0);
        for (int page = 1;; ++page) {
            if (page > 1)
                QCOMPARE(print::newPage(job), 1);
            for (int line = 0; line < 50; ++line)
                print::text(job, QStringLiteral("第%1页 第%2行 中国工商银行北京分行").arg(page).arg(line), 500, 200 * line);
        }
    }

    // The reason of a failure is given in Chinese where it is known, the system's own text after it.
    void failureReasons_data()
    {
        QTest::addColumn<QString>("where");     // "folder": our PRINTOUT/ is a file; else the printer's output file
        QTest::addColumn<QString>("reason");    // the start of the message
        QTest::addColumn<int>("systemError");   // the errno whose text follows, 0: any
        QTest::newRow("folder cannot be made") << "folder" << "无法建立文件夹 " << 0;
        QTest::newRow("printer's file in no folder") << "nowhere/out.pdf" << "无法写入文件 " << ENOENT;
        QTest::newRow("printer's file name is a folder") << "taken/out.pdf" << "无法写入文件 " << EISDIR;
    }

    void failureReasons()
    {
        QFETCH(QString, where);
        QFETCH(QString, reason);
        QFETCH(int, systemError);
        auto unchosen = qScopeGuard([] { print::chooseApplicationPrinter(false); });
        if (where == QStringLiteral("folder")) {
            QFile blocker(QStringLiteral("PRINTOUT"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            print::setBackend(print::Backend::Pdf);
        } else {
            print::setBackend(print::Backend::Automatic);
            QPrinter *printer = print::chooseApplicationPrinter();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QDir::current().absoluteFilePath(where));
            if (where.startsWith(QStringLiteral("taken/")))
                QVERIFY(QDir().mkpath(where));
        }
        int result = print::open();
        if (result > 0) {
            print::text(result, QStringLiteral("原因"), 500, 500);
            result = print::close(result);
        }
        QCOMPARE(result, -1);
        const QString error = print::lastError();
        QVERIFY2(error.startsWith(reason), qPrintable(error));
        const QString system = error.section(QStringLiteral("："), -1);
        QVERIFY2(!system.isEmpty() && system != error, qPrintable(error));
        if (systemError)
            QCOMPARE(system, QString::fromLocal8Bit(std::strerror(systemError)));
    }

private:
    std::unique_ptr<Fixture> m_fixture;
};

QTEST_MAIN(tst_printjob)
#include "tst_printjob.moc"
