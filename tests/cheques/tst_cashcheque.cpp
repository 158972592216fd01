// The cash cheque form on the screen: its open, the button states of a sheet, the amount in capitals,
// Enter as Tab, the lookups and echoes, the next-sheet reset and the exit.
#include "chequetest.h"

#include "platform/post.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/units.h"

using namespace chequetest;

class tst_cashcheque : public QObject {
    Q_OBJECT
private slots:
    void init() { print::setBackend(print::Backend::Recording); }

    void openPreparesTheFirstSheet();
    void dateInFiguresAndCapitals_data();
    void dateInFiguresAndCapitals();
    void formatCaptionsTakeTheSlotAfterThePreviousRow_data();
    void formatCaptionsTakeTheSlotAfterThePreviousRow();
    void buttonStatesFollowTheSheet();
    void amountFillsDigitBoxesAndCapitals_data();
    void amountFillsDigitBoxesAndCapitals();
    void enterMovesAlongTheTabOrder();
    void escapeClosesOnlyThisForm();
    void accountChoice();
    void remarkLookup();
    void payeeLookupAndMirror();
    void numberEcho();
    void nextSheetClearsTheSheet();
};

void tst_cashcheque::openPreparesTheFirstSheet()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    g::name = QStringLiteral("张会计");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("left %1").arg(slot);
    w_xjzp *w = openCheque();
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), QStringLiteral("银行现金支票开票"));
    QCOMPARE(w->size(), QSize(units::toPixelsX(3579), units::toPixelsY(1744)));
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(text(w, "sle_26"), QStringLiteral("张会计"));
    // The own accounts in the order read, none chosen.
    auto *list = w->get<ui::DropDownList>("ddlb_2");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("基本户"));
    QCOMPARE(list->itemText(1), QStringLiteral("一般户"));
    QCOMPARE(list->text(), QString());
    QCOMPARE(g::kk, QStringLiteral("一般户"));
    const QStringList captions = {"格式一", "格式二", "格式三", "格式四", "格式五", "格式六", "格式七"};
    for (int k = 1; k <= 7; ++k) {
        auto *radio = w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k));
        QCOMPARE(radio->text(), captions.at(k - 1));
        QVERIFY(!radio->isChecked());
    }
    QCOMPARE(QApplication::focusWidget(), w->control("sle_12"));
    // Picker slots 1..6 and 8 are emptied; 7 and 9 keep what an earlier form left.
    for (int slot : {1, 2, 3, 4, 5, 6, 8})
        QVERIFY2(g::dnname[slot].isEmpty(), qPrintable(QString::number(slot)));
    QCOMPARE(g::dnname[7], QStringLiteral("left 7"));
    QCOMPARE(g::dnname[9], QStringLiteral("left 9"));
    for (const char *b : {"cb_1", "cb_10", "cb_2", "cb_3"})
        QVERIFY2(!enabled(w, b), b);
    QVERIFY(enabled(w, "cb_4"));
    QVERIFY(w->control("st_46")->isHidden() && w->control("rr_2")->isHidden());
    QCOMPARE(w->controlNames().size(), 96);
}

void tst_cashcheque::dateInFiguresAndCapitals_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<QStringList>("capitals");
    QTest::newRow("2026-03-05") << QDate(2026, 3, 5) << QStringList{"2026", "3", "5"}
                                << QStringList{"贰零贰陆", "零叁", "零伍"};
    // 零 before 壹拾 and the round tens of the day, so that nothing can be written in front.
    QTest::newRow("2009-10-20") << QDate(2009, 10, 20) << QStringList{"2009", "10", "20"}
                                << QStringList{"贰零零玖", "零壹拾", "零贰拾"};
    QTest::newRow("2030-12-31") << QDate(2030, 12, 31) << QStringList{"2030", "12", "31"}
                                << QStringList{"贰零叁零", "壹拾贰", "叁拾壹"};
    QTest::newRow("2011-11-15") << QDate(2011, 11, 15) << QStringList{"2011", "11", "15"}
                                << QStringList{"贰零壹壹", "壹拾壹", "壹拾伍"};
}

void tst_cashcheque::dateInFiguresAndCapitals()
{
    QFETCH(QDate, today);
    QFETCH(QStringList, figures);
    QFETCH(QStringList, capitals);
    Fixture f;
    QVERIFY(f.connect());
    services::setClock([today] { return QDateTime(today, QTime(8, 0)); });
    w_xjzp *w = openCheque();
    QCOMPARE(g::rq, today);
    QCOMPARE((QStringList{text(w, "sle_1"), text(w, "sle_2"), text(w, "sle_3")}), figures);
    QCOMPARE((QStringList{text(w, "sle_5"), text(w, "sle_7"), text(w, "sle_8")}), capitals);
}

