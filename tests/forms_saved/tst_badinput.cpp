// Text a single-line box or a register cannot hold, pasted into a form box and into a register editor's
// cell: what the box takes, what is stored, and the message that names the box as the operator sees it.
#include "../cheques/chequetest.h"

#include "books/grid_editor.h"
#include "brevik.h"
#include "dataview/dataview.h"
#include "platform/balloon.h"
#include "platform/services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>

using namespace chequetest;

namespace {
void paste(QWidget *box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

QLineEdit *focusedEditor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

// The payment or receipt register editor ("gobank", "inbank") or the payee book ("w_skrbk") over one row,
// active, with the editor of `cell` open on that row (the focused editor); null when it does not open.
brevik::GridEditor *openOnRow(Fixture &f, const QString &window, const QString &cell)
{
    if (window == "gobank" || window == "inbank")
        f.exec(QString("INSERT INTO %1 (rq, bz, zphm, xkr, an, kpr) VALUES ('2026-03-05', '转帐支票', '001', '某某', 1, "
                       "'张')")
                   .arg(window == "gobank" ? "xjzp" : "jzd"));
    else
        f.exec("INSERT INTO skrbook (bs, skrname) VALUES ('z', '乙公司')");
    auto *w = qobject_cast<brevik::GridEditor *>(ui::openWindow(window));
    if (!w)
        return nullptr;
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w))
        return nullptr;
    w->grid()->setCurrentCell(1, cell);
    return w;
}

// The balloon at a box that tells a refused or cut input; none showing before each case.
bool noSign()
{
    balloon::hide();
    return balloon::text().isEmpty();
}

// The cash cheque's amount box, focused.
QLineEdit *amountBox(w_xjzp *w)
{
    focusOn(w, "em_1");
    return w->get<QLineEdit>("em_1");
}

class Dummy : public ui::Window {
public:
    explicit Dummy(const QString &cls) : ui::Window(cls, 1000, 500) {}
};
} // namespace

class tst_badinput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void pasted_data();
    void pasted();
    void pasteKeepsTheRestOfTheBox();
    void pasteCutToWhatFits_data();
    void pasteCutToWhatFits();
    void pasteOverTheSelection_data();
    void pasteOverTheSelection();
    void amountKeysRefused_data();
    void amountKeysRefused();
    void cellValueRefused_data();
    void cellValueRefused();
    void amountPasteSeparators_data();
    void amountPasteSeparators();
    void amountUndoTakesBackItsSeparators();
    void registerAmountTakesWhatItHolds_data();
    void registerAmountTakesWhatItHolds();
    void registerAmountStoredBeyondShowsAsItIs_data();
    void registerAmountStoredBeyondShowsAsItIs();
};

void tst_badinput::pasted_data()
{
    QTest::addColumn<QString>("target"); // the cash cheque's payee box, or the payment register's payee cell
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // what the box holds after the paste
    QTest::addColumn<QString>("stored"); // the payee stored, empty when the save was refused
    QTest::addColumn<QString>("message");

    const QString tooLong(31, QChar(u'款')); // 62 GBK bytes; the payee column holds 60
    for (const QString target : {"form", "grid"}) {
        const QString caption = target == "form" ? "收款人" : "收款人全称";
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(target + u' ' + name));
        };
        row("line breaks") << target << "line1\nline2\r\nline3" << "line1 line2 line3" << "line1 line2 line3" << "";
        row("leading break") << target << "\r\nline2" << "line2" << "line2" << "";
        row("control characters") << target << "A\tB\aC\x1b" "D\x7f" << "A BCD" << "A BCD" << "";
        row("emoji") << target << "付款😀" << "付款😀" << ""
                     << QString("“%1”中的字符“😀”（U+1F600）不在 GBK 字符集中").arg(caption);
        row("beyond GBK") << target << "𠀀公司" << "𠀀公司" << ""
                          << QString("“%1”中的字符“𠀀”（U+20000）不在 GBK 字符集中").arg(caption);
    }
    // The form box takes the long text and the save refuses it; the cell takes what its column holds.
    QTest::newRow("form over-long") << "form" << tooLong << tooLong << ""
                                    << "“收款人”的内容过长（62 字节，最多 60 字节），未保存。";
    QTest::newRow("grid over-long") << "grid" << tooLong << tooLong.left(30) << tooLong.left(30) << "";
}

