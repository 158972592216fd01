// The pickers over the payee, payer and remarks books, and the hand-over of a choice into a form's boxes.
#include "fixture.h"

#include "app/windows.h"
#include "globals.h"
#include "pickers/handover.h"
#include "pickers/picker.h"
#include "pickers/w_temp.h"
#include "pickers/w_temp1.h"
#include "pickers/w_tempbs.h"
#include "platform/controls.h"
#include "dataview/dataview.h"
#include "dataview/statement.h"
#include "platform/window.h"

#include <QApplication>
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QtTest>

namespace {
void addPayee(Fixture &f, const QString &table, const QVariant &name, const QString &account = {},
              const QString &place = {})
{
    f.exec(QString("INSERT INTO %1 (bs, skrname, skrcode, skrbank, prov, city, xian) VALUES (?, ?, ?, ?, ?, ?, ?)")
               .arg(table),
           {"b", name, account, name.toString() + "银行", place.isEmpty() ? QVariant() : place + "省",
            place.isEmpty() ? QVariant() : place + "市", place.isEmpty() ? QVariant() : place + "县"});
}

void addRemark(Fixture &f, const QString &cid, const QVariant &text)
{
    f.exec("INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, '')", {cid, text});
}

pickers::Picker *openPicker(const QString &name, ui::Window *opener = nullptr)
{
    return qobject_cast<pickers::Picker *>(openActive(name, opener));
}

QString text(ui::Window *w, const QString &box) { return w->get<QLineEdit>(box)->text(); }

QStringList column(pickers::Picker *p, const QString &name)
{
    QStringList out;
    for (int r = 1; r <= p->list()->rowCount(); ++r)
        out << p->list()->itemString(r, name);
    return out;
}

void click(ui::Window *w, const QString &button) { w->get<QAbstractButton>(button)->click(); }

QStringList pickerSlots()
{
    QStringList out;
    for (int i = 1; i <= 9; ++i)
        out << g::dnname[std::size_t(i)];
    return out;
}

void clickRow(pickers::Picker *p, int row, bool twice = false)
{
    QTableView *grid = p->list()->grid();
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 2)).center();
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// A stand-in for a book window, so the edit button has something to open.
class BookStub : public ui::Window {
public:
    BookStub(const QString &name) : ui::Window(name, 1000, 600) {}
};

// A form with the cash cheque's picker buttons and the boxes they fill.
class FormStub : public ui::Window {
public:
    FormStub() : ui::Window("w_xjzp", 3000, 1200)
    {
        auto edit = [](const char *name, int y, int tab) {
            return ui::ControlSpec{.name = name, .kind = ui::Kind::Edit, .x = 10, .y = y, .width = 900, .height = 80,
                                   .tabOrder = tab};
        };
        auto button = [](const char *name, int y, int tab) {
            return ui::ControlSpec{.name = name, .kind = ui::Kind::PictureButton, .x = 920, .y = y, .width = 87,
                                   .height = 72, .tabOrder = tab, .picture = "001\\11.bmp"};
        };
        build({edit("sle_6", 100, 130), button("pb_2", 100, 140), edit("sle_24", 200, 150), edit("sle_4", 300, 170),
               button("pb_1", 300, 180), edit("sle_11", 400, 190)});
        pickers::installHandover(this, pickers::handoverTable("w_xjzp"));
    }
};

// A book of 2,000 rows, far more than a list reads at first: row i is named <prefix>i in four digits, so
// the rows sort in the order they were entered.
void fillBook(Fixture &f, const QString &picker)
{
    const QString rows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) ";
    if (picker == "w_tempbs")
        f.exec(rows + "INSERT INTO bs_1 (cid, ctext, ccode) SELECT printf('%04d', i), printf('备注%04d', i), '' FROM n");
    else
        f.exec(rows + QString("INSERT INTO %1 (bs, skrname, skrcode, skrbank) "
                              "SELECT 'b', printf('单位%04d', i), printf('6222%04d', i), '银行' FROM n")
                          .arg(picker == "w_temp" ? "fkrbook" : "skrbook"));
}

// The picker open over such a book; none when the connect failed.
pickers::Picker *openOverABook(Fixture &f, const QString &picker)
{
    if (!f.connect())
        return nullptr;
    fillBook(f, picker);
    return openPicker(picker);
}

