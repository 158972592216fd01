// Printing the register editors, the search grid and the lists: one job on the current printer for all pages,
// the progress dialog with the page count and a cancel that stops the job, and "错误!" when it cannot start.
#include "fixture.h"
#include "printedpages.h"

#include "books/grid_editor.h"
#include "books/w_cabank.h"
#include "books/w_search.h"
#include "brevik.h"
#include "dataview/dataview.h"
#include "platform/controls.h"
#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/window.h"
#include "windowmanager.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTableView>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {
// Three pages and more of the widest grid, drawn small to fit the paper, and more rows than a retrieve first reads.
constexpr int kRows = 480;

void addRows(Fixture &f, int count)
{
    // Payee i on day i % 20 of March, cheque 1000 + i, amount i; one statement per register.
    for (const char *table : {"xjzp", "jzd"})
        f.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                       "INSERT INTO %1 (rq, bz, zphm, xkr, shbank, fkhm, an, kpr) "
                       "SELECT date('2026-03-01', '+' || (i % 20) || ' days'), '转帐支票', 1000 + i, '收款人' || i, "
                       "'甲行', '甲行', i, '张' FROM n")
                   .arg(table),
               {count});
}

// Opens a window and gets its rows on screen the way the operator does; returns its print button.
QPushButton *openWithRows(const QString &window)
{
    auto *w = ui::openWindow(window);
    if (!w)
        return nullptr;
    if (auto *search = qobject_cast<w_search *>(w)) {
        search->get<ui::DropDownList>("ddlb_1")->selectItem(QStringLiteral("金额"));
        search->get<ui::DropDownList>("ddlb_2")->selectItem(QStringLiteral(">"));
        search->get<ui::SingleLineEdit>("sle_1")->setText(QStringLiteral("0"));
        search->get<QPushButton>("cb_1")->click();
        return search->get<QPushButton>("cb_3");
    }
    if (auto *list = qobject_cast<w_cabank *>(w)) {
        list->get<ui::EditMask>("em_2")->setTextByCode(QStringLiteral("2026-01-01"));
        list->get<ui::EditMask>("em_1")->setTextByCode(QStringLiteral("2026-12-31"));
        list->get<QPushButton>("cb_3")->click();
        return list->get<QPushButton>("cb_1");
    }
    return w->get<QPushButton>(QStringLiteral("cb_5"));
}

// Widens the grid's columns named by their headers, as the operator drags their edges: header -> pixels more.
void widenColumns(QWidget *window, const QList<QPair<QString, int>> &wider)
{
    auto *view = window->findChild<dw::DataView *>();
    QVERIFY(view);
    QHeaderView *header = view->grid()->horizontalHeader();
    for (const auto &[name, pixels] : wider) {
        int section = 0;
        while (section < view->definition().cells.size() && view->definition().cells.at(section).header != name)
            ++section;
        QVERIFY2(section < view->definition().cells.size(), qPrintable(name));
        header->resizeSection(section, header->sectionSize(section) + pixels);
    }
}

// Prints a window's grid as the operator does: its rows on screen, its columns widened, its print button; the
// PDF kept in GRAB_DIR where it is set.
void printWidened(const QString &window, const QList<QPair<QString, int>> &widened, const char *name,
                  const QVariant &typedAmount = {})
{
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    widenColumns(button->window(), widened);
    // An amount the operator typed in the first row and did not save.
    if (!typedAmount.isNull())
        QCOMPARE(button->window()->findChild<dw::DataView *>()->setItem(1, "an", typedAmount), 1);
    button->click();
    if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
        QFile::copy(print::lastOutputFile(), QDir(dir).filePath(window + u'_' + QLatin1String(name) + ".pdf"));
}

// The printed rows of a page, top to bottom, each its texts left to right; the headings and the page's foot
// left out.
QList<QStringList> printedRows(const dw::PrintedPage &page)
{
    QMap<int, QMap<int, QString>> rows;
    for (const dw::PrintedText &t : page.texts)
        if (!t.fixed && !t.text.isEmpty())
            rows[t.rect.y()][t.rect.x()] = t.text;
    QList<QStringList> out;
    for (const auto &row : std::as_const(rows))
        out << row.values();
    return out;
}

QStringList pdfFiles(const Fixture &f) { return QDir(f.dir() + "/PRINTOUT").entryList({"*.pdf"}, QDir::Files); }

