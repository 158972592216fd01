#include "cheques/paper.h"

#include <QLabel>

#include <algorithm>

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

namespace paper {
namespace {
// The places of an amount, highest first; a form with fewer columns starts further down.
constexpr const char16_t *kPlaces[11] = {u"亿", u"千", u"百", u"十", u"万", u"千",
                                         u"百", u"十", u"元", u"角", u"分"};
constexpr int kPlaceCount = 11;
} // namespace

ControlSpec label(const QString &name, int x, int y, int w, int h, const QString &text, Font font, qint64 textColor,
                  qint64 ground, quint32 flags)
{
    if (ground == ui::kNoColor)
        flags |= ui::Transparent;
    return {.name = name, .kind = Kind::StaticText, .x = x, .y = y, .width = w, .height = h, .text = text,
            .font = font, .textColor = textColor, .backColor = ground, .flags = flags};
}

ControlSpec edit(const QString &name, int x, int y, int w, int h, Font font, int tabOrder, quint32 flags,
                 qint64 ground, qint64 textColor)
{
    return {.name = name, .kind = Kind::Edit, .x = x, .y = y, .width = w, .height = h, .font = font,
            .textColor = textColor, .backColor = ground, .tabOrder = tabOrder, .flags = flags};
}

ControlSpec amountBox(int x, int y, int w, int h, int tabOrder, Font font, const QString &mask)
{
    return {.name = QStringLiteral("em_1"), .kind = Kind::EditMask, .x = x, .y = y, .width = w, .height = h,
            .font = font, .tabOrder = tabOrder, .picture = mask};
}

ControlSpec accountList(int x, int y, int w, int tabOrder, int listHeight)
{
    return {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = x, .y = y, .width = w,
            .height = listHeight, .font = {kSong, 12}, .tabOrder = tabOrder};
}

ControlSpec pickerButton(const QString &name, int x, int y, int tabOrder)
{
    return {.name = name, .kind = Kind::PictureButton, .x = x, .y = y, .width = 87, .height = 72,
            .tabOrder = tabOrder, .picture = QStringLiteral("001\\11.bmp")};
}

ControlSpec shape(const QString &name, Kind kind, int x, int y, int w, int h, qint64 line, qint64 fill,
                  int lineWidth, quint32 flags)
{
    return {.name = name, .kind = kind, .x = x, .y = y, .width = w, .height = h, .textColor = line,
            .backColor = fill, .flags = flags, .limit = lineWidth};
}

ControlSpec commandButton(const QString &name, int x, int y, int w, int h, const QString &text,
                          const QString &face, int tabOrder, quint32 flags)
{
    return {.name = name, .kind = Kind::CommandButton, .x = x, .y = y, .width = w, .height = h, .text = text,
            .font = {face, 12, 700}, .tabOrder = tabOrder, .flags = flags};
}

QList<ControlSpec> savedMark(const QString &labelName, int x, int y, int height, int labelIndent, qint64 paper)
{
    constexpr int kLabelHeight = 80;
    return {label(labelName, x + labelIndent, y + (height - kLabelHeight) / 2, 293, kLabelHeight,
                  QStringLiteral("已存盘"), {kHei, 14, 700}, kRed, ui::kNoColor, ui::Hidden | ui::AlignCenter),
            shape(QStringLiteral("rr_2"), Kind::RoundRectangle, x, y, 384, height, kRed, paper, 8, ui::Hidden)};
}

ControlSpec formatRadio(int k, int x, int y, int tabOrder)
{
    return {.name = QStringLiteral("rb_%1").arg(k), .kind = Kind::RadioButton, .x = x, .y = y, .width = 247,
            .height = 84, .font = {kHei, 10, 700}, .textColor = kWhite, .backColor = kBlue, .tabOrder = tabOrder,
            .flags = ui::LeftText, .picture = QStringLiteral("format")};
}

QList<ControlSpec> formatBand(const QString &labelName, int y, int rowY, const QList<int> &radioTabOrders,
                              Order order)
{
    QList<ControlSpec> t;
    t << shape(QStringLiteral("rr_1"), Kind::RoundRectangle, 334, y, 2999, 128, kNavy, kNavy);
    t << label(labelName, 400, rowY, 360, 84, QStringLiteral("打印格式"), {kHei, 10, 700}, kRed, kYellow,
               ui::Disabled | ui::AlignCenter);
    for (int k = 1; k <= 7; ++k)
        t << formatRadio(k, 846 + 347 * (k - 1), rowY, radioTabOrders.value(k - 1));
    if (order == Order::RadiosFirst)
        std::reverse(t.begin(), t.end());
    return t;
}

QList<ControlSpec> buttonRow(const ButtonRow &row)
{
    struct Button {
        QString name, text;
        int width;
        const RowButton &setting;
        quint32 flags;
    };
    const Button buttons[5] = {{QStringLiteral("cb_1"), QStringLiteral("存盘"), 300, row.save, ui::Disabled},
                               {QStringLiteral("cb_5"), QStringLiteral("打印定位"), row.positioningWidth,
                                row.positioning, ui::Disabled},
                               {QStringLiteral("cb_2"), QStringLiteral("打印"), 300, row.print, ui::Disabled},
                               {QStringLiteral("cb_3"), QStringLiteral("下一张"), 300, row.next, ui::Disabled},
                               {QStringLiteral("cb_4"), QStringLiteral("退出"), 300, row.exit, 0}};
    QList<ControlSpec> t;
    int x = row.x;
    for (const Button &b : buttons) {
        t << commandButton(b.name, x, row.y, b.width, 108, b.text, b.setting.face, b.setting.tabOrder, b.flags);
        x += b.width + row.gap;
    }
    return t;
}

QList<ControlSpec> digitColumns(const DigitColumns &c)
{
    QList<ControlSpec> t;
    const int first = kPlaceCount - int(c.heads.size());
    for (int j = 0; j < c.heads.size(); ++j)
        t << label(c.heads.at(j), c.x + j * c.step, c.headY, c.step, c.headHeight,
                   first + j >= 0 ? QString::fromUtf16(kPlaces[first + j]) : QString(), c.headFont, kWindowText,
                   c.ground, c.headFlags | ui::AlignCenter);
    for (int j = 0; j < c.boxes.size(); ++j)
        t << edit(c.boxes.at(j), c.x + j * c.step + c.boxInset, c.boxY, c.step - 2 * c.boxInset, 88, c.boxFont, 0,
                  c.boxFlags | ui::RightToLeft);
    return t;
}

QStringList digitBoxes(int firstBox)
{
    QStringList boxes;
    for (int j = 0; j < 10; ++j)
        boxes << sle(firstBox + j);
    return boxes;
}

QStringList digitHeads(int firstLabel)
{
    QStringList heads;
    for (int j = 0; j < 10; ++j)
        heads << st(firstLabel + j);
    return heads;
}

void frameLabels(ui::Window *window, const QStringList &labels)
{
    for (const QString &name : labels)
        if (auto *cell = window->get<QLabel>(name))
            cell->setFrameShape(QFrame::Box);
}

void standUpright(QLabel *cell)
{
    cell->setWordWrap(true);
    // Narrower than two characters, so that a run of blanks never shares a line with a character.
    const int side = qMax(0, (cell->width() - cell->fontMetrics().horizontalAdvance(QChar(0x6C47)) - 4) / 2);
    cell->setContentsMargins(side, 0, side, 0);
}

} // namespace paper