QString chosen(const QString &picker) { return g::dnname[picker == "w_tempbs" ? 8 : 1]; }

// A mouse event at a given moment, as the window system stamps it.
void sendMouse(QWidget *w, QEvent::Type type, QPoint at, quint64 time)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {},
                  QPointingDevice::primaryPointingDevice());
    e.setTimestamp(time);
    QApplication::sendEvent(w, &e);
}

void activate(QWidget *w)
{
    QApplication::setActiveWindow(w);
    QTRY_VERIFY(QApplication::activeWindow() == w);
}

void focusTo(QWidget *w)
{
    w->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}
} // namespace

class tst_pickers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerPickerWindows(); }
    void pickersOpenByName_data();
    void pickersOpenByName();
    void openingReadsTheBookOnce_data();
    void openingReadsTheBookOnce();
    void listOrder_data();
    void listOrder();
    void searchNarrowsTheList_data();
    void searchNarrowsTheList();
    void choosePayeeWritesSlotsOneToSix();
    void choosePayerWritesTheSameSlots();
    void chooseRemarkWritesSlotEight();
    void chooseOnEmptyListEmptiesSlots();
    void remarkRowNumberIsTheCode();
    void doubleClickChoosesThenCloses();
    void doubleClickOnEmptyListCloses();
    void activationRereadKeepsTheRecord();
    void activationAfterSearchKeepsTheFoundRecord_data();
    void activationAfterSearchKeepsTheFoundRecord();
    void placeOfARecordCountedInOneIndex_data();
    void placeOfARecordCountedInOneIndex();
    void doubleClickAcrossActivationTakesThePressedRecord_data();
    void doubleClickAcrossActivationTakesThePressedRecord();
    void editOpensTheBookWithThePickerAsParent();
    void oneWindowPerPickerClass();
    void handoverTable_data();
    void handoverTable();
    void handoverIntoTheForm();
    void looks();
};

void tst_pickers::pickersOpenByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("header");
    QTest::newRow("payee") << "w_temp1" << "收款人查询" << "收款人" << "收款人全称";
    QTest::newRow("payer") << "w_temp" << "付款人查询" << "付款人" << "付款人全称";
    QTest::newRow("remarks") << "w_tempbs" << "备注查询" << "" << "文字名称(备注)";
}

void tst_pickers::pickersOpenByName()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, label);
    QFETCH(QString, header);
    Fixture f;
    QVERIFY(f.connect());
    pickers::Picker *p = openPicker(name);
    QVERIFY(p);
    QCOMPARE(p->windowTitle(), title);
    QCOMPARE(p->className(), name);
    if (!label.isEmpty()) {
        QCOMPARE(p->get<QLabel>("st_1")->text(), label);
        QCOMPARE(p->get<QLabel>("st_2")->text(), label);
    }
    QCOMPARE(p->list()->grid()->model()->headerData(0, Qt::Horizontal).toString(), QString("行号"));
    QCOMPARE(p->list()->grid()->model()->headerData(2, Qt::Horizontal).toString(), header);
    for (const char *b : {"cb_1", "cb_2", "cb_3", "cb_4"})
        QVERIFY(p->get<ui::CommandButton>(b));
    QCOMPARE(p->get<QAbstractButton>("cb_4")->text(), QString("编缉"));
    // The list holds the focus at open; Tab leaves it for the search box.
    QCOMPARE(QApplication::focusWidget(), p->list()->grid());
    QTest::keyClick(p->list()->grid(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), p->control("sle_1"));
}

void tst_pickers::openingReadsTheBookOnce_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"w_temp1", "w_temp", "w_tempbs"})
        QTest::newRow(name) << QString(name);
}