void tst_badinput::pasted()
{
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    Fixture f;
    QVERIFY(f.connect());
    QString storedNow;
    if (target == "form") {
        w_xjzp *w = openCheque();
        focusOn(w, "sle_4");
        paste(w->control("sle_4"), text);
        QCOMPARE(w->textOf("sle_4"), shown);
        QTest::keyClick(w->control("sle_4"), Qt::Key_Tab);
        click(w, "rb_1");
        click(w, "cb_1");
        storedNow = f.scalar("SELECT group_concat(xkr) FROM xjzp").toString();
    } else {
        brevik::GridEditor *w = openOnRow(f, "gobank", "xkr");
        QVERIFY(w);
        QLineEdit *cell = focusedEditor();
        QVERIFY(cell);
        cell->selectAll();
        paste(cell, text);
        QCOMPARE(cell->text(), shown);
        w->get<QAbstractButton>("cb_3")->click();
        storedNow = f.scalar("SELECT group_concat(xkr) FROM xjzp").toString();
        if (stored.isEmpty())
            stored = "某某"; // a refused update leaves the row as it was
    }
    QCOMPARE(storedNow, stored);
    if (message.isEmpty()) {
        QVERIFY(f.boxes.isEmpty());
    } else {
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY2(f.boxes.first().text.contains(message), qPrintable(f.boxes.first().text));
    }
}

void tst_badinput::pasteKeepsTheRestOfTheBox()
{
    // Only the pasted part is put on one line; what stood after the cursor stays, in every kind of single-line
    // box: a plain edit, an amount box and an editable list.
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    focusOn(w, "sle_6");
    typeText(w->control("sle_6"), "AB");
    w->get<QLineEdit>("sle_6")->setCursorPosition(1);
    paste(w->control("sle_6"), "x\ny");
    QCOMPARE(w->textOf("sle_6"), QString("Ax yB"));
    // A figure copied from a spreadsheet cell comes with its line end; pasted from the box's menu.
    focusOn(w, "em_1");
    QGuiApplication::clipboard()->setText("12.50\r\n");
    w->get<QLineEdit>("em_1")->paste();
    QCOMPARE(w->textOf("em_1"), QString("12.50"));
    auto *list = w->get<ui::DropDownList>("ddlb_2");
    list->setAllowEdit(true);
    list->setFocus(Qt::MouseFocusReason);
    paste(list->lineEdit(), "基本户\t\n二");
    QCOMPARE(list->text(), QString("基本户二"));
}

void tst_badinput::pasteCutToWhatFits_data()
{
    // A box with a limit takes of a longer paste what fits, as typing would, and beeps. `kept` empty: as much
    // of the paste as the box's width shows.
    QTest::addColumn<QString>("target"); // form, grid or list
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("at"); // the cursor when pasting
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("beeps");
    const QString kuan(31, QChar(u'款')); // 62 GBK bytes
    QTest::newRow("cheque number that fits") << "form" << "sle_12" << "" << 0 << "12345" << "12345" << 0;
    QTest::newRow("purpose: its width") << "form" << "sle_6" << "" << 0 << QString(41, QChar(u'用')) << "" << 1;
    QTest::newRow("purpose after its text") << "form" << "sle_6" << "货款" << 2 << QString(41, QChar(u'x')) << ""
                                            << 1;
    QTest::newRow("payee cell: 60 GBK bytes") << "grid" << "xkr" << "" << 0 << kuan << kuan.left(30) << 1;
    QTest::newRow("payee cell: no half character") << "grid" << "xkr" << "" << 0 << "a" + kuan << "a" + kuan.left(29)
                                                   << 1;
    QTest::newRow("payee cell: in the middle") << "grid" << "xkr" << "某某" << 1 << kuan
                                               << "某" + kuan.left(28) + "某" << 1;
    QTest::newRow("operator list: 8 characters") << "list" << "ddlb_1" << "" << 0 << "administrator" << "administ" << 1;
    // A character beyond the BMP is two UTF-16 units: cut at it, the box keeps neither of them.
    QTest::newRow("operator list: no half emoji") << "list" << "ddlb_1" << "" << 0 << "abcdefg😀" << "abcdefg" << 1;
    QTest::newRow("operator list: no half extension ideograph") << "list" << "ddlb_1" << "ab" << 2 << "cdefg𠀀"
                                                                << "abcdefg" << 1;
}

