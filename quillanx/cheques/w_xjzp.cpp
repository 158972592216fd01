#include "cheques/w_xjzp.h"

#include "cheques/paper.h"

using form::PrintField;
using form::SaveColumn;
using form::Source;
using ui::ControlSpec;
using ui::Font;
using ui::Kind;
using namespace paper;

namespace {
// A word of the paper form: disabled, on the paper's light blue.
ControlSpec word(const QString &name, int x, int y, int w, int h, const QString &text, int points = 10,
                 qint64 color = kWindowText, quint32 flags = 0, int weight = 400)
{
    return label(name, x, y, w, h, text, {kSong, points, weight}, color, kLightBlue, ui::Disabled | flags);
}

// A pre-printed word of the paper (teal).
ControlSpec printed(const QString &name, int x, int y, int w, int h, const QString &text, int points = 10)
{
    return word(name, x, y, w, h, text, points, kTeal);
}

// A box of the cheque that shows what the form wrote there: no border, on the paper.
ControlSpec shown(const QString &name, int x, int y, int w, int h, Font font, qint64 text = kWindowText)
{
    return edit(name, x, y, w, h, font, 0, ui::DisplayOnly | ui::NoBorder, kLightBlue, text);
}

// The radios sit in their own columns of this form, every one a tab stop.
ControlSpec radio(int k, int x) { return formatRadio(k, x, 1316, 60 + 10 * k); }

// Digit boxes sle_14 (千万) .. sle_23 (分) and their column heads.
constexpr int kDigitX[10] = {2505, 2597, 2693, 2784, 2875, 2971, 3063, 3154, 3250, 3342};
struct DigitHead {
    int label;
    const char16_t *text;
};
constexpr DigitHead kDigitHeads[10] = {{27, u"千"}, {28, u"百"}, {29, u"十"}, {26, u"万"}, {30, u"千"},
                                       {31, u"百"}, {32, u"十"}, {25, u"元"}, {33, u"角"}, {34, u"分"}};

QList<ControlSpec> controls()
{
    QList<ControlSpec> t;
    t << pickerButton(QStringLiteral("pb_2"), 722, 940, 140) << pickerButton(QStringLiteral("pb_1"), 722, 768, 180);
    t << label(st(46), 997, 88, 293, 80, QStringLiteral("已存盘"), {kHei, 14, 700}, kRed, ui::kNoColor,
               ui::Hidden | ui::AlignCenter);
    t << commandButton(QStringLiteral("cb_10"), 1413, 1448, 398, 108, QStringLiteral("打印定位"), kSong, 150);
    t << radio(7, 2930) << radio(6, 2587);
    t << label(st(47), 400, 1316, 360, 84, QStringLiteral("打印格式"), {kHei, 10, 700}, kRed, kYellow,
               ui::Disabled | ui::AlignCenter);
    t << radio(5, 2235) << radio(4, 1888) << radio(3, 1541) << radio(2, 1193) << radio(1, 846);
    t << edit(sle(26), 544, 1092, 242, 84, {kHei, 10, 700}, 0, ui::NoBorder, kLightBlue, kWindowText);
    t << commandButton(QStringLiteral("cb_1"), 1152, 1448, 247, 104, QStringLiteral("存盘"), kHei, 140);
    t << commandButton(QStringLiteral("cb_3"), 2089, 1452, 247, 104, QStringLiteral("下一张"), kHei, 170);
    t << shown(sle(13), 1070, 596, 1422, 104, {kHei, 12, 700});
    t << shown(sle(25), 2798, 1112, 489, 92, {kSong, 12}, kRed);
    // st_45 .. st_36: the pre-printed words of the lower body.
    t << printed(st(45), 2350, 1116, 420, 80, QStringLiteral("贴对号单处"))
      << printed(st(44), 3140, 964, 60, 80, QStringLiteral("日"))
      << printed(st(43), 2960, 964, 60, 80, QStringLiteral("月"))
      << printed(st(42), 2780, 964, 60, 80, QStringLiteral("年"))
      << printed(st(41), 2350, 964, 280, 80, QStringLiteral("付讫日期"))
      << printed(st(40), 870, 1140, 400, 80, QStringLiteral("出票人签章"))
      << printed(st(39), 870, 964, 460, 80, QStringLiteral("我帐户内支付"))
      << printed(st(38), 870, 880, 460, 80, QStringLiteral("上列款项请从"))
      << printed(st(37), 2350, 860, 620, 80, QStringLiteral("对方科目（贷）"))
      << printed(st(36), 2350, 760, 620, 80, QStringLiteral("科    目（借）"));
    t << shown(sle(24), 1147, 764, 1161, 92, {kHei, 12});
    t << word(st(35), 870, 768, 270, 88, QStringLiteral("用  途:"), 10);
    // st_34 .. st_25: the boxed column heads over the digit boxes.
    for (int label = 34; label >= 25; --label)
        for (int j = 0; j < 10; ++j)
            if (kDigitHeads[j].label == label)
                t << word(st(label), kDigitX[j], 548, 92, 80, QString::fromUtf16(kDigitHeads[j].text), 10,
                          kWindowText, ui::AlignCenter);
    for (int n = 23; n >= 14; --n)
        t << edit(sle(n), kDigitX[n - 14], 632, 96, 92, {kSong, 11}, 0, ui::RightToLeft | ui::NoHScroll);
    t << word(st(24), 875, 640, 190, 70, QStringLiteral("(大写)"), 10)
      << word(st(23), 875, 566, 190, 70, QStringLiteral("人民币"), 10);
    t << edit(sle(10), 2706, 344, 773, 92, {kSong, 12}, 60, ui::DisplayOnly, kWhite);
    t << word(st(22), 2340, 348, 366, 88, QStringLiteral("出票人帐号:"), 10);
    t << shown(sle(11), 1111, 348, 1234, 92, {kHei, 12});
    t << ControlSpec{.name = QStringLiteral("ddlb_2"), .kind = Kind::DropDown, .x = 2711, .y = 204, .width = 603,
                     .height = 800, .font = {kSong, 12}, .tabOrder = 50};
    t << word(st(21), 870, 352, 240, 88, QStringLiteral("收款人:"), 10)
      << word(st(20), 2340, 212, 370, 88, QStringLiteral("付款行名称:"), 10);
    t << shown(sle(9), 2798, 80, 489, 92, {kSong, 12}, kRed);
    const Font dateCaps{kHei, 9, 700};
    t << edit(sle(8), 1979, 232, 219, 88, dateCaps, 0, ui::NoBorder, kLightBlue, kWindowText)
      << edit(sle(7), 1669, 236, 251, 88, dateCaps, 0, ui::NoBorder, kLightBlue, kWindowText);
    t << word(st(19), 2198, 236, 60, 88, QStringLiteral("日")) << word(st(18), 1920, 236, 59, 88, QStringLiteral("月"))
      << word(st(13), 1614, 236, 55, 88, QStringLiteral("年"));
    t << edit(sle(5), 1335, 236, 279, 88, dateCaps, 0, ui::NoBorder, kLightBlue, kWindowText);
    t << word(st(12), 850, 236, 485, 88, QStringLiteral("出票日期（大写）"));
    t << amountBox(256, 840, 558, 92, 30, {kSong, 10});
    t << printed(st(11), 400, 1096, 140, 80, QStringLiteral("会计"))
      << printed(st(10), 30, 1096, 270, 80, QStringLiteral("单位主管"));
    t << word(st(9), 30, 928, 222, 88, QStringLiteral("用途:"));
    t << edit(sle(6), 256, 924, 558, 92, {kSong, 10}, 40, ui::NoHScroll);
    t << word(st(8), 30, 1016, 222, 60, QString());
    t << word(st(7), 30, 844, 222, 88, QStringLiteral("金额:")) << word(st(6), 30, 752, 222, 88, QStringLiteral("收款人:"));
    const Font stubDate{kSong, 10};
    t << edit(sle(3), 635, 620, 105, 80, stubDate, 0, 0, kWhite);
    t << word(st(5), 746, 620, 80, 80, QStringLiteral("日")) << word(st(4), 554, 620, 75, 80, QStringLiteral("月"));
    t << edit(sle(2), 443, 620, 105, 80, stubDate, 0, 0, kWhite);
    t << word(st(3), 345, 620, 90, 80, QStringLiteral("年"));
    t << edit(sle(1), 174, 620, 165, 80, stubDate, 0, 0, kWhite);
    t << word(st(2), 40, 620, 130, 80, QStringLiteral("日期"));
    t << printed(st(17), 60, 480, 700, 80, QStringLiteral("对方科目"))
      << printed(st(16), 60, 380, 700, 80, QStringLiteral("科    目"));
    t << edit(sle(12), 251, 240, 489, 92, {kSong, 12}, 10, ui::NoHScroll | ui::Identifier, kLightBlue);
    t << word(st(15), 60, 244, 180, 84, QStringLiteral("号码"));
    t << word(st(14), 60, 90, 740, 100, QStringLiteral("银行现金支票存根"), 12, kWindowText, ui::AlignCenter, 700);
    t << commandButton(QStringLiteral("cb_4"), 2354, 1452, 247, 104, QStringLiteral("退出"), kSong, 180,
                       ui::CancelButton);
    t << commandButton(QStringLiteral("cb_2"), 1829, 1452, 247, 104, QStringLiteral("打印"), kSong, 160);
    t << word(st(1), 1380, 56, 1380, 140, QStringLiteral("银行现金支票开票"), 18, kWindowText, ui::AlignCenter, 700);
    // Shapes: the paper, the line between stub and body, the amount band, the lower right corner, the band
    // behind the radios and the frame of the saved mark.
    t << shape(QStringLiteral("r_2"), Kind::Rectangle, 18, 28, 3506, 1260, kDarkRed, kLightBlue)
      << shape(QStringLiteral("ln_2"), Kind::Line, 837, 20, 0, 1260, kDarkRed)
      << shape(QStringLiteral("r_1"), Kind::Rectangle, 859, 540, 2578, 184, kDarkRed)
      << shape(QStringLiteral("ln_1"), Kind::Line, 2322, 720, 0, 560, kDarkRed)
      << shape(QStringLiteral("ln_3"), Kind::Line, 2327, 1068, 1152, 0, kDarkRed)
      << shape(QStringLiteral("rr_1"), Kind::RoundRectangle, 334, 1292, 2999, 128, kNavy, kNavy)
      << shape(QStringLiteral("rr_2"), Kind::RoundRectangle, 946, 56, 384, 144, kRed, ui::kNoColor, 8, ui::Hidden);
    t << edit(sle(4), 256, 748, 558, 96, {kSong, 10}, 20);
    return t;
}
} // namespace

