#include "vouchers/w_ysbk.h"

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
constexpr qint64 kPaper = 15794175;

const Font kCell{kHei, 12, 700};
const Font kEntry{kSong, 12};
const Font kSmallBold{kHei, 10, 700};

constexpr int kTop = 320;
constexpr int kRow = 140;
constexpr int rowY(int row) { return kTop + row * kRow; }
constexpr int kLeft = 60;
constexpr int kRight = 1765;
constexpr int kBoxLeft = kLeft + 560;
constexpr int kBoxRight = kRight + 560;
constexpr int kBoxWidth = 1130;
constexpr int kAmountHeight = 320;
constexpr int kAmountY = rowY(4);
constexpr int kPurposeY = kAmountY + kAmountHeight;

// The digit boxes and their heads from 亿 down to 分.
QStringList amountDigits() { return QStringList{sle(11)} + digitBoxes(14); }
QStringList amountHeads() { return QStringList{st(25)} + digitHeads(13); }

// The labels of the blocks' rows, framed in the constructor.
const QList<int> kRowLabels = {7, 24, 9, 23, 8, 3, 10, 33};
// The vertical labels that name a block or a row down their cell.
const QList<int> kTallLabels = {2, 11, 30, 34};

// The mark printed in large type on the voucher; "开" until the operator changes it.
ControlSpec markBox(int x, int y)
{
    ControlSpec box = edit(sle(28), x, y, 300, 120, {kHei, 12, 700}, 150);
    box.text = QStringLiteral("开");
    return box;
}

