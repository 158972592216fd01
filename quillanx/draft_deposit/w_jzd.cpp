#include "draft_deposit/w_jzd.h"

#include "cheques/paper.h"
#include "platform/services.h"

#include <QIcon>
#include <QLabel>

using form::SaveColumn;
using form::Source;
using form::Target;
using ui::ControlSpec;
using ui::Font;
using ui::Kind;
using namespace paper;

namespace {
const Font kLabel{kHei, 12, 700};
const Font kSmallLabel{kHei, 10, 700};
const Font kEntry{kSong, 12};

// The drawer's block on the left, the payee's on the right: a tall block label, three rows of a label
// cell and its box, and one row more under the block.
constexpr int kRowY[4] = {330, 440, 550, 660};
constexpr int kRowHeight = 110;
constexpr int kLeftX = 80, kRightX = 1750;
constexpr int kBoxOffset = 460, kBoxWidth[2] = {1150, 1230};

// A word of the paper form: disabled, on the paper's cream unless given another ground.
ControlSpec word(const QString &name, int x, int y, int w, int h, const QString &text, Font font,
                 qint64 color = kWindowText, quint32 flags = 0, qint64 ground = kCream)
{
    return label(name, x, y, w, h, text, font, color, ground, ui::Disabled | flags);
}

ControlSpec cell(int st, int row, bool right, const QString &text, Font font = kLabel)
{
    // Rows of the block sit right of the tall label; the row under the block spans both.
    const int x = (right ? kRightX : kLeftX) + (row < 3 ? 120 : 0);
    return word(paper::st(st), x, kRowY[row], row < 3 ? 330 : 450, kRowHeight, text, font, kWindowText,
                ui::AlignCenter);
}

ControlSpec box(int n, int row, bool right, int tabOrder, quint32 flags = 0)
{
    return edit(sle(n), (right ? kRightX : kLeftX) + kBoxOffset, kRowY[row] + 7, kBoxWidth[right], 96, kEntry,
                tabOrder, flags);
}

ControlSpec blockLabel(int st, bool right, const QString &text)
{
    return word(paper::st(st), right ? kRightX : kLeftX, kRowY[0], 120, 3 * kRowHeight, text, kLabel, kWindowText,
                ui::AlignCenter);
}

QList<ControlSpec> controls()
{
    QList<ControlSpec> t;
    t << pickerButton(QStringLiteral("pb_1"), kLeftX + kBoxOffset + kBoxWidth[0] - 95, kRowY[0] + 19, 20);

    // Heading and date.
    t << word(st(1), 1260, 50, 1000, 140, QStringLiteral("银行进帐单"), {kHei, 18, 700}, kBlue, ui::AlignCenter);
    const Font dateFont{kHei, 10, 700};
    t << edit(sle(1), 1440, 222, 200, 88, dateFont, 0, ui::NoHScroll)
      << word(st(4), 1645, 226, 70, 84, QStringLiteral("年"), kSmallLabel)
      << edit(sle(2), 1720, 222, 120, 88, dateFont, 0, ui::NoHScroll)
      << word(st(5), 1845, 226, 70, 84, QStringLiteral("月"), kSmallLabel)
      << edit(sle(3), 1920, 222, 120, 88, dateFont, 0, ui::NoHScroll)
      << word(st(6), 2045, 226, 70, 84, QStringLiteral("日"), kSmallLabel);

    // Drawer's block, in tab order.
    t << blockLabel(2, false, QStringLiteral("  出票人"));
    t << cell(7, 0, false, QStringLiteral("全    称")) << box(6, 0, false, 10);
    t << cell(24, 1, false, QStringLiteral("开户银行")) << box(7, 1, false, 30, ui::DisplayOnly);
    t << cell(9, 2, false, QStringLiteral("帐    号")) << box(9, 2, false, 40, ui::DisplayOnly);
    t << cell(23, 3, false, QStringLiteral("票据号码")) << box(8, 3, false, 50, ui::NoHScroll | ui::Identifier);
    // Payee's block: the unit itself with one of its accounts.
    t << blockLabel(11, true, QStringLiteral("  收款人"));
    t << cell(8, 0, true, QStringLiteral("全    称")) << box(4, 0, true, 60);
    t << cell(3, 1, true, QStringLiteral("开户银行"))
      << accountList(kRightX + kBoxOffset, kRowY[1] + 7, kBoxWidth[1], 70, 600);
    t << cell(10, 2, true, QStringLiteral("帐    号")) << box(5, 2, true, 80, ui::Identifier);
    t << cell(33, 3, true, QStringLiteral("收款金额(小写)"), kSmallLabel)
      << amountBox(kRightX + kBoxOffset, kRowY[3] + 7, kBoxWidth[1], 96, 90);

    // Amount row.
    t << word(st(12), 100, 830, 420, 88, QStringLiteral("人民币(大写)"), {kSong, 12, 700});
    t << edit(sle(10), 530, 826, 1780, 96, {kHei, 12, 700}, 0, ui::DisplayOnly | ui::NoBorder, kGreen, kWindowText);
    t << digitColumns({.heads = digitHeads(13), .boxes = digitBoxes(14), .x = 2380, .step = 104, .headY = 790,
                       .headHeight = 80, .boxY = 870, .headFont = {kSong, 10, 700}, .boxFont = {kSong, 10, 700},
                       .ground = kCream, .headFlags = ui::Disabled, .boxFlags = ui::NoHScroll});

    // Kind and number of bills, the stamp area, the signature row.
    t << word(st(35), 80, 990, 450, 110, QStringLiteral("票据种类"), kLabel, kWindowText, ui::AlignCenter);
    t << edit(sle(13), 540, 997, 700, 96, kEntry, 100, ui::NoHScroll);
    t.last().text = QStringLiteral("银行汇票");
    t << word(st(34), 80, 1110, 450, 110, QStringLiteral("票据张数"), kLabel, kWindowText, ui::AlignCenter);
    t << edit(sle(12), 540, 1117, 700, 96, kEntry, 110, ui::NoHScroll);
    t.last().text = QStringLiteral("1张");
    t << word(st(40), 2300, 1150, 800, 80, QStringLiteral("出票人开户行盖章"), {kSong, 10, 700}, kWindowText,
              ui::AlignCenter);
    t << word(st(36), 120, 1280, 300, 84, QStringLiteral("单位主管"), kSmallLabel, kWindowText, ui::AlignCenter,
              kLightBlue)
      << word(st(37), 900, 1280, 160, 84, QStringLiteral("会计"), kSmallLabel, kWindowText, ui::AlignCenter,
              kLightBlue)
      << word(st(38), 1800, 1280, 160, 84, QStringLiteral("复核"), kSmallLabel, kWindowText, ui::AlignCenter,
              kLightBlue)
      << word(st(39), 2600, 1280, 160, 84, QStringLiteral("记帐"), kSmallLabel, kWindowText, ui::AlignCenter,
              kLightBlue);
    t << edit(sle(24), 1070, 1276, 450, 92, dateFont, 0, ui::NoBorder | ui::NoHScroll, kCream, kWindowText);

    // The paper, lowest first.
    t << shape(QStringLiteral("r_1"), Kind::Rectangle, 40, 30, 3440, 1390, kDarkGrey, kCream)
      << shape(QStringLiteral("ln_1"), Kind::Line, 1360, 190, 800, 0, kBlue, ui::kNoColor, 2)
      << shape(QStringLiteral("r_3"), Kind::Rectangle, 70, 320, 3380, 1070, kGrey, kCream, 6)
      << shape(QStringLiteral("r_2"), Kind::Rectangle, 80, 790, 2250, 170, kGrey)
      << shape(QStringLiteral("ln_2"), Kind::Line, 1740, 970, 0, 290, kGrey);

    t << formatBand(st(41), 1450, 1474, {120, 130, 140, 150, 160, 0, 0}, Order::RadiosFirst);
    t << buttonRow({.x = 900, .y = 1640, .gap = 40, .positioningWidth = 420, .save = {170},
                    .positioning = {180, kSong}, .print = {190}, .next = {200}, .exit = {210}});
    t << savedMark(st(25), 90, 50, 144, 46, kCream);
    return t;
}
} // namespace