void tst_badinput::pasteCutToWhatFits()
{
    QFETCH(QString, target);
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(int, at);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(int, beeps);
    Fixture f;
    QVERIFY(f.connect());
    int beeped = 0;
    services::setBeepRecorder([&beeped] { ++beeped; });
    QLineEdit *edit = nullptr;
    if (target == "form") {
        w_xjzp *w = openCheque();
        focusOn(w, box);
        edit = w->get<QLineEdit>(box);
    } else if (target == "grid") {
        QVERIFY(openOnRow(f, "gobank", box));
        edit = focusedEditor();
    } else {
        registerProgramWindows();
        ui::registerWindow("w_main", [] { return new Dummy("w_main"); });
        ui::registerWindow("w_face", [] { return new Dummy("w_face"); });
        ui::openWindow("w_face");
        ui::Window *w = ui::openWindow("w_pass");
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        auto *list = w->get<ui::DropDownList>(box);
        list->setFocus(Qt::MouseFocusReason);
        edit = list->lineEdit();
    }
    QVERIFY(edit);
    edit->setText(before);
    edit->setCursorPosition(at);
    paste(edit, pasted);
    QCOMPARE(beeped, beeps);
    if (!kept.isEmpty()) {
        QCOMPARE(edit->text(), kept);
        return;
    }
    // As much of the paste as fits: one character more would not.
    const QString in = edit->text().mid(at, edit->text().size() - before.size());
    QVERIFY2(!in.isEmpty() && in.size() < pasted.size() && pasted.startsWith(in), qPrintable(edit->text()));
    QCOMPARE(edit->text(), before.left(at) + in + before.mid(at));
    const QString full = edit->text();
    typeText(edit, pasted.left(1));
    QCOMPARE(edit->text(), full);
    QCOMPARE(beeped, beeps + 1);
}

void tst_badinput::pasteOverTheSelection_data()
{
    // The box's whole text selected, then a paste through the clipboard and the paste key. A box or cell of
    // a cheque number, an account or a code refuses what does not fit whole and keeps its value; a text box
    // holds the longest start of the pasted text that fits. Either way the balloon at the box names it and
    // its limit (`sign` empty: it fits, no balloon).
    QTest::addColumn<QString>("target"); // the cash cheque, the payment register editor, the payee book
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QStringList>("sign");
    const QString company = "某某市某某某某某某某某某某某某某某某某某某某某某某有限责任公司"; // 31 characters
    QTest::newRow("cheque number ending alike") << "form" << "sle_12" << "20180003" << "12345678901234563"
                                                << "20180003" << QStringList{"“号码”", "最多 12 位"};
    QTest::newRow("cheque number of 13 digits") << "form" << "sle_12" << "" << "1234567890123" << ""
                                                << QStringList{"“号码”", "最多 12 位"};
    QTest::newRow("cheque number that fits") << "form" << "sle_12" << "20180003" << "20180004" << "20180004"
                                             << QStringList{};
    QTest::newRow("register cheque number") << "register" << "zphm" << "20180003" << "12345678901234563"
                                            << "20180003" << QStringList{"“支票号码”", "最多 15 字节"};
    QTest::newRow("register account") << "register" << "shcode" << "0024065517277688943"
                                      << "62220212345678901234567890" << "0024065517277688943"
                                      << QStringList{"“收款人帐号”", "最多 25 字节"};
    QTest::newRow("register payee ending alike") << "register" << "xkr" << "北京某某有限责任公司" << company
                                                 << company.left(30) << QStringList{"“收款人全称”", "最多 60 字节"};
    // Two lines are no one figure: refused whole; a figure with its line end alone is taken, a text is taken
    // on one line.
    QTest::newRow("cheque number of two lines") << "form" << "sle_12" << "20180003" << "12\r\n34" << "20180003"
                                                << QStringList{"“号码”只能输入一行"};
    QTest::newRow("cheque number with its line end") << "form" << "sle_12" << "" << "12345\r\n" << "12345"
                                                     << QStringList{};
    QTest::newRow("amount of two lines") << "form" << "em_1" << "" << "12\n34" << "" << QStringList{"“金额”只能输入一行"};
    QTest::newRow("register cheque number of two lines") << "register" << "zphm" << "" << "12\n34" << ""
                                                         << QStringList{"“支票号码”只能输入一行"};
    QTest::newRow("register account of two lines") << "register" << "shcode" << "0024065517277688943" << "6222\n0212"
                                                   << "0024065517277688943" << QStringList{"“收款人帐号”只能输入一行"};
    QTest::newRow("register payee of two lines") << "register" << "xkr" << "某某" << "甲\n乙" << "甲乙"
                                                 << QStringList{"“收款人全称”只能输入一行，输入的几行已连成一行。"};
    // Two lines or two spreadsheet cells: a text box takes them on one line, Chinese ones joined directly, an
    // identifier refuses them whole; either way with the balloon. A line end or a tab around the text, as a
    // spreadsheet cell is copied, is neither.
    const QString joined = "只能输入一行，输入的几行已连成一行。";
    const QString refused = "只能输入一行，输入的内容有换行或制表符，未放入。";
    QTest::newRow("payee on two lines") << "form" << "sle_4" << "" << "北京科技\n发展有限公司" << "北京科技发展有限公司"
                                        << QStringList{"“收款人”" + joined};
    QTest::newRow("payee in words on two lines") << "form" << "sle_4" << "" << "ABC Trading\r\nCo. Ltd"
                                                 << "ABC Trading Co. Ltd" << QStringList{"“收款人”" + joined};
    QTest::newRow("payee from two cells") << "form" << "sle_4" << "" << "北京\t科技" << "北京 科技"
                                          << QStringList{"“收款人”只能输入一行，输入的制表符已换成空格。"};
    QTest::newRow("payee with its line end") << "form" << "sle_4" << "" << "北京科技\r\n" << "北京科技"
                                             << QStringList{};
    QTest::newRow("cheque number from two cells") << "form" << "sle_12" << "2018" << "12\t34" << "2018"
                                                  << QStringList{"“号码”" + refused};
    QTest::newRow("register cheque number from two cells") << "register" << "zphm" << "001" << "12\t34" << "001"
                                                           << QStringList{"“支票号码”" + refused};
    QTest::newRow("book account from two cells") << "book" << "skrcode" << "" << "12\t34" << ""
                                                 << QStringList{"“银行帐号”" + refused};
    QTest::newRow("book account with a tab after") << "book" << "skrcode" << "" << "1234\t" << "1234"
                                                   << QStringList{};
    QTest::newRow("book account with blanks and a line end") << "book" << "skrcode" << "" << " 1234 \r\n "
                                                             << " 1234 " << QStringList{};
    QTest::newRow("book account with blanks") << "book" << "skrcode" << "" << "6222 0212 3456 7890 1234 567" << ""
                                              << QStringList{"“银行帐号”", "最多 25 字节"};
    QTest::newRow("book payee, one- and two-byte") << "book" << "skrname" << "某公司Ltd"
                                                   << QString(55, QChar(u'x')) + "公司Ltd"
                                                   << QString(55, QChar(u'x')) + "公司L"
                                                   << QStringList{"“收款人全称”", "最多 60 字节"};
}