form::FormDescription w_xjzp::describe()
{
    form::FormDescription d;
    d.className = QStringLiteral("w_xjzp");
    d.title = QStringLiteral("银行现金支票开票");
    d.width = 3579;
    d.height = 1744;
    d.controls = controls();

    d.open = {.dateBoxes = {sle(1), sle(2), sle(3)},
              .dateCapitalBoxes = {sle(5), sle(7), sle(8)},
              .operatorBox = sle(26),
              .accountList = QStringLiteral("ddlb_2"),
              .listBeforeOperator = true,
              .focus = sle(12)};
    d.buttons.positioning = QStringLiteral("cb_10");
    d.buttons.savedMark = {st(46), QStringLiteral("rr_2")};
    d.amount = {.box = QStringLiteral("em_1"), .capitals = sle(13), .digitBoxes = digitBoxes(14)};

    d.save = {QStringLiteral("xjzp"),
              {{QStringLiteral("rq"), SaveColumn::Rq},
               {QStringLiteral("zphm"), SaveColumn::Box, sle(12)},
               {QStringLiteral("xkr"), SaveColumn::Box, sle(4)},
               {QStringLiteral("et"), SaveColumn::Box, sle(6)},
               {QStringLiteral("fkhm"), SaveColumn::Box, QStringLiteral("ddlb_2")},
               {QStringLiteral("fkzh"), SaveColumn::Box, sle(10)},
               {QStringLiteral("kpr"), SaveColumn::Box, sle(26)},
               {QStringLiteral("an"), SaveColumn::Amount},
               {QStringLiteral("bz"), SaveColumn::Literal, QStringLiteral("现金支票")}}};
    // The boxes as the operator reads them, for a text the register cannot hold.
    d.save.captions = {{QStringLiteral("zphm"), QStringLiteral("号码")},
                       {QStringLiteral("xkr"), QStringLiteral("收款人")},
                       {QStringLiteral("et"), QStringLiteral("用途")},
                       {QStringLiteral("fkhm"), QStringLiteral("付款行名称")},
                       {QStringLiteral("fkzh"), QStringLiteral("出票人帐号")},
                       {QStringLiteral("kpr"), QStringLiteral("会计")}};

    d.reset.accountList = QStringLiteral("ddlb_2");
    d.reset.emptied = QStringList{sle(11), sle(10), sle(13)} + digitBoxes(14)
                      + QStringList{sle(24), sle(4), QStringLiteral("em_1"), sle(6), sle(12), sle(9), sle(25)};

    // In the order the cheque is printed; font and split of each pair come from the cheques' field table.
    const Source account = Source::box(QStringLiteral("ddlb_2"));
    d.print = {.family = forms::Family::CashCheque,
               .fields = {{8, Source::box(sle(5))},
                          {9, Source::box(sle(7))},
                          {10, Source::box(sle(8))},
                          {12, Source::printBank(), account},
                          {17, account},
                          {11, Source::box(sle(11))},
                          {13, Source::box(sle(10))},
                          {18, Source::box(sle(10))},
                          {14, Source::box(sle(13))},
                          {15, {}},
                          {1, Source::box(sle(1))},
                          {2, Source::box(sle(2))},
                          {3, Source::box(sle(3))},
                          {16, Source::box(sle(24))},
                          {4, Source::box(sle(4))},
                          {5, Source::box(QStringLiteral("em_1"), QStringLiteral("￥")),
                           Source::box(QStringLiteral("em_1"))},
                          {6, Source::box(sle(6))},
                          {7, Source::box(sle(26))}},
               .layoutWindow = QStringLiteral("w_setprint1")};

    d.account = form::AccountChoice{.list = QStringLiteral("ddlb_2"), .numberBox = sle(10),
                                    .focusAfter = QStringLiteral("cb_1")};
    d.lookups = {
        {.keyBox = sle(6),
         .sql = QStringLiteral("SELECT ctext FROM bs_1 WHERE cid = ?"),
         .targets = {form::Target::box(sle(6))},
         .copies = {sle(24)}},
        {.keyBox = sle(4),
         .sql = QStringLiteral("SELECT skrname , skrcode , skrbank FROM skrbook WHERE bs = ?"),
         .targets = {form::Target::box(sle(4)), form::Target::variable(QStringLiteral("mme3")),
                     form::Target::variable(QStringLiteral("mme4"))},
         .keyVariable = QStringLiteral("xjskr")},
    };
    d.echoes = {{sle(12), {sle(9), sle(25)}}};
    d.mirrors = {{sle(4), {sle(11)}}};
    return d;
}

w_xjzp::w_xjzp() : w_xjzp(describe()) {}

w_xjzp::w_xjzp(form::FormDescription description) : form::FormWindow(std::move(description))
{
    // The column heads over the digit boxes are boxed, as on the paper.
    frameLabels(this, digitHeads(25));
}