form::FormDescription w_jzd::describe()
{
    form::FormDescription d;
    d.className = QStringLiteral("w_jzd");
    d.title = QStringLiteral("银行进帐单开票");
    d.width = 3520;
    d.height = 1888;
    d.controls = controls();

    // The unit is the payee, written before the operator; slot 8 (a remark) is not this form's.
    d.open = {.dateBoxes = {sle(1), sle(2), sle(3)},
              .operatorBox = sle(24),
              .unitBox = sle(4),
              .unitBeforeOperator = true,
              .accountList = QStringLiteral("ddlb_1"),
              .pickerSlotsCleared = {1, 2, 3, 4, 5, 6}};
    d.buttons.positioning = QStringLiteral("cb_5");
    d.buttons.savedMark = {st(25), QStringLiteral("rr_2")};
    d.amount = {.box = QStringLiteral("em_1"), .capitals = sle(10), .digitBoxes = digitBoxes(14)};

    d.save = {QStringLiteral("jzd"),
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
               {QStringLiteral("bz"), SaveColumn::Literal, QStringLiteral("汇票进帐单")}}};
    // The boxes as the operator reads them, for a text the register cannot hold.
    d.save.captions = {{QStringLiteral("zphm"), QStringLiteral("票据号码")},
                       {QStringLiteral("xkr"), QStringLiteral("出票人全称")},
                       {QStringLiteral("et"), QStringLiteral("票据种类")},
                       {QStringLiteral("fkhm"), QStringLiteral("出票人开户银行")},
                       {QStringLiteral("fkzh"), QStringLiteral("出票人帐号")},
                       {QStringLiteral("kpr"), QStringLiteral("会计")},
                       {QStringLiteral("shbank"), QStringLiteral("收款人开户银行")},
                       {QStringLiteral("shcode"), QStringLiteral("收款人帐号")}};

    // Kind and number of bills stay for the next form, as the payee and the operator do.
    d.reset.accountList = QStringLiteral("ddlb_1");
    d.reset.emptied =
        QStringList{sle(6), sle(7), sle(9), sle(8), QStringLiteral("em_1"), sle(5), sle(10)} + digitBoxes(14);

    // Pair 9 prints the chosen account's print name; the layout window shows the account's name.
    d.print = {.family = forms::Family::DepositForm,
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
                          {13, Source::box(sle(8))},
                          {14, Source::box(sle(24))}},
               .layoutWindow = QStringLiteral("w_setprint")};

    d.account = form::AccountChoice{.list = QStringLiteral("ddlb_1"), .numberBox = sle(5)};
    // The drawer comes from the payer book.
    d.lookups = {
        {.keyBox = sle(6),
         .sql = QStringLiteral("SELECT skrname , skrcode , skrbank FROM fkrbook WHERE bs = ?"),
         .targets = {Target::box(sle(6)), Target::box(sle(9)), Target::box(sle(7))}},
    };
    return d;
}

w_jzd::w_jzd() : form::FormWindow(describe())
{
    setWindowIcon(QIcon(services::pictureResource(QStringLiteral("RunReport5.ico"))));
    frameLabels(this, QStringList{st(2), st(7), st(24), st(9), st(23), st(11), st(8), st(3), st(10), st(33), st(35),
                                  st(34)}
                          + digitHeads(13));
    // The block labels stand upright: one character a line.
    for (const QString &name : {st(2), st(11)})
        if (auto *label = get<QLabel>(name))
            label->setWordWrap(true);
}
