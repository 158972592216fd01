// What is printed is what is stored: once a sheet is saved, a change to a text the form stores or prints
// takes the saved mark away and keeps print disabled until the sheet is saved again, as a new row; print
// then prints that row. The same on all six forms and on the transfer cheque's deposit form.
#include "../cheques/chequetest.h"
#include "printcalls.h"

#include "platform/printjob.h"

using namespace chequetest;

namespace {
// The form as a table row: where its mark, payee, account list and print are, and where its rows go.
struct FormCase {
    const char *window;
    void (*registerGroup)();
    const char *mark;
    const char *payee;
    const char *accounts;
    QStringList prints; // every print button; the first is the one this row prints with
    const char *table;
    const char *accountColumn;
};

const QList<FormCase> &formCases()
{
    static const QList<FormCase> list = {
        {"w_xjzp", registerChequeWindows, "st_46", "sle_4", "ddlb_2", {"cb_2"}, "xjzp", "fkhm"},
        {"w_zzzp", registerChequeWindows, "st_46", "sle_4", "ddlb_2", {"cb_9", "cb_5"}, "xjzp", "fkhm"},
        {"w_zzzp", registerChequeWindows, "st_46", "sle_4", "ddlb_2", {"cb_5", "cb_9"}, "xjzp", "fkhm"},
        {"w_yhdh", registerVoucherWindows, "st_45", "sle_7", "ddlb_1", {"cb_2"}, "xjzp", "fkhm"},
        {"w_ysbk", registerVoucherWindows, "st_42", "sle_6", "ddlb_1", {"cb_2"}, "xjzp", "shbank"},
        {"w_find", registerDraftDepositWindows, "st_34", "sle_4", "ddlb_1", {"cb_2"}, "xjzp", "fkhm"},
        {"w_jzd", registerDraftDepositWindows, "st_25", "sle_6", "ddlb_1", {"cb_2"}, "jzd", "shbank"},
    };
    return list;
}

QString printedTexts()
{
    QStringList texts;
    for (const print::Call &c : print::recorded())
        if (c.op == QLatin1String("text"))
            texts << c.args.value(0).toString();
    return texts.join(u'|');
}
} // namespace

class tst_editaftersave : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }
    void editAfterSave_data();
    void editAfterSave();
    void nothingChangedKeepsTheMark();
};

void tst_editaftersave::editAfterSave_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("change"); // payee, amount or account
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");  // the changed column in the second row
    QTest::addColumn<QString>("printed"); // printed after the second save, in place of `before`
    QTest::addColumn<QString>("before");
    for (int i = 0; i < formCases().size(); ++i) {
        const FormCase &c = formCases().at(i);
        const QString name = QString::fromLatin1(c.window) + u' ' + c.prints.first();
        QTest::newRow(qPrintable(name + " payee"))
            << i << "payee" << "xkr" << "OTHERPAYEE" << "OTHERPAYEE" << "PAYEEONE";
        QTest::newRow(qPrintable(name + " amount")) << i << "amount" << "an" << "999" << "玖佰玖拾玖元整" << "壹元整";
        QTest::newRow(qPrintable(name + " account"))
            << i << "account" << QString::fromLatin1(c.accountColumn) << "一般户" << "110060001"
            << "6222020012345678";
    }
}

void tst_editaftersave::editAfterSave()
{
    QFETCH(int, form);
    QFETCH(QString, change);
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(QString, printed);
    QFETCH(QString, before);
    const FormCase &c = formCases().at(form);
    const QString mark = QString::fromLatin1(c.mark), payee = QString::fromLatin1(c.payee),
                  accounts = QString::fromLatin1(c.accounts), table = QString::fromLatin1(c.table);
    const auto markShown = [&](ui::Window *w) { return !w->control(mark)->isHidden() && !w->control("rr_2")->isHidden(); };
    const auto printsEnabled = [&](ui::Window *w) {
        QString s;
        for (const QString &p : c.prints)
            s += enabled(w, p) ? u'1' : u'0';
        return s;
    };
    const QString allOn(c.prints.size(), u'1'), allOff(c.prints.size(), u'0');

    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    auto *w = openForm<form::FormWindow>(c.registerGroup, QString::fromLatin1(c.window));
    QVERIFY(w);
    choose(w, accounts, 0);
    enter(w, payee, "PAYEEONE");
    enter(w, "em_1", "1.00");
    click(w, "rb_1");
    click(w, "cb_1");
    QVERIFY(markShown(w));
    QCOMPARE(printsEnabled(w), allOn);
    QVERIFY(!enabled(w, "cb_1"));

    // The operator changes the saved sheet: it is no longer the stored row.
    if (change == "payee") {
        clear(w, payee);
        enter(w, payee, "OTHERPAYEE");
    } else if (change == "amount") {
        clear(w, "em_1");
        enter(w, "em_1", "999.00");
    } else {
        choose(w, accounts, 1);
    }
    QVERIFY(!markShown(w));
    QCOMPARE(printsEnabled(w), allOff);
    QVERIFY(enabled(w, "cb_1"));
    QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 1);

    // Saving again adds a row holding the change; print prints that row.
    click(w, "cb_1");
    QVERIFY(f.boxes.isEmpty());
    QVERIFY(markShown(w));
    QCOMPARE(printsEnabled(w), allOn);
    QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 2);
    const QVariant value = f.scalar(QStringLiteral("SELECT %1 FROM %2 ORDER BY line DESC LIMIT 1").arg(column, table));
    QCOMPARE(column == "an" ? QString::number(value.toDouble()) : value.toString(), stored);
    click(w, c.prints.first());
    const QString texts = printedTexts();
    QVERIFY2(texts.contains(printed) && !texts.contains(before), qPrintable(texts));

    // The next-sheet reset is as before: mark hidden, print and next disabled, save as it was.
    click(w, "cb_3");
    QVERIFY(!markShown(w));
    QCOMPARE(printsEnabled(w), allOff);
    QVERIFY(!enabled(w, "cb_3"));
    QVERIFY(!enabled(w, "cb_1"));
}

void tst_editaftersave::nothingChangedKeepsTheMark()
{
    // Passing through the boxes, choosing the same account again or another format changes no stored or
    // printed text: the sheet stays saved and printable.
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_xjzp *w = openCheque();
    fillSheet(w);
    click(w, "rb_1");
    click(w, "cb_1");
    for (const char *box : {"sle_12", "sle_4", "em_1", "sle_6"}) {
        focusOn(w, box);
        QTest::keyClick(w->control(box), Qt::Key_Tab);
    }
    choose(w, "ddlb_2", 0);
    click(w, "rb_2");
    QVERIFY(markShown(w));
    QVERIFY(enabled(w, "cb_2"));
    click(w, "cb_2");
    QVERIFY(printedTexts().contains("北京市某某贸易有限公司"));
}

QTEST_MAIN(tst_editaftersave)
#include "tst_editaftersave.moc"