void tst_badinput::pasteOverTheSelection()
{
    QFETCH(QString, target);
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(QStringList, sign);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    QLineEdit *edit = nullptr;
    brevik::GridEditor *grid = nullptr;
    if (target == "form") {
        w_xjzp *w = openCheque();
        focusOn(w, box);
        edit = w->get<QLineEdit>(box);
    } else {
        grid = openOnRow(f, target == "register" ? "gobank" : "w_skrbk", box);
        QVERIFY(grid);
        edit = focusedEditor();
    }
    QVERIFY(edit);
    edit->setText(before);
    edit->selectAll();
    paste(edit, pasted);
    QCOMPARE(edit->text(), kept);
    if (sign.isEmpty()) {
        QCOMPARE(balloon::text(), QString());
    } else {
        QVERIFY(!balloon::text().isEmpty());
        for (const QString &words : sign)
            QVERIFY2(balloon::text().contains(words), qPrintable(balloon::text()));
    }
    if (grid) {
        // What the cell holds is what is stored, never a cut identifier.
        QTest::keyClick(edit, Qt::Key_Tab);
        grid->get<QAbstractButton>("cb_3")->click();
        const QString table = target == "register" ? "xjzp" : "skrbook";
        QCOMPARE(f.scalar(QString("SELECT %1 FROM %2").arg(box, table)).toString(), kept);
    }
}

void tst_badinput::amountKeysRefused_data()
{
    // Keys the amount box cannot take are refused one by one, each with the balloon naming the box and what
    // it takes; the keys it takes go in.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a digit past the integer places") << "123456789" << "12345678" << true;
    QTest::newRow("a digit past the decimal places") << "1.234" << "1.23" << true;
    QTest::newRow("a letter") << "1w20" << "120" << true;
    QTest::newRow("a sign") << "-5" << "5" << true;
    QTest::newRow("a second point") << "1.2.3" << "1.23" << true;
    QTest::newRow("a group separator") << "1,000" << "1000" << true;
    QTest::newRow("all taken") << "12345678.99" << "12345678.99" << false;
}

