#include "draft_deposit/w_find.h"

#include "cheques/paper.h"

using form::PrintField;
using form::SaveColumn;
using form::Source;
using form::Target;
using ui::ControlSpec;
using ui::Font;
using ui::Kind;
using namespace paper;

namespace {
const Font kLabel{kHei, 12, 700};
const Font kEntry{kSong, 12};

// The grid of bordered label cells: two columns of four rows, each cell followed by its box.
constexpr int kRowY[4] = {330, 460, 590, 720};
constexpr int kRowHeight = 130;
constexpr int kLeftLabelX = 70, kLeftBoxX = 480, kLeftBoxWidth = 1260;
constexpr int kRightLabelX = 1760, kRightBoxX = 2170, kRightBoxWidth = 1270;
constexpr int kLabelWidth = 400;

// A word of the paper form: disabled, on the paper's green.
ControlSpec word(const QString &name, int x, int y, int w, int h, const QString &text, Font font,
                 qint64 color = kWindowText, quint32 flags = 0)
{
    return label(name, x, y, w, h, text, font, color, kGreen, ui::Disabled | flags);
}

ControlSpec cell(int st, int row, bool right, const QString &text, Font font = kLabel)
{
    return word(paper::st(st), right ? kRightLabelX : kLeftLabelX, kRowY[row], kLabelWidth, kRowHeight, text, font,
                kWindowText, ui::AlignCenter);
}

ControlSpec box(int n, int row, bool right, int tabOrder, quint32 flags = 0)
{
    return edit(sle(n), right ? kRightBoxX : kLeftBoxX, kRowY[row] + 17, right ? kRightBoxWidth : kLeftBoxWidth,
                96, kEntry, tabOrder, flags);
}

QList<ControlSpec> controls()
{
    QList<ControlSpec> t;
    // The picker buttons lie over the right ends of the payee and purpose boxes.
    t << pickerButton(QStringLiteral("pb_1"), kRightBoxX + kRightBoxWidth - 95, kRowY[0] + 29, 90)
      << pickerButton(QStringLiteral("pb_2"), kLeftBoxX + kLeftBoxWidth - 95, kRowY[3] + 29, 210);

    // Heading, application number and date.
    t << word(st(1), 1160, 56, 1200, 130, QStringLiteral("银行汇票申请书"), {kHei, 16, 700}, kNavy, ui::AlignCenter);
    t << word(st(33), 2720, 88, 150, 88, QStringLiteral("号码"), kLabel);
    t << edit(sle(21), 2880, 84, 540, 96, {kHei, 12, 700}, 10, ui::NoHScroll | ui::Identifier, kGreen, kRed);
    const Font dateFont{kHei, 10, 700};
    t << word(st(2), 1180, 226, 360, 84, QStringLiteral("申请日期："), dateFont)
      << edit(sle(17), 1540, 222, 200, 88, dateFont, 0, ui::NoHScroll)
      << word(st(3), 1745, 226, 70, 84, QStringLiteral("年"), dateFont)
      << edit(sle(18), 1820, 222, 120, 88, dateFont, 0, ui::NoHScroll)
      << word(st(4), 1945, 226, 70, 84, QStringLiteral("月"), dateFont)
      << edit(sle(19), 2020, 222, 120, 88, dateFont, 0, ui::NoHScroll)
      << word(st(5), 2145, 226, 70, 84, QStringLiteral("日"), dateFont);

    // Applicant's side.
    t << cell(6, 0, false, QStringLiteral("申请人")) << box(1, 0, false, 20, ui::DisplayOnly);
    t << cell(7, 1, false, QStringLiteral("付款行名称"))
      << accountList(kLeftBoxX, kRowY[1] + 17, kLeftBoxWidth, 30, 600);
    t << cell(30, 2, false, QStringLiteral("帐号或住址")) << box(2, 2, false, 40);
    t << cell(8, 3, false, QStringLiteral("用途")) << box(3, 3, false, 50);
    // Payee's side.
    t << cell(9, 0, true, QStringLiteral("收款人")) << box(4, 0, true, 60);
    t << cell(31, 1, true, QStringLiteral("帐号或住址")) << box(24, 1, true, 70, ui::DisplayOnly);
    t << cell(11, 2, true, QStringLiteral("代理付款行")) << box(6, 2, true, 80);
    t << cell(10, 3, true, QStringLiteral("汇款金额(小写)"), {kHei, 10, 700})
      << amountBox(kRightBoxX, kRowY[3] + 17, kRightBoxWidth, 96, 100);

    // Amount row: capitals and the digit columns.
    t << word(st(12), 80, 916, 380, 88, QStringLiteral("汇票金额"), {kHei, 14, 700}, kWindowText, ui::AlignCenter);
    t << word(st(13), 490, 916, 420, 88, QStringLiteral("人民币(大写)"), {kHei, 12});
    t << edit(sle(20), 920, 910, 1420, 100, {kHei, 12, 700}, 0, 0, kCream);
    t << digitColumns({.heads = digitHeads(14), .boxes = digitBoxes(7), .x = 2380, .step = 104, .headY = 876,
                       .headHeight = 84, .boxY = 960, .headFont = {kHei, 10, 700}, .boxFont = {kSong, 11},
                       .ground = kGreen, .headFlags = ui::Disabled, .boxFlags = ui::NoHScroll});

    // Lower part: remarks on the left, accounts and signatures on the right.
    t << word(st(24), 90, 1080, 200, 84, QStringLiteral("备注"), kLabel)
      << word(st(25), 1780, 1080, 700, 84, QStringLiteral("科    目"), kLabel, kTeal)
      << word(st(26), 1780, 1170, 700, 84, QStringLiteral("对方科目"), kLabel, kTeal)
      << word(st(27), 1780, 1300, 300, 84, QStringLiteral("财务主管"), kLabel)
      << word(st(28), 2160, 1300, 160, 84, QStringLiteral("复核"), kLabel)
      << word(st(29), 2560, 1300, 160, 84, QStringLiteral("经办"), kLabel);
    t << edit(sle(22), 2730, 1296, 600, 92, {kHei, 12, 700}, 0, ui::NoBorder | ui::NoHScroll, kGreen, kWindowText);

    // The paper, lowest first.
    t << shape(QStringLiteral("r_1"), Kind::Rectangle, 40, 30, 3440, 1380, kDarkGrey, kGreen)
      << shape(QStringLiteral("ln_1"), Kind::Line, 1260, 190, 1000, 0, kNavy, ui::kNoColor, 2)
      << shape(QStringLiteral("r_2"), Kind::Rectangle, 70, 330, 3380, 520, kGrey)
      << shape(QStringLiteral("r_3"), Kind::Rectangle, 70, 870, 3380, 180, kGrey)
      << shape(QStringLiteral("ln_3"), Kind::Line, 470, 870, 0, 180, kGrey)
      << shape(QStringLiteral("ln_2"), Kind::Line, 1740, 1050, 0, 360, kGrey);

    t << formatBand(st(32), 1450, 1474, {110, 120, 130, 140, 150, 0, 0}, Order::RadiosFirst);
    t << buttonRow({.x = 900, .y = 1640, .gap = 40, .positioningWidth = 420, .save = {160}, .positioning = {170},
                    .print = {180}, .next = {190}, .exit = {200}});
    t << savedMark(st(34), 90, 60, 144, 46, kGreen);
    return t;
}
} // namespace