void tst_pickers::openingReadsTheBookOnce()
{
    QFETCH(QString, name);
    int reads = 0;
    Fixture f;
    QVERIFY(f.connect());
    // The picker as the program makes it, with a count of its reads from the moment it exists.
    ui::registerWindow(name, [&reads, name]() -> ui::Window * {
        pickers::Picker *p = name == "w_temp1" ? static_cast<pickers::Picker *>(new w_temp1)
                             : name == "w_temp" ? static_cast<pickers::Picker *>(new w_temp)
                                                : static_cast<pickers::Picker *>(new w_tempbs);
        QObject::connect(p, &pickers::Picker::bookRead, p, [&reads] { ++reads; });
        return p;
    });
    pickers::Picker *p = openPicker(name);
    registerPickerWindows();
    QVERIFY(p);
    QTRY_VERIFY(QApplication::activeWindow() == p);
    QCoreApplication::processEvents();
    QCOMPARE(reads, 1); // the open reads; the activation that comes with it does not read again

    // Coming back from another window reads again, once.
    auto *other = new BookStub("w_other");
    other->show();
    QApplication::setActiveWindow(other);
    QTRY_VERIFY(QApplication::activeWindow() == other);
    QCOMPARE(reads, 1);
    QApplication::setActiveWindow(p);
    QTRY_VERIFY(QApplication::activeWindow() == p);
    QCoreApplication::processEvents();
    QCOMPARE(reads, 2);
}

void tst_pickers::listOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("listed");
    // Entered in the order 乙, 甲, 丙.
    QTest::newRow("payee book by name") << "w_temp1" << "skrbook" << QStringList{"丙", "甲", "乙"};
    QTest::newRow("payer book as the database returns it") << "w_temp" << "fkrbook" << QStringList{"乙", "甲", "丙"};
}

void tst_pickers::listOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, table);
    QFETCH(QStringList, listed);
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"乙", "甲", "丙"})
        addPayee(f, table, QString::fromUtf8(n));
    pickers::Picker *p = openPicker(name);
    QVERIFY(p);
    QCOMPARE(column(p, "skrname"), listed);
}

void tst_pickers::searchNarrowsTheList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    // The book: 北京甲公司, 北京 乙厂, 上海丙, 100%纯 and a row without a name.
    const QStringList all{"100%纯", "北京 乙厂", "北京甲公司", "上海丙"};
    QTest::newRow("empty box lists all") << "" << all;
    QTest::newRow("blanks only list all") << "   " << all;
    QTest::newRow("middle of a name") << "京甲" << QStringList{"北京甲公司"};
    QTest::newRow("end blanks trimmed") << "  上海  " << QStringList{"上海丙"};
    QTest::newRow("inner blank must match") << "京 乙" << QStringList{"北京 乙厂"};
    QTest::newRow("full-width blank is text") << "\u3000上海" << QStringList{};
    QTest::newRow("percent in the name") << "0%纯" << QStringList{"100%纯"};
    QTest::newRow("underscore is a wildcard") << "北京_" << QStringList{"北京 乙厂", "北京甲公司"};
    QTest::newRow("nothing matches") << "广州" << QStringList{};
}

void tst_pickers::searchNarrowsTheList()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"北京甲公司", "北京 乙厂", "上海丙", "100%纯"})
        addPayee(f, "skrbook", QString::fromUtf8(n));
    addPayee(f, "skrbook", QVariant());
    pickers::Picker *p = openPicker("w_temp1");
    QVERIFY(p);
    QCOMPARE(p->list()->rowCount(), 4); // the nameless row is never listed
    auto *box = p->get<ui::SingleLineEdit>("sle_1");
    box->setFocus();
    typeText(box, typed);
    click(p, "cb_2");
    QCOMPARE(column(p, "skrname"), expected);
    QCOMPARE(p->list()->currentRow(), expected.isEmpty() ? 0 : 1);
}

void tst_pickers::choosePayeeWritesSlotsOneToSix()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "skrbook", "甲公司", "1111", "浙江");
    addPayee(f, "skrbook", "乙公司", "2222"); // no province, city or county
    g::dnname[7] = "seven";
    g::dnname[8] = "remark";
    g::dnname[9] = "nine";
    pickers::Picker *p = openPicker("w_temp1");
    QVERIFY(p);
    QCOMPARE(column(p, "skrname"), QStringList({"甲公司", "乙公司"}));

    // Without a click the first row is current.
    click(p, "cb_1");
    QCOMPARE(pickerSlots(), QStringList({"甲公司", "1111", "甲公司银行", "浙江省", "浙江市", "浙江县", "seven", "remark", "nine"}));
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(text(p, QString("sle_%1").arg(i + 1)), g::dnname[std::size_t(i)]);
    QVERIFY(p->isVisible());

    // A second choice overwrites every slot; missing places become empty.
    clickRow(p, 2);
    click(p, "cb_1");
    QCOMPARE(pickerSlots(), QStringList({"乙公司", "2222", "乙公司银行", "", "", "", "seven", "remark", "nine"}));
    QCOMPARE(text(p, "sle_5"), QString());
    QVERIFY(p->isVisible());

    // The boxes only show: typing into them hands nothing over.
    auto *name = p->get<ui::SingleLineEdit>("sle_2");
    name->setFocus();
    typeText(name, "手改");
    QCOMPARE(g::dnname[1], QString("乙公司"));
}