int pdfPageCount(const QString &file)
{
    QProcess p;
    p.start("pdfinfo", {file});
    p.waitForFinished(30000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}
} // namespace

class tst_printing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup()
    {
        closeOpenWindows();
    }
    void windows_data();
    void oneJobForAllPages_data() { windows_data(); }
    void oneJobForAllPages();
    void cancelStopsTheJob_data() { windows_data(); }
    void cancelStopsTheJob();
    void jobThatCannotStartIsReported_data() { windows_data(); }
    void jobThatCannotStartIsReported();
    void printedTypeIsReadable_data();
    void printedTypeIsReadable();
    void closeDuringThePrint_data();
    void closeDuringThePrint();
    void figuresPrintWhole_data();
    void figuresPrintWhole();
    void continuedPagesKeepTheirRowNumbers_data();
    void continuedPagesKeepTheirRowNumbers();
    void figuresKeepOffTheNextColumn_data();
    void figuresKeepOffTheNextColumn();
};

void tst_printing::windows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("firstText"); // what the top of every page shows first
    QTest::newRow("receipt register") << "inbank" << "编号";
    QTest::newRow("payment register") << "gobank" << "编号";
    QTest::newRow("search") << "w_search" << "line";
    QTest::newRow("payment list") << "w_cabank" << "支出明细表";
    QTest::newRow("receipt list") << "w_cdbank" << "收入明细表";
}

void tst_printing::oneJobForAllPages()
{
    QFETCH(QString, window);
    QFETCH(QString, firstText);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, kRows);
    PrintedPages printed(print::Backend::Pdf);
    QStringList labels;
    dw::setPrintProgressHook([&](QProgressDialog &dialog, int) { labels << dialog.labelText(); });
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    button->click();

    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(printed.documents.size(), 1);
    const QList<dw::PrintedPage> &pages = printed.documents.first().pages;
    // One PDF with every page, each page starting with the headings; every row printed once.
    const QStringList files = pdfFiles(f);
    QCOMPARE(files.size(), 1);
    QVERIFY(pages.size() >= 3);
    const QString file = f.dir() + "/PRINTOUT/" + files.first();
    QCOMPARE(pdfPageCount(file), int(pages.size()));
    if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
        QFile::copy(file, QDir(dir).filePath(window + ".pdf"));
    QStringList all;
    for (const dw::PrintedPage &page : pages) {
        const QStringList texts = PrintedPages::texts(page);
        QCOMPARE(texts.value(0), firstText);
        all << texts;
    }
    for (int i = 1; i <= kRows; ++i)
        QCOMPARE(all.count(QStringLiteral("收款人%1").arg(i)), 1);
    // The dialog tells the page count.
    QVERIFY(!labels.isEmpty());
    QVERIFY2(labels.first().contains(QStringLiteral("共 %1 页").arg(pages.size())), qPrintable(labels.first()));
}

void tst_printing::cancelStopsTheJob()
{
    QFETCH(QString, window);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, kRows);
    PrintedPages printed(print::Backend::Pdf);
    dw::setPrintProgressHook([&](QProgressDialog &dialog, int page) {
        QVERIFY(dialog.isVisible() && dialog.isModal());
        if (page == 2)
            QTest::mouseClick(dialog.findChild<QPushButton *>(), Qt::LeftButton);
    });
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    button->click();

    // No page after the cancel, no file left, and a cancel is no failure.
    QCOMPARE(printed.documents.value(0).pages.size(), 2);
    QVERIFY(pdfFiles(f).isEmpty());
    QVERIFY(f.boxes.isEmpty());
}

void tst_printing::jobThatCannotStartIsReported()
{
    QFETCH(QString, window);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, 3);
    PrintedPages printed(print::Backend::Failing);
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    button->click();

    QVERIFY(printed.documents.isEmpty());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QVERIFY2(f.boxes.first().text.startsWith(QStringLiteral("打印未能开始：")), qPrintable(f.boxes.first().text));
    QCOMPARE(f.boxes.first().icon, msg::Icon::StopSign);
}