void tst_badinput::amountKeysRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, refused);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    int beeped = 0;
    services::setBeepRecorder([&beeped] { ++beeped; });
    w_xjzp *w = openCheque();
    focusOn(w, "em_1");
    typeText(w->control("em_1"), typed);
    QCOMPARE(w->textOf("em_1"), kept);
    QCOMPARE(!balloon::text().isEmpty(), refused);
    QCOMPARE(beeped > 0, refused);
    if (refused) {
        QVERIFY2(balloon::text().contains("“金额”"), qPrintable(balloon::text()));
        QVERIFY2(balloon::text().contains("8 位整数、2 位小数"), qPrintable(balloon::text()));
    }
}

void tst_badinput::cellValueRefused_data()
{
    // A register cell left with a text that is no value of its type keeps its value, and the balloon at the
    // cell says so.
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("header");
    QTest::newRow("amount with a separator in a group of one") << "an" << "1,5" << "1" << "“金额”";
    QTest::newRow("amount with a separator in a group of two") << "an" << "10,00" << "1" << "“金额”";
    QTest::newRow("date that does not exist") << "rq" << "2024.13.45" << "2026-03-05" << "“日期”";
}

void tst_badinput::cellValueRefused()
{
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, header);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    brevik::GridEditor *w = openOnRow(f, "gobank", "xkr"); // the date is the first cell: move away and back
    QVERIFY(w);
    w->grid()->setCurrentCell(1, cell);
    QLineEdit *edit = focusedEditor();
    QVERIFY(edit);
    edit->selectAll();
    typeText(edit, typed);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(!balloon::text().isEmpty());
    QVERIFY2(balloon::text().contains(header) && balloon::text().contains(typed), qPrintable(balloon::text()));
    w->get<QAbstractButton>("cb_3")->click();
    QCOMPARE(f.scalar(QString("SELECT %1 FROM xjzp").arg(cell)).toString(), stored);
}

void tst_badinput::amountPasteSeparators_data()
{
    // A figure pasted into the cheque's amount box takes group separators only between groups of three
    // before the point; any other is refused whole, the box keeping its value, with the balloon ("1,5" read
    // without it would be 15.00). `kept`: the box after the paste and Enter.
    QTest::addColumn<QString>("before"); // all selected
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("a group of one") << "" << "1,5" << "";
    QTest::newRow("a group of two") << "" << "10,00" << "";
    QTest::newRow("over a figure, the same start") << "1,000.00" << "1,00" << "1,000.00";
    QTest::newRow("groups of three") << "" << "12,345,678.90" << "12,345,678.90";
    QTest::newRow("over a figure, groups of three") << "5.00" << "1,234.5" << "1,234.50";
}

void tst_badinput::amountUndoTakesBackItsSeparators()
{
    // An undo puts back what the box held, its own separators with it, and is no input to refuse.
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    QLineEdit *edit = amountBox(openCheque());
    edit->setText("1,234.0");
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_5); // an edit before, to be undone after
    edit->setSelection(0, 2);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), "234.05");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), "1,234.05");
    QCOMPARE(balloon::text(), QString());
}

void tst_badinput::amountPasteSeparators()
{
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    w_xjzp *w = openCheque();
    QLineEdit *edit = amountBox(w);
    edit->setText(before);
    edit->selectAll();
    paste(edit, pasted);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w->textOf("em_1"), kept);
    QCOMPARE(!balloon::text().isEmpty(), kept != pasted && kept == before);
    if (!balloon::text().isEmpty())
        QVERIFY2(balloon::text().contains("“金额”"), qPrintable(balloon::text()));
}