void tst_pickers::choosePayerWritesTheSameSlots()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "fkrbook", "付款甲", "9999", "江苏");
    addPayee(f, "skrbook", "收款甲", "1111", "浙江");
    pickers::Picker *p = openPicker("w_temp");
    QVERIFY(p);
    QCOMPARE(column(p, "skrname"), QStringList({"付款甲"}));
    click(p, "cb_1");
    QCOMPARE(pickerSlots().mid(0, 6), QStringList({"付款甲", "9999", "付款甲银行", "江苏省", "江苏市", "江苏县"}));
    QCOMPARE(text(p, "sle_4"), QString("付款甲银行"));
}

void tst_pickers::chooseRemarkWritesSlotEight()
{
    Fixture f;
    QVERIFY(f.connect());
    addRemark(f, "1", "差旅费");
    addRemark(f, "2", "办公用品");
    addRemark(f, "3", QVariant()); // no text: never listed
    for (int i = 1; i <= 9; ++i)
        g::dnname[std::size_t(i)] = QString::number(i);
    pickers::Picker *p = openPicker("w_tempbs");
    QVERIFY(p);
    QCOMPARE(column(p, "ctext"), QStringList({"差旅费", "办公用品"}));
    clickRow(p, 2);
    click(p, "cb_1");
    QCOMPARE(pickerSlots(), QStringList({"1", "2", "3", "4", "5", "6", "7", "办公用品", "9"}));
    QCOMPARE(text(p, "sle_2"), QString("办公用品"));

    p->get<ui::SingleLineEdit>("sle_1")->setFocus();
    typeText(p->get<ui::SingleLineEdit>("sle_1"), "差旅");
    click(p, "cb_2");
    QCOMPARE(column(p, "ctext"), QStringList({"差旅费"}));
}

void tst_pickers::chooseOnEmptyListEmptiesSlots()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "skrbook", "甲公司", "1111", "浙江");
    pickers::Picker *p = openPicker("w_temp1");
    QVERIFY(p);
    click(p, "cb_1");
    QCOMPARE(g::dnname[1], QString("甲公司"));
    typeText(p->get<ui::SingleLineEdit>("sle_1"), "nothing");
    click(p, "cb_2");
    QCOMPARE(p->list()->rowCount(), 0);
    click(p, "cb_1");
    QCOMPARE(pickerSlots().mid(0, 6), QStringList(6));
    for (int i = 2; i <= 7; ++i)
        QCOMPARE(text(p, QString("sle_%1").arg(i)), QString());
    QVERIFY(p->isVisible());
}

void tst_pickers::remarkRowNumberIsTheCode()
{
    Fixture f;
    QVERIFY(f.connect());
    addRemark(f, "12", "甲");
    addRemark(f, "007", "乙");
    addRemark(f, "A1", "丙");
    pickers::Picker *p = openPicker("w_tempbs");
    QVERIFY(p);
    QCOMPARE(column(p, "cid"), QStringList({"007", "12", "A1"}));
    QCOMPARE(column(p, "rownum"), QStringList({"7", "12", ""}));
}