void tst_printing::closeDuringThePrint_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("closer");
    QTest::addColumn<bool>("cancels");      // the print stops, no file left
    QTest::addColumn<bool>("windowCloses"); // once the print has returned
    for (const char *window : {"inbank", "gobank", "w_search", "w_cabank", "w_cdbank"})
        QTest::addRow("%s: progress box, then the window", window) << window << "progress box, then window" << true
                                                                   << true;
    // The window manager's closes: the progress box's close box cancels; the window under the modal progress box
    // never gets its close (Qt drops it), so a close of the window alone lets the print run to its end.
    QTest::newRow("inbank: both by the window manager") << "inbank" << "progress box by the window manager, then window"
                                                        << true << false;
    QTest::newRow("inbank: the window alone by the window manager") << "inbank" << "window manager" << false << false;
    QTest::newRow("inbank: its 退出") << "inbank" << "退出" << true << true;
    QTest::newRow("inbank: the window's close by the program") << "inbank" << "window" << true << true;
    QTest::newRow("inbank: a signal's halt") << "inbank" << "halt" << true << false;
    QTest::newRow("inbank: the main window's end") << "inbank" << "halt-close" << true << false;
}

void tst_printing::closeDuringThePrint()
{
    // Closes that arrive while the progress dialog's events are processed: nothing is deleted under the print;
    // a close that reaches the window stops the print, and the window closes (or the program ends) once the
    // print has returned.
    QFETCH(QString, window);
    QFETCH(QString, closer);
    QFETCH(bool, cancels);
    QFETCH(bool, windowCloses);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, kRows);
    PrintedPages printed(print::Backend::Pdf);
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    QPointer<QWidget> w = button->window();
    bool closed = false;
    bool progressShownAfterItsClose = true;
    QTimer::singleShot(0, [&] {
        auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        QVERIFY(progress);
        closed = true;
        const bool windowManager = closer.contains("window manager");
        if (closer.startsWith("progress box")) {
            if (windowManager)
                closeByWindowManager(progress);
            else
                progress->close();
            progressShownAfterItsClose = progress->isVisible();
        }
        if (windowManager)
            closeByWindowManager(w);
        else if (closer.endsWith("window"))
            w->close();
        else if (closer == "退出")
            qobject_cast<ui::Window *>(w.data())->get<QPushButton>("cb_4")->click();
        else if (closer == "halt")
            services::halt();
        else if (closer == "halt-close")
            services::haltClose();
    });
    button->click();

    // The print has returned, no box; the window still there.
    QVERIFY(closed);
    QVERIFY(progressShownAfterItsClose);
    QCOMPARE(pdfFiles(f).size(), cancels ? 0 : 1);
    QCOMPARE(printed.documents.value(0).pages.size() < 2, cancels);
    QVERIFY(f.boxes.isEmpty());
    QVERIFY(w);
    QVERIFY(f.halts.isEmpty());
    if (closer.startsWith("halt")) {
        QTRY_COMPARE(f.halts, QList<bool>{closer == "halt-close"});
    } else if (windowCloses) {
        QTRY_VERIFY(!w);
    } else {
        QTest::qWait(100);
        QVERIFY(w && w->isVisible());
    }
    // The next exit leaves one file.
    closeOpenWindows();
    QSqlDatabase::database("fixture-direct", false).close();
    db::Transaction::disconnectAll();
    for (const char *suffix : {"-wal", "-shm"})
        QVERIFY(!QFile::exists(f.databasePath() + suffix));
}

QTEST_MAIN(tst_printing)
void tst_printing::printedTypeIsReadable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("amount"); // as the grid shows it
    QTest::newRow("receipt register") << "inbank" << "99,999,999.99";
    QTest::newRow("payment register") << "gobank" << "99,999,999.99";
    QTest::newRow("search") << "w_search" << "99999999.99";
}

