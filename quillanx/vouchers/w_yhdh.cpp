#include "vouchers/w_yhdh.h"

#include "cheques/paper.h"

#include <QLabel>

using form::SaveColumn;
using form::Source;
using form::Target;
using ui::ControlSpec;
using ui::Font;
using ui::Kind;
using namespace paper;

namespace {
constexpr qint64 kCyan = 15790280;

const Font kCell{kHei, 12, 700};
const Font kSmallCell{kHei, 10, 700};
const Font kEntry{kSong, 12};

// Rows of the two blocks: the first row's top and the row height.
constexpr int kTop = 320;
constexpr int kRow = 140;
constexpr int rowY(int row) { return kTop + row * kRow; }
// Left edges of the two halves; a box row starts after its cell and ends at the half's right edge.
constexpr int kLeft = 60;
constexpr int kRight = 1765;
constexpr int kHalf = 1705;
// The cells before the boxes of a row: the block's tall cell and the row's name.
constexpr int kCells = 550;

// A cell of the table: white words on the teal ground.
ControlSpec cell(int n, int x, int y, int w, int h, const QString &text, Font font = kCell)
{
    return label(st(n), x, y, w, h, text, font, kWhite, kTeal, ui::AlignCenter);
}

// The place row of a block: province "省" city "市" county "县", the words on ivory.
QList<ControlSpec> placeRow(int x, int y, const QStringList &boxes, int firstLabel, quint32 flags, int firstTab)
{
    QList<ControlSpec> t;
    const QStringList words = {QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("县")};
    for (int i = 0; i < 3; ++i) {
        const int bx = x + i * 380;
        t << edit(boxes.at(i), bx, y + 24, 285, 92, kEntry, firstTab + 10 * i, flags);
        t << label(st(firstLabel + i), bx + 290, y + 24, 80, 92, words.at(i), kCell, kWindowText, kIvory,
                   ui::AlignCenter);
    }
    return t;
}

QList<ControlSpec> controls()
{
    QList<ControlSpec> t;
    t << pickerButton(QStringLiteral("pb_1"), kRight + kHalf - 100, rowY(0) + 34, 220)
      << pickerButton(QStringLiteral("pb_2"), kLeft + kHalf - 100, rowY(4) + 34, 220);
    t << label(st(1), 1100, 40, 1330, 130, QStringLiteral("银行电汇凭证"), {kHei, 16, 700}, kBlue, ui::kNoColor,
               ui::AlignCenter);

    // The date of the order.
    const Font dateFont{kHei, 12, 700};
    t << label(st(2), 1150, 210, 300, 88, QStringLiteral("委托日期"), kCell)
      << edit(sle(1), 1460, 210, 200, 88, dateFont, 0) << label(st(3), 1665, 210, 70, 88, QStringLiteral("年"), kCell)
      << edit(sle(2), 1740, 210, 130, 88, dateFont, 0) << label(st(4), 1875, 210, 70, 88, QStringLiteral("月"), kCell)
      << edit(sle(3), 1950, 210, 130, 88, dateFont, 0) << label(st(5), 2085, 210, 70, 88, QStringLiteral("日"), kCell);

    // The remitter's block: the unit and its own account, all filled in by the form.
    const int boxX = kLeft + kCells, boxW = kHalf - kCells - 15;
    t << cell(6, kLeft, kTop, 130, 4 * kRow, QStringLiteral("        汇款人"));
    const QStringList remitterRows = {QStringLiteral("全  称"), QStringLiteral("汇出行名"),
                                      QStringLiteral("帐号或住址"), QStringLiteral("汇出地点")};
    for (int r = 0; r < 4; ++r)
        t << cell(7 + r, kLeft + 130, rowY(r), kCells - 140, kRow, remitterRows.at(r));
    t << edit(sle(4), boxX, rowY(0) + 24, boxW, 92, kEntry, 10, ui::DisplayOnly)
      << accountList(boxX, rowY(1) + 24, boxW, 20)
      << edit(sle(5), boxX, rowY(2) + 24, boxW, 92, kEntry, 30, ui::DisplayOnly);
    t << placeRow(boxX, rowY(3), {sle(6), sle(11), sle(12)}, 11, ui::DisplayOnly, 40);

    // The payee's block.
    const int payeeX = kRight + kCells;
    t << cell(14, kRight, kTop, 130, 4 * kRow, QStringLiteral("      收款人"));
    const QStringList payeeRows = {QStringLiteral("全  称"), QStringLiteral("汇入行名"), QStringLiteral("帐号或住址"),
                                   QStringLiteral("汇入地点")};
    for (int r = 0; r < 4; ++r)
        t << cell(15 + r, kRight + 130, rowY(r), kCells - 140, kRow, payeeRows.at(r));
    t << edit(sle(7), payeeX, rowY(0) + 24, boxW, 92, kEntry, 80)
      << edit(sle(8), payeeX, rowY(1) + 24, boxW, 92, kEntry, 90, ui::DisplayOnly)
      << edit(sle(9), payeeX, rowY(2) + 24, boxW, 92, kEntry, 100, ui::DisplayOnly);
    t << placeRow(payeeX, rowY(3), {sle(14), sle(15), sle(16)}, 19, 0, 110);

    // Purpose and the amount in figures.
    t << cell(22, kLeft, rowY(4), kCells - 10, kRow, QStringLiteral("汇款用途"))
      << edit(sle(27), boxX, rowY(4) + 24, boxW, 92, kEntry, 70)
      << cell(23, kRight, rowY(4), kCells - 10, kRow, QStringLiteral("汇款金额(小写)"))
      << amountBox(payeeX, rowY(4) + 24, 800, 92, 140, {kHei, 12});

    // The amount in capitals and the ten digit columns.
    const int amountY = rowY(5);
    t << cell(24, kLeft, amountY, 130, 180, QStringLiteral("金额"))
      << label(st(25), 215, amountY + 50, 345, 92, QStringLiteral("人民币(大写)"), kSmallCell)
      << edit(sle(10), 570, amountY + 45, 1515, 92, {kHei, 12, 700}, 0);
    t << digitColumns({.heads = digitHeads(26), .boxes = digitBoxes(17), .x = 2235, .step = 120,
                       .headY = amountY + 10, .headHeight = 70, .boxY = amountY + 85, .boxInset = 8,
                       .headFont = {kSong, 10, 700}, .boxFont = {kSong, 11}});

    // The signature row: the operator after "会计"; the bank's stamp right of the line.
    const int signY = amountY + 215;
    t << label(st(36), 100, signY, 300, 88, QStringLiteral("单位主管"), kSmallCell)
      << label(st(37), 450, signY, 150, 88, QStringLiteral("会计"), kSmallCell)
      << edit(sle(28), 610, signY, 300, 88, kSmallCell, 0, ui::NoBorder, kCyan)
      << label(st(38), 950, signY, 150, 88, QStringLiteral("复核"), kSmallCell)
      << label(st(39), 1150, signY, 150, 88, QStringLiteral("记帐"), kSmallCell)
      << label(st(40), 1900, signY - 20, 400, 88, QStringLiteral("汇出行盖章"), kSmallCell)
      << label(st(41), 2700, signY + 60, 70, 88, QStringLiteral("年"), kSmallCell)
      << label(st(42), 2950, signY + 60, 70, 88, QStringLiteral("月"), kSmallCell)
      << label(st(43), 3200, signY + 60, 70, 88, QStringLiteral("日"), kSmallCell);

    t << formatBand(st(44), 1420, 1442, {150, 160, 170, 180, 190, 0, 0});
    t << buttonRow({.x = 790, .y = 1620, .gap = 80, .positioningWidth = 400, .save = {200},
                    .positioning = {240, kSong}, .print = {210, kSong}, .next = {220}, .exit = {230, kSong}});

    // The paper: the cyan panel, the frame of the table and its rules, the capitals' frame, the line under
    // the heading and the line that divides the signature row.
    const int tableBottom = amountY + 180;
    t << shape(QStringLiteral("r_1"), Kind::Rectangle, 30, 20, 3470, 1370, kDarkRed, kCyan)
      << shape(QStringLiteral("r_3"), Kind::Rectangle, kLeft, kTop, 2 * kHalf, tableBottom - kTop, kDarkRed)
      << shape(QStringLiteral("r_2"), Kind::Rectangle, 200, amountY + 20, 1900, 140, kDarkRed)
      << shape(QStringLiteral("ln_1"), Kind::Line, 1250, 180, 1030, 0, kBlue, ui::kNoColor, 8)
      << shape(QStringLiteral("ln_2"), Kind::Line, kRight, kTop, 0, 5 * kRow, kDarkRed)
      << shape(QStringLiteral("ln_3"), Kind::Line, kRight, tableBottom, 0, 1390 - tableBottom, kDarkRed);
    for (int r = 1; r <= 5; ++r)
        t << shape(QStringLiteral("ln_%1").arg(r + 3), Kind::Line, kLeft, rowY(r), 2 * kHalf, 0, kDarkRed);
    // Last, so that its frame lies over the paper.
    t << savedMark(st(45), 100, 40, 120, 45);
    return t;
}
} // namespace

