// Text a single-line box or a register cannot hold, pasted into a form box and into a register editor's
// cell: what the box takes, what is stored, and the message that names the box as the operator sees it.
#include "../cheques/chequetest.h"

#include "books/grid_editor.h"
#include "brevik.h"
#include "dataview/dataview.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace chequetest;

namespace {
void paste(QWidget *box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

QLineEdit *focusedEditor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }
} // namespace

class tst_badinput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void pasted_data();
    void pasted();
    void pasteKeepsTheRestOfTheBox();
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
        row("line breaks") << target << "line1\nline2\r\nline3" << "line1" << "line1" << "";
        row("leading break") << target << "\r\nline2" << "line2" << "line2" << "";
        row("control characters") << target << "A\tB\aC\x1b" "D\x7f" << "A BCD" << "A BCD" << "";
        row("emoji") << target << "付款😀" << "付款😀" << ""
                     << QString("“%1”中的字符“😀”（U+1F600）不在 GBK 字符集中").arg(caption);
        row("beyond GBK") << target << "𠀀公司" << "𠀀公司" << ""
                          << QString("“%1”中的字符“𠀀”（U+20000）不在 GBK 字符集中").arg(caption);
    }
    // The form box takes the long text and the save refuses it; the cell takes no more than its column.
    QTest::newRow("form over-long") << "form" << tooLong << tooLong << ""
                                    << "“收款人”的内容过长（62 字节，最多 60 字节），未保存。";
    QTest::newRow("grid over-long") << "grid" << tooLong << "某某" << "某某" << "";
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
        f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, an, kpr) VALUES ('2026-03-05', '转帐支票', '001', '某某', 1, '张')");
        auto *w = qobject_cast<brevik::GridEditor *>(ui::openWindow("gobank"));
        QVERIFY(w);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->grid()->setCurrentCell(1, "xkr");
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
    // Only the pasted part is cut to its first line; what stood after the cursor stays, in every kind of
    // single-line box: a plain edit, an amount box and an editable list.
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    focusOn(w, "sle_6");
    typeText(w->control("sle_6"), "AB");
    w->get<QLineEdit>("sle_6")->setCursorPosition(1);
    paste(w->control("sle_6"), "x\ny");
    QCOMPARE(w->textOf("sle_6"), QString("AxB"));
    // A figure copied from a spreadsheet cell comes with its line end; pasted from the box's menu.
    focusOn(w, "em_1");
    QGuiApplication::clipboard()->setText("12.50\r\n");
    w->get<QLineEdit>("em_1")->paste();
    QCOMPARE(w->textOf("em_1"), QString("12.50"));
    auto *list = w->get<ui::DropDownList>("ddlb_2");
    list->setAllowEdit(true);
    list->setFocus(Qt::MouseFocusReason);
    paste(list->lineEdit(), "基本户\t\n二");
    QCOMPARE(list->text(), QString("基本户 "));
}

QTEST_MAIN(tst_badinput)
#include "tst_badinput.moc"