// A grid's print a cashier can read: every text on the paper at 6 points or more, a figure drawn smaller to fit
// its column at 5 or more; the widest cheque numbers and accounts whole.
void tst_printing::printedTypeIsReadable()
{
    QFETCH(QString, window);
    QFETCH(QString, amount);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, 3);
    const QString cheque = QStringLiteral("123456789012345"), account = QStringLiteral("6222021234567890123456789");
    for (const char *table : {"xjzp", "jzd"})
        f.exec(QString("INSERT INTO %1 (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr) VALUES "
                       "('2026-03-06', '转帐支票', ?, '甲', '工商银行', ?, '货款', 99999999.99, '建设银行', ?, '张')")
                   .arg(table),
               {cheque, account, account});
    PrintedPages printed(print::Backend::Pdf);
    QPushButton *button = openWithRows(window);
    QVERIFY(button);
    button->click();
    QVERIFY(f.boxes.isEmpty());
    if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
        QFile::copy(print::lastOutputFile(), QDir(dir).filePath(window + "_type.pdf"));
    // The size of a word's type: its width on the paper against its advance in the grid's face at 1 point. A
    // figure is in the grid's type; another word may be a heading (bold): the narrower reading is taken.
    const dw::Definition &def = button->window()->findChild<dw::DataView *>()->definition();
    auto advance = [&](const QString &text, int weight) {
        QFont font = services::font(def.font.face, def.font.points, weight);
        font.setPixelSize(1000);
        return QFontMetricsF(font).horizontalAdvance(text) / 1000;
    };
    static const QRegularExpression figure(QStringLiteral("^[-0-9,.#]+$"));
    const QList<PdfWord> words = pdfWords(print::lastOutputFile());
    QVERIFY(!words.isEmpty());
    QStringList all;
    for (const PdfWord &w : words) {
        const bool isFigure = figure.match(w.text).hasMatch();
        const qreal points = w.box.width() / (isFigure ? advance(w.text, 400) : qMax(advance(w.text, 400),
                                                                                       advance(w.text, 700)));
        const qreal least = isFigure ? 5 : 6;
        QVERIFY2(points >= least - 0.05, qPrintable(QStringLiteral("%1 at %2 pt").arg(w.text).arg(points)));
        all << w.text;
    }
    for (const QString &whole : {cheque, account, amount})
        QVERIFY2(all.contains(whole), qPrintable(whole + QStringLiteral(" not whole in: ") + all.join(u'|')));
}

using Widened = QList<QPair<QString, int>>;

void tst_printing::figuresPrintWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Widened>("widened");
    QTest::addColumn<QStringList>("cheques");
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QStringList>("whole"); // as the paper must show them
    QTest::addColumn<QVariant>("typed");    // an amount typed in the first row, not saved
    const QString account = QStringLiteral("6222021234567890123456789");
    QTest::newRow("receipt register, the largest amounts")
        << "inbank" << Widened{} << QStringList{"1001"}
        << QList<double>{1000000000.0, -100000000.0, 9999999999999.99, -9999999999999.99}
        << QStringList{"1,000,000,000.00", "-100,000,000.00", "9,999,999,999,999.99", "-9,999,999,999,999.99", account}
        << QVariant();
    QTest::newRow("receipt register, the widest amount typed") << "inbank" << Widened{} << QStringList{"1001"}
                                                                << QList<double>{5.0}
                                                                << QStringList{"-9,999,999,999,999.99", account}
                                                                << QVariant(-9999999999999.99);
    QTest::newRow("search, 13 integer digits and a cheque number another program stored")
        << "w_search" << Widened{} << QStringList{"12345678901234567890"} << QList<double>{1234567890123.45}
        << QStringList{"1234567890123.45", "12345678901234567890", account} << QVariant();
    // Columns the operator widened to read them: the grid goes on to a second page rather than marking figures.
    QTest::newRow("payment register, columns widened")
        << "gobank" << Widened{{"收款人全称", 240}, {"支票号码", 160}} << QStringList{"1001"}
        << QList<double>{12345678.9, 87654321.0} << QStringList{"12,345,678.90", "87,654,321.00", account}
        << QVariant();
}

// Every figure a register or the search holds prints whole: no cell of the paper is marked with '#'.
void tst_printing::figuresPrintWhole()
{
    QFETCH(QString, window);
    QFETCH(Widened, widened);
    QFETCH(QStringList, cheques);
    QFETCH(QList<double>, amounts);
    QFETCH(QStringList, whole);
    QFETCH(QVariant, typed);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, 30);
    for (const QString &cheque : cheques)
        for (const double amount : amounts)
            for (const char *table : {"xjzp", "jzd"})
                f.exec(QString("INSERT INTO %1 (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr) VALUES "
                               "('2026-03-06', '转帐支票', ?, '甲', '工商银行', ?, '货款', ?, '建设银行', ?, '张')")
                           .arg(table),
                       {cheque, whole.last(), amount, whole.last()});
    PrintedPages printed(print::Backend::Pdf);
    printWidened(window, widened, "whole", typed);
    QVERIFY(!QTest::currentTestFailed() && f.boxes.isEmpty());
    QStringList words;
    for (const PdfWord &w : pdfWords(print::lastOutputFile()))
        words << w.text;
    QVERIFY(!words.isEmpty());
    QVERIFY2(!words.join(u' ').contains(u'#'), qPrintable(words.join(u'|')));
    for (const QString &figure : whole)
        QVERIFY2(words.contains(figure), qPrintable(figure + QStringLiteral(" not whole in: ") + words.join(u'|')));
}