void tst_pickers::doubleClickChoosesThenCloses()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"甲", "乙", "丙"})
        addPayee(f, "skrbook", QString::fromUtf8(n));
    QPointer<pickers::Picker> p = openPicker("w_temp1");
    QVERIFY(p);
    QStringList order;
    connect(p->get<QAbstractButton>("cb_1"), &QAbstractButton::clicked, p, [&] { order << "choose " + g::dnname[1]; });
    connect(p->get<QAbstractButton>("cb_3"), &QAbstractButton::clicked, p, [&] {
        order << QString("exit, slot 1 %1").arg(g::dnname[1]);
    });
    const QString third = p->list()->itemString(3, "skrname");
    clickRow(p, 3, true);
    // Both run after the double-click has ended.
    QVERIFY(order.isEmpty());
    QCOMPARE(g::dnname[1], QString());
    QTRY_VERIFY(!p);
    QCOMPARE(order, QStringList({"choose " + third, "exit, slot 1 " + third}));
    QVERIFY(!ui::findWindow("w_temp1"));
}

void tst_pickers::doubleClickOnEmptyListCloses()
{
    Fixture f;
    QVERIFY(f.connect());
    g::dnname[1] = "old";
    QPointer<pickers::Picker> p = openPicker("w_temp");
    QVERIFY(p);
    QTableView *grid = p->list()->grid();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
    QTRY_VERIFY(!p);
    QCOMPARE(pickerSlots().mid(0, 6), QStringList(6));
}

void tst_pickers::activationRereadKeepsTheRecord()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"乙", "丙"})
        addPayee(f, "skrbook", QString::fromUtf8(n));
    pickers::Picker *p = openPicker("w_temp1");
    QVERIFY(p);
    auto *other = new BookStub("w_other");
    other->show();

    // A search, then the operator picks a row and goes elsewhere.
    typeText(p->get<ui::SingleLineEdit>("sle_1"), "乙");
    click(p, "cb_2");
    QCOMPARE(column(p, "skrname"), QStringList({"乙"}));
    QApplication::setActiveWindow(other);
    QTRY_VERIFY(QApplication::activeWindow() == other);
    addPayee(f, "skrbook", "阿"); // sorts first: the chosen record moves one line down

    // Back in the picker: the whole book again, the search text kept, the current row still on 乙.
    QApplication::setActiveWindow(p);
    QTRY_VERIFY(QApplication::activeWindow() == p);
    QCOMPARE(column(p, "skrname"), QStringList({"阿", "丙", "乙"}));
    QCOMPARE(text(p, "sle_1"), QString("乙"));
    QCOMPARE(p->list()->currentRow(), 3);

    // An activation between the click on a row and the choose does not move the choice to another record,
    // even when the re-read lists that record on another line.
    clickRow(p, 2);
    QCOMPARE(p->list()->itemString(2, "skrname"), QString("丙"));
    addPayee(f, "skrbook", "啊");
    QApplication::setActiveWindow(other);
    QTRY_VERIFY(QApplication::activeWindow() == other);
    QApplication::setActiveWindow(p);
    QTRY_VERIFY(QApplication::activeWindow() == p);
    QCOMPARE(p->list()->rowCount(), 4);
    click(p, "cb_1");
    QCOMPARE(g::dnname[1], QString("丙"));
    QCOMPARE(p->list()->currentRow(), 3);
}

void tst_pickers::activationAfterSearchKeepsTheFoundRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");
    for (const char *name : {"w_temp1", "w_temp", "w_tempbs"}) {
        const QString prefix = QString(name) == "w_tempbs" ? "备注" : "单位";
        QTest::newRow(QString("%1, among the first rows").arg(name).toLatin1()) << QString(name) << prefix + "0100";
        QTest::newRow(QString("%1, far down the book").arg(name).toLatin1()) << QString(name) << prefix + "1500";
        QTest::newRow(QString("%1, last row").arg(name).toLatin1()) << QString(name) << prefix + "2000";
    }
}

void tst_pickers::activationAfterSearchKeepsTheFoundRecord()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    Fixture f;
    pickers::Picker *p = openOverABook(f, name);
    QVERIFY(p);
    auto *other = new BookStub("w_other");
    other->show();

    // Search, click the row found, go to another window and come back into the search box, then choose.
    typeText(p->get<ui::SingleLineEdit>("sle_1"), found.right(4));
    click(p, "cb_2");
    QCOMPARE(p->list()->buffer().fetchedCount(), 1);
    clickRow(p, 1);
    activate(other);
    activate(p);
    focusTo(p->control("sle_1"));
    QVERIFY(p->list()->buffer().fetchedCount() > 1); // the whole book is listed again
    // A record far down is found where it is: the rows before it are not read one by one from the first.
    if (found.right(4).toInt() > 1000)
        QVERIFY2(p->list()->buffer().fetchedCount() < 1000,
                 qPrintable(QString("%1 rows read from the first").arg(p->list()->buffer().fetchedCount())));
    click(p, "cb_1");
    QCOMPARE(chosen(name), found);

    // The record is where the operator saw it: on the list's first line, unless the book ends before a
    // screenful below it.
    QTableView *grid = p->list()->grid();
    const QRect shown = grid->visualRect(grid->model()->index(p->list()->currentRow() - 1, 2));
    QVERIFY(grid->viewport()->rect().contains(shown.center()));
    if (!found.endsWith("2000"))
        QCOMPARE(grid->rowAt(1), p->list()->currentRow() - 1);
}

void tst_pickers::placeOfARecordCountedInOneIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("index");
    QTest::newRow("payees") << "w_temp1" << "skrbook" << "COVERING INDEX skrbook_skrname_gbk";
    // In the order of entry: the range is one of row ids, each row read once for the text searched.
    QTest::newRow("payers") << "w_temp" << "fkrbook" << "INTEGER PRIMARY KEY (rowid<?)";
    QTest::newRow("remarks") << "w_tempbs" << "bs_1" << "COVERING INDEX bs_1_cid_gbk";
}

void tst_pickers::placeOfARecordCountedInOneIndex()
{
    // Back in a picker after a search, the record's place in the whole book is the count of the rows before it
    // that match: each range of it sought on one index that holds the order and the text searched, with no
    // lookup in the table per row, and none walked from its start.
    QFETCH(QString, name);
    QFETCH(QString, table);
    QFETCH(QString, index);
    Fixture f;
    pickers::Picker *p = openOverABook(f, name);
    QVERIFY(p);
    dw::Statement statement;
    statement.compile(p->list()->definition());
    statement.learn(g::sqlca.database());
    QVERIFY(statement.identified());

    QVariantList args = statement.bind({"%"});
    QSqlQuery q(g::sqlca.database());
    QVERIFY(g::sqlca.prepare(q, statement.locate(p->list()->buffer().keyOf(1), args), args));
    QVERIFY(q.exec() && q.next());
    dw::Edge edge{q.value(0), {}};
    for (int i = 1; i < q.record().count(); ++i)
        edge.nulls << q.value(i).toBool();
    q.finish();
    args = statement.bind({"%0%"});
    QVERIFY(g::sqlca.prepare(q, "EXPLAIN QUERY PLAN " + statement.countBefore(edge, args), args));
    QVERIFY(q.exec());
    QStringList plan;
    while (q.next())
        plan << q.value(3).toString();
    // Each range of the count (the values before the record's, and the rows of its values before it); the
    // record's own values are read once, by its row id.
    QStringList reads = plan.filter(QRegularExpression("^(SEARCH|SCAN) "));
    reads.removeIf([](const QString &read) {
        return read.endsWith("USING INTEGER PRIMARY KEY (rowid=?)") || read == "SCAN CONSTANT ROW";
    });
    QVERIFY2(!reads.isEmpty(), qPrintable(plan.join(" | ")));
    for (const QString &read : reads)
        QVERIFY2(read.startsWith(QString("SEARCH %1 USING %2").arg(table, index)), qPrintable(plan.join(" | ")));
}

void tst_pickers::doubleClickAcrossActivationTakesThePressedRecord_data()
{
    activationAfterSearchKeepsTheFoundRecord_data();
}

void tst_pickers::doubleClickAcrossActivationTakesThePressedRecord()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    Fixture f;
    QPointer<pickers::Picker> p = openOverABook(f, name);
    QVERIFY(p);
    auto *other = new BookStub("w_other");
    other->show();
    typeText(p->get<ui::SingleLineEdit>("sle_1"), found.right(4));
    click(p, "cb_2");
    QCOMPARE(p->list()->rowCount(), 1);
    activate(other);

    // A double-click on the found row of the inactive picker: the window system activates the picker between
    // the two presses, and the re-read lists the whole book.
    QTableView *grid = p->list()->grid();
    const QPoint at = grid->visualRect(grid->model()->index(0, 2)).center();
    const quint64 t = quint64(QTest::lastMouseTimestamp) + 10000;
    QTest::lastMouseTimestamp = int(t + 10000);
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, at, t);
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, at, t + 40);
    activate(p);
    QVERIFY(p->list()->buffer().fetchedCount() > 1);
    sendMouse(grid->viewport(), QEvent::MouseButtonDblClick, at, t + 150);
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, at, t + 190);
    QTRY_VERIFY(!p);
    QCOMPARE(chosen(name), found);
}