void tst_badinput::registerAmountTakesWhatItHolds_data()
{
    // An amount cell of the register editors takes the places it shows, as the forms' amount boxes do: a third
    // place, typed or pasted, is refused with the balloon and never stored. Nor does it take more integer
    // digits than a stored amount holds exactly to the fen (13): 99999999999999.99 would be stored as
    // 99,999,999,999,999.98. `kept`: the cell after the input, `fen`: the register's amount after OK (the row
    // holds 1 before).
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("pasting"); // the cell's text selected and the input pasted over it, else typed after it
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<qint64>("fen");
    for (const QString window : {"gobank", "inbank"}) {
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(window + u' ' + name));
        };
        row("typed 12.345") << window << false << "12.345" << "12.34" << qint64(1234);
        row("typed 1.2345") << window << false << "1.2345" << "1.23" << qint64(123);
        row("pasted 12.345") << window << true << "12.345" << "1.00" << qint64(100);
        row("typed 12.34") << window << false << "12.34" << "12.34" << qint64(1234);
        row("typed 14 integer digits") << window << false << "99999999999999.99" << "9999999999999.99"
                                       << qint64(999999999999999);
        row("pasted 14 integer digits") << window << true << "99999999999999.99" << "1.00" << qint64(100);
        row("pasted 15 integer digits") << window << true << "123456789012345.07" << "1.00" << qint64(100);
        row("pasted 16 integer digits") << window << true << "999999999999999.99" << "1.00" << qint64(100);
        row("pasted 13 digits in groups") << window << true << "1,234,567,890,123.07" << "1,234,567,890,123.07"
                                          << qint64(123456789012307);
        row("typed 13 digits, negative") << window << false << "-9999999999999.99" << "-9999999999999.99"
                                         << qint64(-999999999999999);
    }
}

void tst_badinput::registerAmountTakesWhatItHolds()
{
    QFETCH(QString, window);
    QFETCH(bool, pasting);
    QFETCH(QString, input);
    QFETCH(QString, kept);
    QFETCH(qint64, fen);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    int beeped = 0;
    services::setBeepRecorder([&beeped] { ++beeped; });
    brevik::GridEditor *w = openOnRow(f, window, "an");
    QVERIFY(w);
    QLineEdit *edit = focusedEditor();
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("1.00"));
    edit->selectAll();
    if (pasting)
        paste(edit, input);
    else
        typeText(edit, input);
    QCOMPARE(edit->text(), kept);
    const bool refused = kept != input;
    QCOMPARE(beeped > 0, refused);
    QCOMPARE(!balloon::text().isEmpty(), refused);
    if (refused)
        QVERIFY2(balloon::text().contains("“金额”")
                     && balloon::text().contains("小数点前最多 13 位，小数点后最多 2 位"),
                 qPrintable(balloon::text()));
    QTest::keyClick(edit, Qt::Key_Tab);
    w->get<QAbstractButton>("cb_3")->click();
    QVERIFY(f.boxes.isEmpty());
    // In fen, as the lists add it: a double compared would pass a figure one fen off.
    QCOMPARE(f.scalar(QString("SELECT CAST(round(an * 100) AS INTEGER) FROM %1")
                          .arg(window == "gobank" ? "xjzp" : "jzd"))
                 .toLongLong(),
             fen);
}

void tst_badinput::registerAmountStoredBeyondShowsAsItIs_data()
{
    // An amount another program stored past what the cell takes shows as it is, and the operator passes
    // through its cell and saves without a word and without changing it; a key typed to it is refused.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edited"); // the cell's text in its editor
    QTest::newRow("14 integer digits") << "99999999999999.98" << "99,999,999,999,999.98" << "99999999999999.98";
    QTest::newRow("18 integer digits") << "100000000000000000" << "100,000,000,000,000,000.00"
                                       << "100000000000000000.00";
}

void tst_badinput::registerAmountStoredBeyondShowsAsItIs()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, edited);
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(noSign());
    brevik::GridEditor *w = openOnRow(f, "gobank", "xkr");
    QVERIFY(w);
    f.exec("UPDATE xjzp SET an = " + stored);
    const QString before = f.scalar("SELECT an FROM xjzp").toString();
    w->get<QAbstractButton>("cb_3")->click(); // read again
    const QList<dw::Cell> &cells = w->grid()->definition().cells;
    const auto an = std::find_if(cells.begin(), cells.end(), [](const dw::Cell &c) { return c.name == "an"; });
    QVERIFY(an != cells.end());
    QCOMPARE(w->grid()->grid()->model()->index(0, int(an - cells.begin())).data().toString(), shown);
    w->grid()->setCurrentCell(1, "an");
    QLineEdit *edit = focusedEditor();
    QVERIFY(edit);
    QCOMPARE(edit->text(), edited);
    edit->end(false);
    for (const Qt::Key key : {Qt::Key_5, Qt::Key_A}) {
        QTest::keyClick(edit, key);
        QCOMPARE(edit->text(), edited);
        QVERIFY(!balloon::text().isEmpty());
        QVERIFY(noSign());
    }
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(focusedEditor() != edit);
    w->get<QAbstractButton>("cb_3")->click();
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(balloon::text(), QString());
    QCOMPARE(f.scalar("SELECT an FROM xjzp").toString(), before);
}

QTEST_MAIN(tst_badinput)
#include "tst_badinput.moc"