form::FormDescription w_yhdh::describe()
{
    form::FormDescription d;
    d.className = QStringLiteral("w_yhdh");
    d.title = QStringLiteral("银行电汇开票");
    d.width = 3529;
    d.height = 1888;
    d.controls = controls();

    d.open = {.dateBoxes = {sle(1), sle(2), sle(3)},
              .operatorBox = sle(28),
              .unitBox = sle(4),
              .unitPlaceBoxes = {sle(6), sle(11), sle(12)},
              .accountList = QStringLiteral("ddlb_1")};
    d.buttons.positioning = QStringLiteral("cb_5");
    d.buttons.savedMark = {st(45), QStringLiteral("rr_2")};
    d.amount = {.box = QStringLiteral("em_1"), .capitals = sle(10), .digitBoxes = digitBoxes(17)};

    d.save = {QStringLiteral("xjzp"),
              {{QStringLiteral("rq"), SaveColumn::Rq},
               {QStringLiteral("xkr"), SaveColumn::Box, sle(7)},
               {QStringLiteral("et"), SaveColumn::Box, sle(27)},
               {QStringLiteral("fkhm"), SaveColumn::Box, QStringLiteral("ddlb_1")},
               {QStringLiteral("fkzh"), SaveColumn::Box, sle(5)},
               {QStringLiteral("kpr"), SaveColumn::Box, sle(28)},
               {QStringLiteral("an"), SaveColumn::Amount},
               {QStringLiteral("shbank"), SaveColumn::Box, sle(8)},
               {QStringLiteral("shcode"), SaveColumn::Box, sle(9)},
               {QStringLiteral("bz"), SaveColumn::Literal, QStringLiteral("银行电汇")}}};
    // The boxes as the operator reads them, for a text the register cannot hold.
    d.save.captions = {{QStringLiteral("xkr"), QStringLiteral("收款人全称")},
                       {QStringLiteral("et"), QStringLiteral("汇款用途")},
                       {QStringLiteral("fkhm"), QStringLiteral("汇出行名")},
                       {QStringLiteral("fkzh"), QStringLiteral("汇款人帐号或住址")},
                       {QStringLiteral("kpr"), QStringLiteral("会计")},
                       {QStringLiteral("shbank"), QStringLiteral("汇入行名")},
                       {QStringLiteral("shcode"), QStringLiteral("收款人帐号或住址")}};

    d.reset.accountList = QStringLiteral("ddlb_1");
    d.reset.emptied = QStringList{sle(5), sle(7), sle(9), sle(14), sle(15), sle(16), sle(8), sle(10),
                                  QStringLiteral("em_1")}
                      + digitBoxes(17) + QStringList{sle(27)};

    // In the order the voucher is printed: the places and both banks in font 3, named by each call.
    d.print = {.family = forms::Family::WireTransfer,
               .fields = {{1, Source::box(sle(1))},
                          {2, Source::box(sle(2))},
                          {3, Source::box(sle(3))},
                          {4, Source::box(sle(4))},
                          {5, Source::box(sle(5))},
                          {6, Source::box(sle(11))},
                          {7, Source::box(sle(6))},
                          {8, Source::box(sle(12))},
                          {9, Source::printBank(), Source::box(QStringLiteral("ddlb_1"))},
                          {11, Source::box(sle(7))},
                          {12, Source::box(sle(9))},
                          {13, Source::box(sle(15))},
                          {14, Source::box(sle(14))},
                          {16, Source::box(sle(16))},
                          {17, Source::box(sle(8))},
                          {10, Source::box(sle(10))},
                          {15, {}},
                          {18, Source::box(sle(27))},
                          {19, Source::box(sle(28))}},
               .smallFontByArgument = true,
               .layoutWindow = QStringLiteral("w_setprint3")};

    d.account = form::AccountChoice{.list = QStringLiteral("ddlb_1"), .numberBox = sle(5), .emptyFirst = false,
                                    .focusAfter = sle(27)};
    d.lookups = {
        {.keyBox = sle(7),
         .sql = QStringLiteral(
             "SELECT skrname , skrcode , skrbank , prov , city , xian FROM skrbook WHERE bs = ?"),
         .targets = {Target::box(sle(7)), Target::box(sle(9)), Target::box(sle(8)), Target::box(sle(14)),
                     Target::box(sle(15)), Target::box(sle(16))}},
        {.keyBox = sle(27),
         .sql = QStringLiteral("SELECT ctext FROM bs_1 WHERE cid = ?"),
         .targets = {Target::box(sle(27))}},
    };
    return d;
}

w_yhdh::w_yhdh() : form::FormWindow(describe())
{
    // The tall cells name their block down the cell; the digit heads are boxed as on the paper.
    for (int n : {6, 14, 24})
        if (auto *cell = get<QLabel>(st(n)))
            standUpright(cell);
    frameLabels(this, digitHeads(26));
}