void tst_pickers::editOpensTheBookWithThePickerAsParent()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "skrbook", "乙");
    pickers::Picker *p = openPicker("w_temp1");
    QVERIFY(p);
    // The book window is not built yet: nothing opens and the picker goes on.
    click(p, "cb_4");
    QVERIFY(!ui::findWindow("w_skrbk"));

    ui::registerWindow("w_skrbk", [] { return new BookStub("w_skrbk"); });
    click(p, "cb_4");
    ui::Window *book = ui::findWindow("w_skrbk");
    QVERIFY(book);
    QCOMPARE(book->opener(), p);
    QApplication::setActiveWindow(book);
    QTRY_VERIFY(QApplication::activeWindow() == book);
    addPayee(f, "skrbook", "甲"); // saved in the book window
    book->close();
    // Closing the book hands the activation back to the picker, which lists the new row.
    QTRY_COMPARE(column(p, "skrname"), QStringList({"甲", "乙"}));
}

void tst_pickers::oneWindowPerPickerClass()
{
    Fixture f;
    QVERIFY(f.connect());
    pickers::Picker *first = openPicker("w_temp1");
    QVERIFY(first);
    pickers::Picker *remarks = openPicker("w_tempbs");
    QVERIFY(remarks && remarks != first);
    QCOMPARE(openPicker("w_temp1"), first);
    int payees = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        payees += w->objectName() == "w_temp1" && w->isVisible();
    QCOMPARE(payees, 1);
}

void tst_pickers::handoverTable_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("expected"); // button:picker:slot=box+box,... ; next button
    QTest::newRow("cash cheque") << "w_xjzp" << "pb_1:w_temp1:1=sle_4,2=,3=; pb_2:w_tempbs:8=sle_6+sle_24";
    QTest::newRow("transfer cheque") << "w_zzzp"
                                     << "pb_1:w_temp1:1=sle_4,2=sle_28,3=sle_27; pb_2:w_tempbs:8=sle_6+sle_24";
    QTest::newRow("draft application") << "w_find" << "pb_1:w_temp1:1=sle_4,2=sle_24,3=sle_6; pb_2:w_tempbs:8=sle_3";
    QTest::newRow("wire transfer") << "w_yhdh"
                                   << "pb_1:w_temp1:1=sle_7,2=sle_9,3=sle_8,4=sle_14,5=sle_15,6=sle_16; "
                                      "pb_2:w_tempbs:8=sle_27";
    QTest::newRow("budget voucher") << "w_ysbk" << "pb_1:w_temp1:1=sle_6,3=sle_7,2=sle_9; pb_2:w_tempbs:8=sle_13";
    QTest::newRow("deposit form") << "w_jzd" << "pb_1:w_temp:1=sle_6,2=sle_9,3=sle_7";
    QTest::newRow("no picker") << "w_main" << "";
}

void tst_pickers::handoverTable()
{
    QFETCH(QString, form);
    QFETCH(QString, expected);
    QStringList buttons;
    for (const pickers::HandoverButton &b : pickers::handoverTable(form)) {
        QStringList targets;
        for (const pickers::SlotTarget &t : b.targets)
            targets << QString("%1=%2").arg(t.slot).arg(t.controls.join("+"));
        buttons << b.button + ":" + b.picker + ":" + targets.join(",");
    }
    QCOMPARE(buttons.join("; "), expected);
}