QList<ControlSpec> controls()
{
    QList<ControlSpec> t;
    t << pickerButton(QStringLiteral("pb_1"), kBoxRight + kBoxWidth - 100, rowY(0) + 34, 60)
      << pickerButton(QStringLiteral("pb_2"), 1650, kPurposeY + 25, 110);
    t << label(st(1), 1000, 50, 1580, 130, QStringLiteral("预算拨款凭证（支款凭证）"), {kHei, 18, 700},
               kWindowText, ui::kNoColor, ui::AlignCenter);

    // The date and, at the right end, the voucher number of the heading.
    const quint32 fixedWidth = ui::NoHScroll;
    t << label(st(36), 1150, 210, 300, 88, QStringLiteral("拨款日期:"), kCell)
      << edit(sle(1), 1455, 210, 200, 88, kSmallBold, 0, fixedWidth)
      << label(st(4), 1660, 210, 70, 88, QStringLiteral("年"), kCell)
      << edit(sle(2), 1735, 210, 120, 88, kSmallBold, 0, fixedWidth)
      << label(st(5), 1860, 210, 70, 88, QStringLiteral("月"), kCell)
      << edit(sle(3), 1935, 210, 120, 88, kSmallBold, 0, fixedWidth)
      << label(st(6), 2060, 210, 70, 88, QStringLiteral("日"), kCell)
      << label(st(28), 2900, 210, 70, 88, QStringLiteral("第"), kCell)
      << edit(sle(12), 2975, 210, 380, 88, kEntry, 0, fixedWidth)
      << label(st(29), 3360, 210, 70, 88, QStringLiteral("号"), kCell);

    // The payer block: the unit, its own account, the voucher number.
    t << label(st(2), kLeft, kTop, 130, 4 * kRow, QStringLiteral("  付款单位"), kCell, kWindowText, ui::kNoColor,
               ui::AlignCenter);
    t << label(st(7), kLeft + 130, rowY(0), 420, kRow, QStringLiteral("全    称"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(4), kBoxLeft, rowY(0) + 24, kBoxWidth, 92, kEntry, 10, ui::DisplayOnly);
    t << label(st(24), kLeft + 130, rowY(1), 420, kRow, QStringLiteral("开户银行"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << accountList(kBoxLeft, rowY(1) + 24, kBoxWidth, 20);
    t << label(st(9), kLeft + 130, rowY(2), 420, kRow, QStringLiteral("帐    号"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(5), kBoxLeft, rowY(2) + 24, kBoxWidth, 92, kEntry, 30, ui::DisplayOnly);
    t << label(st(23), kLeft + 130, rowY(3), 420, kRow, QStringLiteral("票据号码"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(8), kBoxLeft, rowY(3) + 24, kBoxWidth, 92, kEntry, 40, fixedWidth | ui::Identifier);

    // The payee block and the amount in figures.
    t << label(st(11), kRight, kTop, 130, 4 * kRow, QStringLiteral("  收款单位"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter);
    t << label(st(8), kRight + 130, rowY(0), 420, kRow, QStringLiteral("全    称"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(6), kBoxRight, rowY(0) + 24, kBoxWidth, 92, kEntry, 50);
    t << label(st(3), kRight + 130, rowY(1), 420, kRow, QStringLiteral("开户银行"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(7), kBoxRight, rowY(1) + 24, kBoxWidth, 92, kEntry, 70, ui::DisplayOnly);
    t << label(st(10), kRight + 130, rowY(2), 420, kRow, QStringLiteral("帐    号"), kCell, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << edit(sle(9), kBoxRight, rowY(2) + 24, kBoxWidth, 92, kEntry, 80, ui::DisplayOnly);
    t << label(st(33), kRight + 130, rowY(3), 420, kRow, QStringLiteral("收款金额(小写)"), kSmallBold,
               kWindowText, ui::kNoColor, ui::AlignCenter)
      << amountBox(kBoxRight, rowY(3) + 24, 800, 92, 90, kEntry, QStringLiteral("###,###,###.00"));

    // The amount in capitals and the eleven digit columns.
    const int amountY = kAmountY;
    t << label(st(30), kLeft, amountY, 130, kAmountHeight, QStringLiteral("拨款金额"), kSmallBold, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << label(st(12), 215, amountY + 115, 345, 92, QStringLiteral("人民币(大写)"), kSmallBold)
      << edit(sle(10), 570, amountY + 115, 1715, 92, {kHei, 12, 700}, 0, ui::DisplayOnly | ui::NoBorder, kPaper);
    t << digitColumns({.heads = amountHeads(), .boxes = amountDigits(), .x = 2330, .step = 105,
                       .headY = amountY + 65, .headHeight = 70, .boxY = amountY + 150, .boxInset = 8,
                       .headFont = {kSong, 10, 700}, .boxFont = {kSong, 10, 700}, .boxFlags = fixedWidth});

    // Purpose and the budget classification 类 / 款 / 项.
    const int purposeY = kPurposeY;
    t << label(st(35), kLeft + 20, purposeY + 20, 180, 92, QStringLiteral("用途"), kCell)
      << edit(sle(13), 270, purposeY + 15, 1480, 92, kEntry, 100, fixedWidth)
      << label(st(34), kRight, purposeY, 130, 360, QStringLiteral("银行会计分录"), kSmallBold, kWindowText,
               ui::kNoColor, ui::AlignCenter)
      << label(st(27), 1910, purposeY + 20, 100, 92, QStringLiteral("类:"), kCell)
      << edit(sle(25), 2010, purposeY + 15, 400, 92, kEntry, 120, fixedWidth)
      << label(st(32), 2430, purposeY + 20, 100, 92, QStringLiteral("款:"), kCell)
      << edit(sle(27), 2530, purposeY + 15, 400, 92, kEntry, 130, fixedWidth)
      << label(st(31), 2950, purposeY + 20, 100, 92, QStringLiteral("项:"), kCell)
      << edit(sle(26), 3050, purposeY + 15, 400, 92, kEntry, 140, fixedWidth);

    // The mark of the paying unit; the bank's entries in a faded colour with the operator.
    const int lowerY = purposeY + 120;
    t << label(st(40), kLeft + 20, lowerY + 60, 480, 92, QStringLiteral("拨款单位盖章:"), kCell)
      << markBox(570, lowerY + 45)
      << label(st(39), 1910, lowerY + 25, 700, 80, QStringLiteral("(借)__________"), kCell, kGrey)
      << label(st(26), 1910, lowerY + 125, 700, 80, QStringLiteral("对方科目__________"), kCell, kGrey)
      << label(st(38), 2700, lowerY + 125, 220, 80, QStringLiteral("复核员"), kCell, kGrey)
      << label(st(37), 2950, lowerY + 125, 220, 80, QStringLiteral("记帐员"), kCell, kGrey)
      << edit(sle(24), 3180, lowerY + 120, 300, 88, kSmallBold, 0, fixedWidth | ui::NoBorder, kPaper);

    t << formatBand(st(41), 1590, 1612, {160, 170, 180, 190, 200, 210, 220});
    t << buttonRow({.x = 790, .y = 1750, .gap = 80, .positioningWidth = 400, .save = {230},
                    .positioning = {240, kSong}, .print = {250, kSong}, .next = {260}, .exit = {270, kSong}});

    // The paper, the form's frame, the frame of the capitals and the two rules of the classification.
    const int frameBottom = lowerY + 240;
    t << shape(QStringLiteral("r_1"), Kind::Rectangle, 20, 20, 3530, frameBottom + 20, kDarkRed, kPaper)
      << shape(QStringLiteral("r_3"), Kind::Rectangle, kLeft, kTop, 3450, frameBottom - kTop, kDarkRed)
      << shape(QStringLiteral("r_2"), Kind::Rectangle, 200, amountY + 80, 2100, 160, kDarkRed)
      << shape(QStringLiteral("ln_1"), Kind::Line, kRight, lowerY, 3450 + kLeft - kRight, 0, kDarkRed)
      << shape(QStringLiteral("ln_2"), Kind::Line, kRight, purposeY, 0, frameBottom - purposeY, kDarkRed);
    // Last, so that its frame lies over the paper.
    t << savedMark(st(42), 80, 40, 120, 45);
    return t;
}
} // namespace

form::FormDescription w_ysbk::describe()
{
    form::FormDescription d;
    d.className = QStringLiteral("w_ysbk");
    d.title = QStringLiteral("预算拨款凭证(支款凭证)开票");
    d.width = 3579;
    d.height = 1888;
    d.controls = controls();

    d.open = {.dateBoxes = {sle(1), sle(2), sle(3)},
              .operatorBox = sle(24),
              .unitBox = sle(4),
              .unitBeforeOperator = true,
              .accountList = QStringLiteral("ddlb_1")};
    d.buttons.positioning = QStringLiteral("cb_5");
    d.buttons.savedMark = {st(42), QStringLiteral("rr_2")};
    d.amount = {.box = QStringLiteral("em_1"), .capitals = sle(10), .digitBoxes = amountDigits()};

    // The payee goes into fkhm/fkzh and the unit's own account into shbank/shcode.
    d.save = {QStringLiteral("xjzp"),
              {{QStringLiteral("rq"), SaveColumn::Rq},
               {QStringLiteral("zphm"), SaveColumn::Box, sle(8)},
               {QStringLiteral("xkr"), SaveColumn::Box, sle(6)},
               {QStringLiteral("et"), SaveColumn::Box, sle(13)},
               {QStringLiteral("fkhm"), SaveColumn::Box, sle(7)},
               {QStringLiteral("fkzh"), SaveColumn::Box, sle(9)},
               {QStringLiteral("kpr"), SaveColumn::Box, sle(24)},
               {QStringLiteral("an"), SaveColumn::Amount},
               {QStringLiteral("shbank"), SaveColumn::Box, QStringLiteral("ddlb_1")},
               {QStringLiteral("shcode"), SaveColumn::Box, sle(5)},
               {QStringLiteral("bz"), SaveColumn::Literal, QStringLiteral("预算付款")}}};
    // The boxes as the operator reads them, for a text the register cannot hold.
    d.save.captions = {{QStringLiteral("zphm"), QStringLiteral("票据号码")},
                       {QStringLiteral("xkr"), QStringLiteral("收款单位全称")},
                       {QStringLiteral("et"), QStringLiteral("用途")},
                       {QStringLiteral("fkhm"), QStringLiteral("收款单位开户银行")},
                       {QStringLiteral("fkzh"), QStringLiteral("收款单位帐号")},
                       {QStringLiteral("kpr"), QStringLiteral("记帐员")},
                       {QStringLiteral("shbank"), QStringLiteral("付款单位开户银行")},
                       {QStringLiteral("shcode"), QStringLiteral("付款单位帐号")}};

    // The mark box keeps a changed mark for the next voucher.
    d.reset.accountList = QStringLiteral("ddlb_1");
    d.reset.emptied = QStringList{sle(6), sle(7), sle(9), sle(8), QStringLiteral("em_1"), sle(5), sle(10)}
                      + amountDigits() + QStringList{sle(13), sle(25), sle(26), sle(27), sle(12)};

    // Fixed fonts, no font row: the mark prints in the 40-point font 3.
    d.print = {.family = forms::Family::BudgetVoucher,
               .fields = {{1, Source::box(sle(1))},
                          {2, Source::box(sle(2))},
                          {3, Source::box(sle(3))},
                          {4, Source::box(sle(6))},
                          {5, Source::box(sle(9))},
                          {6, Source::box(sle(7))},
                          {7, Source::box(sle(4))},
                          {8, Source::box(sle(5))},
                          {9, Source::printBank(), Source::box(QStringLiteral("ddlb_1"))},
                          {10, Source::box(sle(10))},
                          {15, {}},
                          {11, Source::box(sle(13))},
                          {12, Source::box(sle(12))},
                          {13, Source::box(sle(25))},
                          {16, Source::box(sle(27))},
                          {17, Source::box(sle(26))},
                          {14, Source::box(sle(28))}},
               .fixedFonts = {{kSong, 11, 400}, {kHei, 12, 800}, {kSong, 40, 400}},
               .layoutWindow = QStringLiteral("w_setprint4")};

    d.account = form::AccountChoice{.list = QStringLiteral("ddlb_1"), .numberBox = sle(5)};
    // The lookups hand their rows over through the picker slots; the picker button after the box shows them.
    d.lookups = {
        {.keyBox = sle(6),
         .sql = QStringLiteral("SELECT skrname , skrcode , skrbank FROM skrbook WHERE bs = ?"),
         .targets = {Target::pickerSlot(1), Target::pickerSlot(2), Target::pickerSlot(3)}},
        {.keyBox = sle(13),
         .sql = QStringLiteral("SELECT ctext FROM bs_1 WHERE cid = ?"),
         .targets = {Target::pickerSlot(8)}},
    };
    d.echoes = {{sle(8), {sle(12)}}};
    return d;
}

w_ysbk::w_ysbk() : form::FormWindow(describe())
{
    for (int n : kTallLabels)
        if (auto *cell = get<QLabel>(st(n))) {
            standUpright(cell);
            cell->setFrameShape(QFrame::Box);
        }
    for (int n : kRowLabels)
        if (auto *cell = get<QLabel>(st(n)))
            cell->setFrameShape(QFrame::Box);
    frameLabels(this, amountHeads());
}