form::FormDescription w_find::describe()
{
    form::FormDescription d;
    d.className = QStringLiteral("w_find");
    d.title = QStringLiteral("汇票委托书开票");
    d.width = 3520;
    d.height = 1888;
    d.controls = controls();

    // No focus is set: the application number, the first tab stop, has it.
    d.open = {.dateBoxes = {sle(17), sle(18), sle(19)},
              .operatorBox = sle(22),
              .unitBox = sle(1),
              .accountList = QStringLiteral("ddlb_1"),
              .pickerSlotsCleared = {1, 2, 3, 4, 5, 6, 8}};
    d.buttons.positioning = QStringLiteral("cb_5");
    d.buttons.savedMark = {st(34), QStringLiteral("rr_2")};
    d.amount = {.box = QStringLiteral("em_1"), .capitals = sle(20), .digitBoxes = digitBoxes(7)};

    d.save = {QStringLiteral("xjzp"),
              {{QStringLiteral("rq"), SaveColumn::Rq},
               {QStringLiteral("zphm"), SaveColumn::Box, sle(21)},
               {QStringLiteral("xkr"), SaveColumn::Box, sle(4)},
               {QStringLiteral("et"), SaveColumn::Box, sle(3)},
               {QStringLiteral("fkhm"), SaveColumn::Box, QStringLiteral("ddlb_1")},
               {QStringLiteral("fkzh"), SaveColumn::Box, sle(2)},
               {QStringLiteral("kpr"), SaveColumn::Box, sle(22)},
               {QStringLiteral("an"), SaveColumn::Amount},
               {QStringLiteral("shbank"), SaveColumn::Box, sle(6)},
               {QStringLiteral("shcode"), SaveColumn::Box, sle(24)},
               {QStringLiteral("bz"), SaveColumn::Literal, QStringLiteral("银行汇票")}}};
    // The boxes as the operator reads them, for a text the register cannot hold.
    d.save.captions = {{QStringLiteral("zphm"), QStringLiteral("号码")},
                       {QStringLiteral("xkr"), QStringLiteral("收款人")},
                       {QStringLiteral("et"), QStringLiteral("用途")},
                       {QStringLiteral("fkhm"), QStringLiteral("付款行名称")},
                       {QStringLiteral("fkzh"), QStringLiteral("申请人帐号或住址")},
                       {QStringLiteral("kpr"), QStringLiteral("经办")},
                       {QStringLiteral("shbank"), QStringLiteral("代理付款行")},
                       {QStringLiteral("shcode"), QStringLiteral("收款人帐号或住址")}};

    // The reset unchecks the first format only: a later format stays checked for the next application.
    d.reset.accountList = QStringLiteral("ddlb_1");
    d.reset.emptied = QStringList{sle(21), sle(2), sle(3), sle(4), sle(24), sle(6), QStringLiteral("em_1"), sle(20)}
                      + digitBoxes(7);
    d.reset.uncheckedRadios = QStringList{QStringLiteral("rb_1")};

    // Pairs 11 to 13 have no field on this form: read with the row, never printed, handed over empty.
    d.print = {.family = forms::Family::DraftApplication,
               .fields = {{1, Source::box(sle(17))},
                          {2, Source::box(sle(18))},
                          {3, Source::box(sle(19))},
                          {4, Source::box(sle(1))},
                          {5, Source::box(sle(2))},
                          {6, Source::box(sle(3))},
                          {7, Source::box(sle(4))},
                          {8, Source::box(sle(24))},
                          {9, Source::box(sle(6))},
                          {10, Source::box(sle(20))},
                          {15, {}},
                          {14, Source::box(sle(22))}},
               .extraSamples = {{11, Source::literal({})}, {12, Source::literal({})}, {13, Source::literal({})}},
               .layoutWindow = QStringLiteral("w_setprint2")};

    // The account number only: the draft application prints no bank name of the unit's account.
    d.account = form::AccountChoice{.list = QStringLiteral("ddlb_1"), .numberBox = sle(2), .readsPrintBank = false};
    d.lookups = {
        {.keyBox = sle(3),
         .sql = QStringLiteral("SELECT ctext FROM bs_1 WHERE cid = ?"),
         .targets = {Target::box(sle(3))}},
        {.keyBox = sle(4),
         .sql = QStringLiteral("SELECT skrname , skrcode , skrbank FROM skrbook WHERE bs = ?"),
         .targets = {Target::box(sle(4)), Target::box(sle(24)), Target::box(sle(6))}},
    };
    return d;
}

w_find::w_find() : form::FormWindow(describe())
{
    frameLabels(this, QStringList{st(6), st(7), st(30), st(8), st(9), st(31), st(11), st(10)} + digitHeads(14));
}