void tst_pickers::handoverIntoTheForm()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "skrbook", "甲公司", "1111", "浙江");
    addRemark(f, "1", "差旅费");
    auto *form = new FormStub;
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto *payee = form->get<ui::SingleLineEdit>("sle_4");

    // Typed text survives reaching the button with no choice waiting.
    focusTo(payee);
    typeText(payee, "手写单位");
    focusTo(form->control("pb_1"));
    QCOMPARE(payee->text(), QString("手写单位"));

    // A choice already waiting (a lookup may write the slots) is taken by the click's getfocus.
    focusTo(form->control("sle_11"));
    g::dnname[1] = "stale";
    QTest::mouseClick(form->control("pb_1"), Qt::LeftButton);
    QCOMPARE(payee->text(), QString("stale"));
    // The picker opens with the form as parent; the form's button loses the focus and clears slots 1 to 3.
    auto *picker = qobject_cast<pickers::Picker *>(ui::findWindow("w_temp1"));
    QVERIFY(picker);
    QCOMPARE(picker->opener(), form);
    QTRY_VERIFY(QApplication::activeWindow() == picker);
    QCOMPARE(g::dnname[1], QString());

    // Choose and close: the form becomes active, the button gets the focus back and takes the choice, once.
    click(picker, "cb_1");
    click(picker, "cb_3");
    QTRY_VERIFY(QApplication::activeWindow() == form);
    QTRY_COMPARE(QApplication::focusWidget(), form->control("pb_1"));
    QCOMPARE(payee->text(), QString("甲公司"));
    QVERIFY(!payee->isDirty()); // set by code: no modified will follow

    // Leaving the button clears its slots 1 to 3; province, city and county stay.
    focusTo(form->control("sle_11"));
    QCOMPARE(pickerSlots().mid(0, 6), QStringList({"", "", "", "浙江省", "浙江市", "浙江县"}));
    payee->setTextByCode(QString());
    focusTo(payee);
    typeText(payee, "另一家");
    focusTo(form->control("pb_1"));
    QCOMPARE(payee->text(), QString("另一家"));

    // The remark button fills both purpose boxes.
    QTest::mouseClick(form->control("pb_2"), Qt::LeftButton);
    auto *remarks = qobject_cast<pickers::Picker *>(ui::findWindow("w_tempbs"));
    QVERIFY(remarks);
    QTRY_VERIFY(QApplication::activeWindow() == remarks);
    click(remarks, "cb_1");
    QApplication::setActiveWindow(form); // back to the form with the picker still open
    QTRY_COMPARE(QApplication::focusWidget(), form->control("pb_2"));
    QCOMPARE(text(form, "sle_6"), QString("差旅费"));
    QCOMPARE(text(form, "sle_24"), QString("差旅费"));
    QCOMPARE(text(form, "sle_4"), QString("另一家")); // the payee boxes are not the remark button's
    QVERIFY(ui::findWindow("w_tempbs"));

    // Back to the picker and to the form again without a new choice: nothing is waiting, the boxes stay.
    QApplication::setActiveWindow(remarks);
    QTRY_VERIFY(QApplication::activeWindow() == remarks);
    QCOMPARE(g::dnname[8], QString());
    form->get<ui::SingleLineEdit>("sle_6")->setTextByCode("改过");
    QApplication::setActiveWindow(form);
    QTRY_COMPARE(QApplication::focusWidget(), form->control("pb_2"));
    QCOMPARE(text(form, "sle_6"), QString("改过"));
}

void tst_pickers::looks()
{
    // Pictures of the pickers for a person to look at: set PICKER_GRAB_DIR to get them.
    const QString dir = qEnvironmentVariable("PICKER_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("PICKER_GRAB_DIR not set");
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "skrbook", "杭州西湖龙井茶叶有限公司", "6222020202020202", "浙江");
    addPayee(f, "skrbook", "北京市海淀区中关村科技发展有限责任公司", "110060001018001234567", "北京");
    addPayee(f, "skrbook", "上海浦东发展银行", "9876543210");
    addPayee(f, "fkrbook", "苏州工业园区某某公司", "3201", "江苏");
    addRemark(f, "1", "差旅费");
    addRemark(f, "12", "办公用品");
    for (const char *name : {"w_temp1", "w_temp", "w_tempbs"}) {
        pickers::Picker *p = openPicker(name);
        QVERIFY(p);
        clickRow(p, 2 > p->list()->rowCount() ? 1 : 2);
        click(p, "cb_1");
        QVERIFY(p->grab().save(QDir(dir).filePath(QString(name) + ".png")));
        p->close();
    }
}

QTEST_MAIN(tst_pickers)
#include "tst_pickers.moc"