void tst_cashcheque::formatCaptionsTakeTheSlotAfterThePreviousRow_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("captions");
    // A gap: the row after it takes the slot after the previous prid, the slot of its own prid stays empty.
    QTest::newRow("gap") << QList<int>{1, 2, 4, 5, 6, 7} << QStringList{"A", "B", "D", "E", "F", "G"}
                         << QStringList{"A", "B", "D", "", "E", "F", "G"};
    QTest::newRow("out of order") << QList<int>{2, 1, 3} << QStringList{"B", "A", "C"}
                                  << QStringList{"B", "C", "A", "", "", "", ""};
    // A row whose slot would lie past the list is dropped.
    QTest::newRow("beyond the list") << QList<int>{1, 9, 3} << QStringList{"A", "I", "C"}
                                     << QStringList{"A", "I", "", "", "", "", ""};
    QTest::newRow("none") << QList<int>{} << QStringList{} << QStringList{"", "", "", "", "", "", ""};
}

void tst_cashcheque::formatCaptionsTakeTheSlotAfterThePreviousRow()
{
    QFETCH(QList<int>, ids);
    QFETCH(QStringList, names);
    QFETCH(QStringList, captions);
    Fixture f;
    // Without a key the rows come back in the order they were stored.
    f.exec("DROP TABLE prsz");
    f.exec("CREATE TABLE prsz (prid INTEGER, psname TEXT, bz TEXT)");
    for (int i = 0; i < ids.size(); ++i)
        f.exec("INSERT INTO prsz (prid, psname, bz) VALUES (?, ?, '')", {ids.at(i), names.at(i)});
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    QStringList shown;
    for (int k = 1; k <= 7; ++k)
        shown << text(w, QStringLiteral("rb_%1").arg(k));
    QCOMPARE(shown, captions);
}

void tst_cashcheque::buttonStatesFollowTheSheet()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_xjzp *w = openCheque();
    fillSheet(w);
    auto states = [w] {
        QString s;
        for (const char *b : {"cb_1", "cb_10", "cb_2", "cb_3", "cb_4"})
            s += enabled(w, b) ? u'1' : u'0';
        return s + (markShown(w) ? u'M' : u'-');
    };
    QCOMPARE(states(), QStringLiteral("00001-"));
    click(w, "rb_3");
    QCOMPARE(states(), QStringLiteral("11001-"));
    QVERIFY(w->get<ui::RadioButton>("rb_3")->isChecked());
    click(w, "rb_3"); // the checked one again: the same
    QCOMPARE(states(), QStringLiteral("11001-"));
    click(w, "cb_1");
    QCOMPARE(states(), QStringLiteral("01101M"));
    click(w, "cb_2");
    QCOMPARE(states(), QStringLiteral("01111M"));
    click(w, "cb_2"); // print stays enabled until the next sheet
    QCOMPARE(states(), QStringLiteral("01111M"));
    click(w, "rb_5"); // a format clicked after the save offers the save again
    QCOMPARE(states(), QStringLiteral("11111M"));
    click(w, "cb_3");
    // Next leaves the save as it was: enabled here, although no format is checked any longer.
    QCOMPARE(states(), QStringLiteral("10001-"));
    for (int k = 1; k <= 7; ++k)
        QVERIFY(!w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k))->isChecked());
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
}

void tst_cashcheque::amountFillsDigitBoxesAndCapitals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("1234.56") << "1234.56" << "1,234.56" << 1234.56 << "_ _ _ ￥ 1 2 3 4 5 6"
                             << "壹仟贰佰叁拾肆元伍角陆分";
    QTest::newRow("0.05") << ".05" << "0.05" << 0.05 << "_ _ _ _ _ _ _ ￥ _ 5" << "元伍分";
    QTest::newRow("10005000") << "10005000" << "10,005,000.00" << 10005000.0 << "1 0 0 0 5 0 0 0 0 0"
                              << "壹仟万伍仟元整";
    QTest::newRow("1.13") << "1.13" << "1.13" << 1.13 << "_ _ _ _ _ _ ￥ 1 1 3" << "壹元壹角叁分";
}

void tst_cashcheque::amountFillsDigitBoxesAndCapitals()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);
    QFETCH(QString, boxes);
    QFETCH(QString, capitals);
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    // A longer amount first: the boxes above the new amount's highest digit must not keep its digits.
    enter(w, "em_1", "99999999.99");
    clear(w, "em_1");
    QCOMPARE(w->an, 0.0);
    QCOMPARE(text(w, "sle_13"), QStringLiteral("元整"));
    enter(w, "em_1", typed);
    QCOMPARE(text(w, "em_1"), shown);
    QCOMPARE(w->an, value);
    QCOMPARE(digitBoxes(w), boxes);
    QCOMPARE(text(w, "sle_13"), capitals);
}

