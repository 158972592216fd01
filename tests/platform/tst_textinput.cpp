// The one-line rule and the GBK test behind the refusals, and a limited box's paste through the clipboard.
#include "platform/balloon.h"
#include "platform/gbk.h"
#include "platform/textinput.h"

#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

class tst_textinput : public QObject {
    Q_OBJECT
private slots:
    void singleLine_data();
    void singleLine();
    void firstUnencodable_data();
    void firstUnencodable();
    void pasteReplacesTheSelection_data();
    void pasteReplacesTheSelection();
    void signStaysToBeRead_data();
    void signStaysToBeRead();
    void signGoesWhenRead_data();
    void signGoesWhenRead();
};

namespace {
// What a note on screen says: any tooltip window showing (the sign, whatever draws it).
QString noteOnScreen()
{
    QStringList notes;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (const auto *label = qobject_cast<QLabel *>(w);
            label && label->windowType() == Qt::ToolTip && label->isVisible())
            notes << label->text();
    return notes.join(u'\n');
}

// A box in a window of its own, as the forms hold them, that refuses a cheque number over 12 digits.
struct NumberBox {
    QWidget window;
    QLineEdit *box = new QLineEdit(&window);
    NumberBox()
    {
        box->setAccessibleName("号码");
        textinput::limitInput(box, textinput::characters(12));
        textinput::holdIdentifier(box, true);
        window.resize(320, 120);
        box->setGeometry(20, 20, 200, 24);
        window.show();
        window.activateWindow();
        box->setFocus();
    }
};
} // namespace

void tst_textinput::singleLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "北京 公司" << "北京 公司";
    QTest::newRow("LF, CRLF") << "line1\nline2\r\nline3" << "line1 line2 line3";
    QTest::newRow("CR alone") << "a\rb" << "a b";
    QTest::newRow("leading breaks") << "\r\n\r\nabc\ndef" << "abc def";
    QTest::newRow("blank first line") << "   \nabc" << "abc";
    QTest::newRow("only breaks") << "\n\r\n" << "";
    QTest::newRow("tab as a blank") << "A\tB" << "A B";
    QTest::newRow("tabs around") << "\tA B\t\r\n" << "A B";
    QTest::newRow("bell, escape, delete") << "A\aB\x1b" "C\x7f" << "ABC";
    QTest::newRow("C1 controls") << QString("A") + QChar(0x85) + "B" + QChar(0x9b) << "A B";
    QTest::newRow("line separator") << QString("甲") + QChar(0x2028) + "乙" << "甲乙";
    QTest::newRow("trailing line end") << "12.50\r\n" << "12.50";
    // Chinese lines join directly, words with one blank, whatever blanks stood at the line ends.
    QTest::newRow("a name on two lines") << "北京科技\n发展有限公司" << "北京科技发展有限公司";
    QTest::newRow("Chinese and Latin") << "北京 \n ABC 公司\nLtd. \n\n  Co." << "北京ABC 公司Ltd. Co.";
    QTest::newRow("full-width bracket") << "科技（\n北京）" << "科技（北京）";
}

void tst_textinput::singleLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(textinput::singleLine(text), line);
}

void tst_textinput::firstUnencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::newRow("ASCII") << "abc 123" << "";
    QTest::newRow("GB2312 and GBK") << "北京·—㈠" << "";
    QTest::newRow("emoji") << "付款😀好" << "😀";
    QTest::newRow("extension B") << "𠀀" << "𠀀";
    QTest::newRow("bullet") << "a•b" << "•";
}

void tst_textinput::firstUnencodable()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    QCOMPARE(gbk::firstUnencodable(text), character);
}

