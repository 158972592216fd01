// The rows a data view holds, as segments with gaps between: row numbers, the
// result's positions of the rows between, segments that meet joining, rows
// added and deleted, and far places dropped.
#include "dataview/rowindex.h"

#include <QtTest>

namespace {
std::vector<quint32> ids(quint32 from, int count)
{
    std::vector<quint32> out;
    for (int i = 0; i < count; ++i)
        out.push_back(from + quint32(i));
    return out;
}

// Every row held as "row:id".
QStringList heldRows(const dw::RowIndex &index)
{
    QStringList out;
    index.forEach([&out](int row, quint32 id) { out << QStringLiteral("%1:%2").arg(row).arg(id); });
    return out;
}
} // namespace

class tst_rowindex : public QObject {
    Q_OBJECT
private slots:
    void segmentsAndGaps();
    void segmentsThatMeetJoin_data();
    void segmentsThatMeetJoin();
    void addedAndDeletedRowsMoveTheRowsAfter();
    void farPlacesGoEditedOnesStay();
};

void tst_rowindex::segmentsAndGaps()
{
    // 100 rows: 10 from the first, 10 from the end, 5 around row 50.
    dw::RowIndex index;
    index.append(0, ids(1, 10));
    QVERIFY(!index.endKnown());
    QCOMPARE(index.known(), 10);
    index.setTail(90);
    QCOMPARE(index.place(91, ids(91, 10)), 1);
    QCOMPARE(index.tail(), 0);
    QCOMPARE(index.place(48, ids(48, 5)), 1);
    QCOMPARE(index.count(), 3);
    QCOMPARE(index.known(), 100);
    QCOMPARE(index.resultRows(), 100);
    QCOMPARE(index.firstRow(1), 48);
    QCOMPARE(index.resultBefore(1), 47);
    QCOMPARE(index.firstRow(2), 91);
    for (const int row : {1, 10, 48, 52, 91, 100})
        QCOMPARE(index.at(row), quint32(row));
    for (const int row : {11, 47, 53, 90, 101})
        QVERIFY(!index.held(row));
    const dw::RowIndex::Gap before = index.gapAt(30);
    QCOMPARE(before.first, 11);
    QCOMPARE(before.last, 47);
    QCOMPARE(before.before, 0);
    const dw::RowIndex::Gap after = index.gapAt(60);
    QCOMPARE(after.first, 53);
    QCOMPARE(after.last, 90);
    QCOMPARE(after.before, 1);
    QCOMPARE(index.gapAt(101).before, -1); // no such row
}

void tst_rowindex::segmentsThatMeetJoin_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("read on from the first rows") << "append";
    QTest::newRow("read back from the place") << "prepend";
    QTest::newRow("a place that fills the gap") << "place";
}

void tst_rowindex::segmentsThatMeetJoin()
{
    QFETCH(QString, how);
    dw::RowIndex index;
    index.append(0, ids(1, 10));
    index.setTail(30);
    index.place(21, ids(21, 20));
    QCOMPARE(index.count(), 2);
    if (how == "append")
        index.append(0, ids(11, 10));
    else if (how == "prepend")
        index.prepend(1, ids(11, 10));
    else
        index.place(11, ids(11, 10));
    QCOMPARE(index.count(), 1);
    QVERIFY(index.whole());
    QStringList expected;
    for (int row = 1; row <= 40; ++row)
        expected << QStringLiteral("%1:%1").arg(row);
    QCOMPARE(heldRows(index), expected);
}

void tst_rowindex::addedAndDeletedRowsMoveTheRowsAfter()
{
    dw::RowIndex index;
    index.append(0, ids(1, 10));
    index.setTail(90);
    index.place(91, ids(91, 10));
    index.place(48, ids(48, 5));
    // A row added before row 50 and row 91 (the first from the end) deleted: the
    // rows after move, the result's positions of the rows between stay.
    QVERIFY(index.insert(50, 1000));
    QCOMPARE(index.at(50), quint32(1000));
    QCOMPARE(index.at(51), quint32(50));
    QCOMPARE(index.take(92), quint32(91));
    QCOMPARE(index.known(), 100);
    QCOMPARE(index.at(92), quint32(92));
    QCOMPARE(index.resultBefore(2), 90);
    // After the last row, and where neither the row nor the one before it is
    // held.
    QVERIFY(index.insert(101, 2000));
    QCOMPARE(index.at(101), quint32(2000));
    QVERIFY(!index.insert(30, 3000));
}

void tst_rowindex::farPlacesGoEditedOnesStay()
{
    dw::RowIndex index;
    index.append(0, ids(1, 10));
    index.setTail(990);
    index.place(991, ids(991, 10));
    for (const int at : {100, 200, 300, 400, 500})
        index.place(at, ids(quint32(at), 5));
    QCOMPARE(index.count(), 7);
    // Row 200's place holds an edit.
    auto stays = [](const dw::RowIndex::Segment &s) { return s.ids.front() == 200; };
    index.dropFar(500, 2, stays);
    QCOMPARE(index.count(), 4);
    QVERIFY(index.held(200) && index.held(500));
    QVERIFY(!index.held(100) && !index.held(300) && !index.held(400));
    QVERIFY(index.held(1) && index.held(1000));
    // The rows of the places dropped are rows between again, at their places.
    QCOMPARE(index.known(), 1000);
    QCOMPARE(index.firstRow(2), 500);
    QCOMPARE(index.resultBefore(2), 499);
}

QTEST_GUILESS_MAIN(tst_rowindex)
#include "tst_rowindex.moc"
