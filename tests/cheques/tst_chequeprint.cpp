// Slot printing of the cash cheque and its positioning hand-over: which slot, which fonts, which text at
// which pair, the long-field split, the digit row, and what the page looks like in a PDF.
#include "chequetest.h"
#include "printcalls.h"

#include "platform/printjob.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace chequetest;

namespace {
// Slot 3 gets a layout row whose every pair is told apart: pair k at (1000 + 10k, 2000 + 100k).
constexpr int kJj = 250;
QPoint pairAt(int k) { return {1000 + 10 * k, 2000 + 100 * k}; }

void setUpSlot3(Fixture &f)
{
    QStringList sets;
    for (int k = 1; k <= 19; ++k)
        sets << QStringLiteral("x%1w = %2, y%1w = %3").arg(k).arg(pairAt(k).x()).arg(pairAt(k).y());
    f.exec(QStringLiteral("UPDATE sescr SET %1, jj = %2 WHERE no = 3").arg(sets.join(u", ")).arg(kJj));
    // Fonts 11/14/9 points; splits of 8, 6, 10 and 2 bytes; second lines 101..104 below.
    f.exec("UPDATE sefonent SET sefont1 = 11, sefont2 = 14, sefont3 = 9, senter1 = 8, senter2 = 6, senter3 = 10, "
           "senter4 = 2, sehigh1 = 101, sehigh2 = 102, sehigh3 = 103, sehigh4 = 104 WHERE seno = 3");
}

// A saved sheet, ready to print in format 3.
w_xjzp *savedSheet(Fixture &f)
{
    addAccounts(f);
    setUpSlot3(f);
    g::name = QStringLiteral("王出纳");
    w_xjzp *w = openCheque();
    fillSheet(w);
    clear(w, "sle_6");
    enter(w, "sle_6", "  abc  ");
    // A stub date box keeps its blanks in the print.
    focusOn(w, "sle_2");
    w->get<QLineEdit>("sle_2")->selectAll();
    typeText(w->control("sle_2"), " 3 ");
    click(w, "rb_3");
    click(w, "cb_1");
    return w;
}

} // namespace

class tst_chequeprint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }

    void printFollowsTheFieldTable();
    void printTwiceMakesTwoJobs();
    void printWithoutAJobSaysWhy();
    void printWithoutAFormatDoesNothing();
    void pdfPlacesTheTextsAtTheirPairs();
    void positioningHandsOver();
};

void tst_chequeprint::printFollowsTheFieldTable()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = savedSheet(f);
    g::acer = 17;
    click(w, "cb_2");
    QCOMPARE(g::acer, 3);

    QStringList expected = {
        "open(银行现金支票开票)",
        "defineFont(1,宋体,-11,400,0,5,false,false)",
        "defineFont(2,黑体,-14,800,0,5,false,false)",
        "defineFont(3,宋体,-9,400,0,5,false,false)",
        "setFont(1)",
        textCall("贰零贰陆", pairAt(8)),
        textCall("零叁", pairAt(9)),
        textCall("零伍", pairAt(10)),
        textCall("工商银行北京分行", pairAt(12)), // the bank's print name
        textCall("基本户", pairAt(17)),           // the account's name on the stub
        textCall("北京市某某", pairAt(11)),       // payee split at 10 bytes
        textCall("贸易有限公司", pairAt(11), 103),
        textCall("6222020012345678", pairAt(13)),
        textCall("6222020012345678", pairAt(18)),
        "setFont(2)",
        textCall("壹仟贰佰叁拾肆元伍角陆分", pairAt(14)),
        "setFont(1)",
    };
    // The digit row of 1,234.56: nothing over 千万..十万, the mark in the 万 box, then the digits.
    const QStringList digits = {"", "", "", "￥", "1", "2", "3", "4", "5", "6"};
    for (int j = 0; j < 10; ++j)
        expected << textCall(digits.at(j), pairAt(15) + QPoint(j * kJj, 0));
    expected << textCall("2026", pairAt(1)) << textCall(" 3 ", pairAt(2)) << textCall("5", pairAt(3))
             << textCall("ab", pairAt(16)) << textCall("c", pairAt(16), 104) // blanks trimmed, split at 2
             << "setFont(3)" << textCall("北京市某", pairAt(4)) << textCall("某贸易有限公司", pairAt(4), 101)
             << "setFont(1)" << textCall("￥1,234.56", pairAt(5)) << textCall("abc", pairAt(6))
             << textCall("", pairAt(6), 102) << textCall("王出纳", pairAt(7)) << "line()" << "close()";
    const QStringList calls = recordedCalls();
    for (int i = 0; i < qMax(calls.size(), expected.size()); ++i)
        QCOMPARE(calls.value(i), expected.value(i));
    // The cheque number is printed nowhere.
    QVERIFY(!calls.join(u'|').contains(QStringLiteral("XJ001")));
    QVERIFY(enabled(w, "cb_3"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_chequeprint::printTwiceMakesTwoJobs()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = savedSheet(f);
    click(w, "cb_2");
    QVERIFY(enabled(w, "cb_3"));
    const int perJob = int(print::recorded().size());
    click(w, "cb_2");
    const QList<print::Call> calls = print::recorded();
    QCOMPARE(int(calls.size()), 2 * perJob);
    QCOMPARE(calls.at(0).op, QStringLiteral("open"));
    QCOMPARE(calls.at(perJob).op, QStringLiteral("open"));
    QVERIFY(calls.at(perJob).job != calls.at(0).job);
    QCOMPARE(calls.at(perJob - 1).op, QStringLiteral("close"));
    QCOMPARE(calls.last().op, QStringLiteral("close"));
    QVERIFY(enabled(w, "cb_2"));
}

void tst_chequeprint::printWithoutAJobSaysWhy()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = savedSheet(f);
    print::setBackend(print::Backend::Failing);
    click(w, "cb_2");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QCOMPARE(f.boxes.first().icon, msg::Icon::StopSign);
    QVERIFY(!print::lastError().isEmpty());
    QVERIFY2(f.boxes.first().text.contains(print::lastError()), qPrintable(f.boxes.first().text));
    QCOMPARE(recordedCalls(), QStringList{"open(银行现金支票开票)"}); // no font, no text
    QVERIFY(enabled(w, "cb_3"));
    QCOMPARE(g::acer, 3);
}