void tst_cashcheque::enterMovesAlongTheTabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    focusOn(w, "sle_12");
    QStringList visited;
    for (int i = 0; i < 15; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // One step per Enter; the display-only account number is a stop; disabled buttons are skipped; the
    // stops of equal order go in the order the controls are created; then it wraps round.
    QCOMPARE(visited, QStringList({"sle_12", "sle_4", "em_1", "sle_6", "ddlb_2", "sle_10", "rb_1", "rb_2", "rb_3",
                                   "rb_4", "rb_5", "rb_6", "rb_7", "pb_2", "pb_1"}));
    QCOMPARE(QApplication::focusWidget(), w->control("cb_4"));

    // Enter after a change leaves the box as Tab does: the amount's capitals are written once.
    focusOn(w, "em_1");
    typeText(w->control("em_1"), "12.3");
    QTest::keyClick(w->control("em_1"), Qt::Key_Return);
    QCOMPARE(text(w, "sle_13"), QStringLiteral("壹拾贰元叁角整")); // on the Enter itself
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), w->control("sle_6"));

    // Held down, Enter moves one stop per key-down: the Tab it posts does not post another.
    focusOn(w, "sle_12");
    QTest::keyPress(w->control("sle_12"), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), w->control("sle_4"));
    QTest::keyPress(w->control("sle_4"), Qt::Key_Return); // the key repeats
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), w->control("em_1"));
    QTest::keyRelease(w->control("em_1"), Qt::Key_Return);
    focusOn(w, "sle_6");

    // Keys other than Enter pass untouched.
    QTest::keyClick(w->control("sle_6"), Qt::Key_X);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), w->control("sle_6"));
}

void tst_cashcheque::escapeClosesOnlyThisForm()
{
    Fixture f;
    QVERIFY(f.connect());
    ui::registerWindow("w_other", [] { return new ui::Window("w_other", 1000, 500); });
    QPointer<ui::Window> other = ui::openWindow("w_other");
    QPointer<w_xjzp> w = openCheque();
    enter(w, "sle_4", "未存的收款人");
    focusOn(w, "sle_4");
    QTest::keyClick(w->control("sle_4"), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(!ui::findWindow("w_xjzp"));
    QVERIFY(f.boxes.isEmpty()); // no question
    QVERIFY(other && other->isVisible());
    // The exit button does the same.
    w = openCheque();
    click(w, "cb_4");
    QVERIFY(!ui::findWindow("w_xjzp"));
}

void tst_cashcheque::accountChoice()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_xjzp *w = openCheque();
    click(w, "rb_1");
    choose(w, "ddlb_2", 1);
    QCOMPARE(text(w, "sle_10"), QStringLiteral("110060001"));
    QCOMPARE(w->prnbank, QStringLiteral("建设银行朝阳支行"));
    QCOMPARE(QApplication::focusWidget(), w->control("cb_1")); // on to the save
    choose(w, "ddlb_2", 0);
    QCOMPARE(text(w, "sle_10"), QStringLiteral("6222020012345678"));
    QCOMPARE(w->prnbank, QStringLiteral("工商银行北京分行"));
    // An account no longer in the book: no number, and no bank name of the earlier choice to print.
    f.exec("DELETE FROM bankoffice WHERE bankoffice = '一般户'");
    choose(w, "ddlb_2", 1);
    QCOMPARE(text(w, "sle_10"), QString());
    QCOMPARE(w->prnbank, QString());
}

void tst_cashcheque::remarkLookup()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO bs_1 (cid, ctext, ccode) VALUES ('01', '差旅费', '')");
    // A row with an empty code: found only if an empty box ran the query.
    f.exec("INSERT INTO bs_1 (cid, ctext, ccode) VALUES ('', '空码备注', '')");
    w_xjzp *w = openCheque();
    enter(w, "sle_6", "01");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("差旅费"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("差旅费"));
    clear(w, "sle_6");
    enter(w, "sle_6", "99");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("99"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("99"));
    // The key is used as typed: " 01" is not "01".
    clear(w, "sle_6");
    enter(w, "sle_6", " 01");
    QCOMPARE(text(w, "sle_24"), QStringLiteral(" 01"));
    clear(w, "sle_6");
    QCOMPARE(text(w, "sle_6"), QString());
    QCOMPARE(text(w, "sle_24"), QString());
}