void tst_printing::continuedPagesKeepTheirRowNumbers_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Widened>("widened");
    QTest::newRow("payment register: its row numbers")
        << "gobank" << Widened{{"收款人全称", 900}, {"用途", 600}, {"付款行名", 600}};
    QTest::newRow("receipt register: its row numbers")
        << "inbank" << Widened{{"销售商名称", 900}, {"付款行名", 600}, {"收款行名", 600}};
    QTest::newRow("search: the line numbers") << "w_search" << Widened{{"xkr", 900}, {"et", 600}, {"fkhm", 600}};
}

// A grid wider than the paper at its least type goes on to the pages after: every page across a page of rows
// shows the same rows' numbers at its left, and every page its number and the count.
void tst_printing::continuedPagesKeepTheirRowNumbers()
{
    QFETCH(QString, window);
    QFETCH(Widened, widened);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, 70);
    PrintedPages printed(print::Backend::Pdf);
    printWidened(window, widened, "continued");
    QVERIFY(!QTest::currentTestFailed() && f.boxes.isEmpty());
    QCOMPARE(printed.documents.size(), 1);
    const QList<dw::PrintedPage> &pages = printed.documents.first().pages;
    QList<QStringList> numbersOfPages;
    for (int p = 0; p < pages.size(); ++p) {
        QStringList numbers;
        for (const QStringList &row : printedRows(pages.at(p)))
            numbers << row.first();
        numbersOfPages << numbers;
        const QString pageText = QStringLiteral("第 %1 页,共 %2 页").arg(p + 1).arg(pages.size());
        QVERIFY2(PrintedPages::texts(pages.at(p)).contains(pageText), qPrintable(pageText));
    }
    // Each page of rows is printed across two pages or more, each showing the numbers of its rows; together
    // the pages number every row once, in order.
    QStringList each;
    int across = 0;
    for (int p = 0; p < numbersOfPages.size(); ++p) {
        if (p > 0 && numbersOfPages.at(p) == numbersOfPages.at(p - 1)) {
            ++across;
            continue;
        }
        QVERIFY2(p == 0 || across > 0, qPrintable(numbersOfPages.at(p).join(u' ')));
        across = 0;
        each << numbersOfPages.at(p);
    }
    QVERIFY(across > 0);
    QCOMPARE(each.size(), 70);
    for (int i = 0; i < each.size(); ++i)
        QCOMPARE(each.at(i).toInt(), i + 1);
}

void tst_printing::figuresKeepOffTheNextColumn_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("amount"); // as the paper shows it
    QTest::addColumn<QString>("bank");
    QTest::newRow("receipt register") << "inbank" << "27,018.04" << "ABC Bank";
    QTest::newRow("payment register") << "gobank" << "27,018.04" << "ABC Bank";
    QTest::newRow("search") << "w_search" << "27018.04" << "ABC Bank";
    QTest::newRow("search, a small amount") << "w_search" << "0.29" << "农业银行";
}

// A right-aligned amount and the bank name in the next column read as two words on paper, a gap between them
// as on screen.
void tst_printing::figuresKeepOffTheNextColumn()
{
    QFETCH(QString, window);
    QFETCH(QString, amount);
    QFETCH(QString, bank);
    Fixture f;
    QVERIFY(f.connect());
    addRows(f, 3);
    for (const char *table : {"xjzp", "jzd"})
        f.exec(QString("UPDATE %1 SET an = ?, fkhm = ?").arg(table), {QString(amount).remove(u',').toDouble(), bank});
    PrintedPages printed(print::Backend::Pdf);
    printWidened(window, {}, "gap");
    QVERIFY(!QTest::currentTestFailed() && f.boxes.isEmpty());
    const QList<PdfWord> words = pdfWords(print::lastOutputFile());
    const QString first = bank.section(u' ', 0, 0);
    int pairs = 0;
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        QVERIFY2(!words.at(i).text.startsWith(amount + first.left(1)), qPrintable(words.at(i).text));
        if (words.at(i).text != amount || words.at(i + 1).text != first)
            continue;
        ++pairs;
        // At least a point between them; the grids print their type at 6 points or more.
        const qreal gap = words.at(i + 1).box.left() - words.at(i).box.right();
        QVERIFY2(gap >= 1, qPrintable(QString::number(gap)));
    }
    QCOMPARE(pairs, 3);
}

#include "tst_printing.moc"