void tst_chequeprint::printWithoutAFormatDoesNothing()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    // Save offered again after a save, then next: save and print are reachable with no format checked.
    click(w, "rb_2");
    click(w, "cb_1");
    click(w, "cb_2");
    click(w, "rb_2");
    click(w, "cb_3");
    click(w, "cb_1");
    QVERIFY(enabled(w, "cb_2"));
    g::acer = 17;
    print::clearRecorded();
    click(w, "cb_2");
    QVERIFY(print::recorded().isEmpty());
    QCOMPARE(g::acer, 17); // no slot of an earlier print is used
    QVERIFY(!enabled(w, "cb_3"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_chequeprint::pdfPlacesTheTextsAtTheirPairs()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = savedSheet(f);
    print::setBackend(print::Backend::Pdf);
    click(w, "cb_2");
    const QString file = print::lastOutputFile();
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
    QVERIFY(file.startsWith(QDir(f.dir()).filePath(QStringLiteral("PRINTOUT"))));

    QProcess p;
    p.start(pdftotext, {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    struct Word {
        QString text;
        double x, y;
    };
    QList<Word> words;
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    // Thousandths of an inch to points: x is the left edge, y the top of the text.
    const QList<QPair<QString, QPoint>> expected = {
        {"2026", pairAt(1)},           {"贰零贰陆", pairAt(8)},
        {"工商银行北京分行", pairAt(12)}, {"基本户", pairAt(17)},
        {"北京市某某", pairAt(11)},      {"贸易有限公司", pairAt(11) + QPoint(0, 103)},
        {"6222020012345678", pairAt(13)}, {"6222020012345678", pairAt(18)},
        {"壹仟贰佰叁拾肆元伍角陆分", pairAt(14)}, {"6", pairAt(15) + QPoint(9 * kJj, 0)},
        {"王出纳", pairAt(7)},
    };
    for (const auto &[text, at] : expected) {
        const double x = at.x() * 72.0 / 1000.0, y = at.y() * 72.0 / 1000.0;
        const bool found = std::any_of(words.cbegin(), words.cend(), [&](const Word &w) {
            return w.text == text && qAbs(w.x - x) < 1.0 && qAbs(w.y - y) < 1.5;
        });
        QVERIFY2(found, qPrintable(QStringLiteral("%1 at %2,%3pt").arg(text).arg(x).arg(y)));
    }
}

void tst_chequeprint::positioningHandsOver()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = savedSheet(f);
    g::acer = 17;
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old %1").arg(slot);
    click(w, "rb_3"); // a radio alone sets no slot
    QCOMPARE(g::acer, 17);

    // The layout window does not exist yet: the hand-over is made, nothing opens.
    click(w, "cb_10");
    QCOMPARE(g::acer, 3);
    QStringList expected = {"2026", " 3 ", "5", "北京市某某贸易有限公司",
                            "1,234.56",                                     // without the mark the print adds
                            "  abc  ", "王出纳", "贰零贰陆", "零叁", "零伍", "北京市某某贸易有限公司",
                            "基本户",                                       // the account's name, not the bank's
                            "6222020012345678", "壹仟贰佰叁拾肆元伍角陆分", "", "", "", "￥", "1", "2", "3",
                            "4", "5", "6", "  abc  ", "old 26", "old 27", "old 28", "old 29", "银行现金支票开票"};
    for (int slot = 1; slot <= 30; ++slot)
        QCOMPARE(g::air[slot], expected.at(slot - 1));

    // Once registered, the cheque layout window opens without a parent.
    ui::Window *opened = nullptr;
    ui::registerWindow("w_setprint1", [&opened] { return opened = new ui::Window("w_setprint1", 2000, 1000); });
    click(w, "rb_6");
    click(w, "cb_10");
    QCOMPARE(g::acer, 6);
    QVERIFY(opened);
    QCOMPARE(ui::findWindow("w_setprint1"), opened);
    QVERIFY(!opened->opener());
    QVERIFY(ui::findWindow("w_xjzp")); // the form stays open with its values
    QCOMPARE(text(w, "sle_4"), QStringLiteral("北京市某某贸易有限公司"));
}

QTEST_MAIN(tst_chequeprint)
#include "tst_chequeprint.moc"