void tst_cashcheque::payeeLookupAndMirror()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO skrbook (bs, skrname, skrcode, skrbank) VALUES ('hx', '华星电子有限公司', '0200-88', "
           "'工行海淀支行')");
    f.exec("INSERT INTO skrbook (bs, skrname, skrcode, skrbank) VALUES ('', '空码单位', 'x', 'y')");
    w_xjzp *w = openCheque();
    // The body payee follows every keystroke of the stub payee.
    focusOn(w, "sle_4");
    QTest::keyClicks(w->control("sle_4"), "h");
    QCOMPARE(text(w, "sle_11"), QStringLiteral("h"));
    QTest::keyClicks(w->control("sle_4"), "x");
    QCOMPARE(text(w, "sle_11"), QStringLiteral("hx"));
    QTest::keyClick(w->control("sle_4"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(text(w, "sle_4"), QStringLiteral("华星电子有限公司"));
    QCOMPARE(text(w, "sle_11"), QStringLiteral("华星电子有限公司"));
    // Names set by the lookup show from their first character, in the box left and in the mirror.
    QCOMPARE(w->get<QLineEdit>("sle_4")->cursorPosition(), 0);
    QCOMPARE(w->get<QLineEdit>("sle_11")->cursorPosition(), 0);
    QCOMPARE(w->xjskr, QStringLiteral("hx"));
    QCOMPARE(w->mme3, QStringLiteral("0200-88"));
    QCOMPARE(w->mme4, QStringLiteral("工行海淀支行"));
    // A name that is no short code stays as typed; the last hit's account and bank stay.
    clear(w, "sle_4");
    enter(w, "sle_4", "张三");
    QCOMPARE(text(w, "sle_4"), QStringLiteral("张三"));
    QCOMPARE(text(w, "sle_11"), QStringLiteral("张三"));
    QCOMPARE(w->xjskr, QStringLiteral("张三"));
    QCOMPARE(w->mme3, QStringLiteral("0200-88"));
    QCOMPARE(w->mme4, QStringLiteral("工行海淀支行"));
    // An emptied box runs no query.
    clear(w, "sle_4");
    QCOMPARE(text(w, "sle_4"), QString());
    QCOMPARE(text(w, "sle_11"), QString());
    QCOMPARE(w->mme3, QStringLiteral("0200-88"));
    // A payee handed over by the picker reaches the body too.
    g::dnname[1] = QStringLiteral("甲公司");
    focusOn(w, "pb_1");
    QCOMPARE(text(w, "sle_4"), QStringLiteral("甲公司"));
    QCOMPARE(text(w, "sle_11"), QStringLiteral("甲公司"));
}

void tst_cashcheque::numberEcho()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    enter(w, "sle_12", "No.778");
    QCOMPARE(text(w, "sle_9"), QStringLiteral("No.778"));
    QCOMPARE(text(w, "sle_25"), QStringLiteral("No.778"));
    clear(w, "sle_12");
    QCOMPARE(text(w, "sle_9"), QString());
    QCOMPARE(text(w, "sle_25"), QString());
}

void tst_cashcheque::nextSheetClearsTheSheet()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    g::name = QStringLiteral("李四");
    w_xjzp *w = openCheque();
    fillSheet(w);
    click(w, "rb_2");
    click(w, "cb_1");
    click(w, "cb_2");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("slot %1").arg(slot);

    click(w, "cb_3");
    const QStringList emptied = {"sle_11", "sle_10", "sle_13", "sle_14", "sle_15", "sle_16", "sle_17", "sle_18",
                                 "sle_19", "sle_20", "sle_21", "sle_22", "sle_23", "sle_24", "sle_4", "em_1",
                                 "sle_6", "sle_12", "sle_9", "sle_25", "ddlb_2"};
    for (const QString &box : emptied)
        QVERIFY2(text(w, box).isEmpty(), qPrintable(box));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_2")->count(), 2); // the list keeps its accounts
    for (int slot = 1; slot <= 6; ++slot)
        QVERIFY(g::dnname[slot].isEmpty());
    for (int slot = 7; slot <= 9; ++slot)
        QCOMPARE(g::dnname[slot], QStringLiteral("slot %1").arg(slot));
    // Date, capitals and operator stay; the emptied amount box is worth 0 and no account is chosen.
    QCOMPARE((QStringList{text(w, "sle_1"), text(w, "sle_2"), text(w, "sle_3")}), (QStringList{"2026", "3", "5"}));
    QCOMPARE(text(w, "sle_5"), QStringLiteral("贰零贰陆"));
    QCOMPARE(text(w, "sle_26"), QStringLiteral("李四"));
    QCOMPARE(w->an, 0.0);
    QCOMPARE(w->prnbank, QString());
    QVERIFY(!markShown(w));

    // A sheet saved without a new amount stores 0, not the previous cheque's amount.
    click(w, "rb_1");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT an FROM xjzp ORDER BY line DESC LIMIT 1").toDouble(), 0.0);
}

QTEST_MAIN(tst_cashcheque)
#include "tst_cashcheque.moc"