void tst_textinput::pasteReplacesTheSelection_data()
{
    // A paste replaces exactly what is selected; where it must be cut, the box holds the longest start of
    // the pasted text that fits, never the old text's ending after part of the new one. `sign`: what the
    // balloon at the box says, empty where nothing was cut.
    QTest::addColumn<int>("chars"); // a limit in characters, else
    QTest::addColumn<int>("bytes"); // in GBK bytes
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("from"); // the selection
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("pasted"); // "IME:" first: committed by an input method instead
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("sign");
    QTest::newRow("all selected, same last digit") << 12 << 0 << "20180003" << 0 << 8 << "12345678901234563"
                                                   << "123456789012" << "最多 12 个字符";
    QTest::newRow("middle selected, same ending") << 8 << 0 << "AB1234CD" << 2 << 4 << "xyz34" << "ABxyz3CD"
                                                  << "最多 8 个字符";
    QTest::newRow("middle selected, fits") << 8 << 0 << "AB1234CD" << 2 << 4 << "xy34" << "ABxy34CD" << "";
    QTest::newRow("two-byte text ending alike") << 0 << 16 << "某某有限责任公司" << 0 << 8
                                                << "北京市某某有限责任公司" << "北京市某某有限责"
                                                << "最多 16 字节（8 个汉字）";
    QTest::newRow("two-byte text by the input method") << 0 << 16 << "某某有限责任公司" << 0 << 8
                                                       << "IME:北京市某某有限责任公司" << "北京市某某有限责"
                                                       << "最多 16 字节（8 个汉字）";
    QTest::newRow("one- and two-byte text") << 0 << 10 << "ABC公司" << 0 << 5 << "XYZ Ltd公司" << "XYZ Ltd公"
                                            << "最多 10 字节";
    QTest::newRow("no half character") << 0 << 4 << "" << 0 << 0 << "a公司" << "a公" << "最多 4 字节";
}

void tst_textinput::pasteReplacesTheSelection()
{
    QFETCH(int, chars);
    QFETCH(int, bytes);
    QFETCH(QString, before);
    QFETCH(int, from);
    QFETCH(int, length);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(QString, sign);
    balloon::hide();
    QLineEdit box;
    textinput::limitInput(&box, chars > 0 ? textinput::characters(chars) : textinput::gbkBytes(bytes));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(before);
    box.setSelection(from, length);
    if (pasted.startsWith("IME:")) { // committed by an input method over the selection
        QInputMethodEvent commit;
        commit.setCommitString(pasted.mid(4));
        QApplication::sendEvent(&box, &commit);
    } else {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(box.text(), kept);
    if (sign.isEmpty())
        QCOMPARE(balloon::text(), QString());
    else
        QVERIFY2(balloon::text().contains(sign), qPrintable(balloon::text()));
}

void tst_textinput::signStaysToBeRead_data()
{
    QTest::addColumn<bool>("menu"); // pasted from the box's context menu, else with Ctrl+V
    QTest::newRow("Ctrl+V") << false;
    QTest::newRow("context menu") << true;
}

void tst_textinput::signStaysToBeRead()
{
    // The operator must see the sign without the beep: on a desktop (the xcb run of this test) it stays to
    // be read, whatever the pointer, the focus or a closing menu do, and goes after its time.
    QFETCH(bool, menu);
    balloon::hide();
    NumberBox form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    const QPoint inBox = form.box->rect().center();
    QCursor::setPos(form.box->mapToGlobal(inBox)); // the pointer rests on the box, as after a click into it
    QGuiApplication::clipboard()->setText("1234567890123");
    if (menu) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, inBox, form.box->mapToGlobal(inBox));
        QApplication::sendEvent(form.box, &click);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        const QList<QAction *> actions = popup->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(),
                                        [](QAction *a) { return a->text().remove(u'&').startsWith("Paste"); });
        QVERIFY(paste != actions.end());
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(*paste).center());
    } else {
        QTest::keyClick(form.box, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(form.box->text(), QString());
    const QString sign = "“号码”最多 12 个字符，输入的内容放不下，未放入。";
    QVERIFY2(noteOnScreen().contains(sign), qPrintable(noteOnScreen()));
    QTest::qWait(1000);
    QVERIFY2(noteOnScreen().contains(sign), qPrintable(noteOnScreen()));
    QTRY_VERIFY_WITH_TIMEOUT(noteOnScreen().isEmpty(), balloon::kShownFor + 1000);
}

void tst_textinput::signGoesWhenRead_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("window moved") << "move";
    QTest::newRow("window closed") << "close";
    QTest::newRow("box destroyed") << "destroy";
    QTest::newRow("another sign") << "another";
}

void tst_textinput::signGoesWhenRead()
{
    QFETCH(QString, then);
    balloon::hide();
    NumberBox form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    QGuiApplication::clipboard()->setText("1234567890123");
    QTest::keyClick(form.box, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!noteOnScreen().isEmpty());
    if (then == "move") {
        form.window.move(form.window.pos() + QPoint(40, 30));
    } else if (then == "close") {
        form.window.close();
    } else if (then == "destroy") {
        delete form.box;
    } else {
        NumberBox other;
        QTest::keyClick(other.box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(noteOnScreen().count("“号码”"), 1); // one at a time
        return;
    }
    QTRY_COMPARE(noteOnScreen(), QString());
}

QTEST_MAIN(tst_textinput)
#include "tst_textinput.moc"
