#include "vouchers/voucher_controls.h"

#include <QLabel>

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

namespace vouchers {

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

ControlSpec amountBox(int x, int y, int w, int h, Font font, int tabOrder, const QString &mask)
{
    return {.name = QStringLiteral("em_1"), .kind = Kind::EditMask, .x = x, .y = y, .width = w, .height = h,
            .font = font, .tabOrder = tabOrder, .picture = mask};
}

ControlSpec accountList(int x, int y, int w, int tabOrder)
{
    return {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = x, .y = y, .width = w, .height = 800,
            .font = {kSong, 12}, .tabOrder = tabOrder};
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

QList<ControlSpec> savedMark(const QString &labelName, int x, int y)
{
    return {label(labelName, x + 45, y + 20, 293, 80, QStringLiteral("已存盘"), {kHei, 14, 700}, kRed, ui::kNoColor,
                  ui::Hidden | ui::AlignCenter),
            shape(QStringLiteral("rr_2"), Kind::RoundRectangle, x, y, 384, 120, kRed, ui::kNoColor, 8, ui::Hidden)};
}

QList<ControlSpec> formatBand(const QString &labelName, int y, const QList<int> &radioTabOrders)
{
    QList<ControlSpec> t;
    t << shape(QStringLiteral("rr_1"), Kind::RoundRectangle, 334, y, 2999, 128, kNavy, kNavy);
    t << label(labelName, 400, y + 22, 360, 84, QStringLiteral("打印格式"), {kHei, 10, 700}, kRed, kYellow,
               ui::Disabled | ui::AlignCenter);
    for (int k = 1; k <= 7; ++k)
        t << ControlSpec{.name = QStringLiteral("rb_%1").arg(k), .kind = Kind::RadioButton,
                         .x = 846 + 347 * (k - 1), .y = y + 22, .width = 247, .height = 84, .font = {kHei, 10, 700},
                         .textColor = kWhite, .backColor = kBlue, .tabOrder = radioTabOrders.value(k - 1),
                         .flags = ui::LeftText, .picture = QStringLiteral("format")};
    return t;
}

QList<ControlSpec> buttonRow(int y, ButtonTabs tabs)
{
    auto button = [y](const QString &name, int x, int w, const QString &text, const QString &face, int tab,
                      quint32 flags) {
        return ControlSpec{.name = name, .kind = Kind::CommandButton, .x = x, .y = y, .width = w, .height = 108,
                           .text = text, .font = {face, 12, 700}, .tabOrder = tab, .flags = flags};
    };
    return {button(QStringLiteral("cb_1"), 790, 300, QStringLiteral("存盘"), kHei, tabs.save, ui::Disabled),
            button(QStringLiteral("cb_5"), 1170, 400, QStringLiteral("打印定位"), kSong, tabs.positioning,
                   ui::Disabled),
            button(QStringLiteral("cb_2"), 1650, 300, QStringLiteral("打印"), kSong, tabs.print, ui::Disabled),
            button(QStringLiteral("cb_3"), 2030, 300, QStringLiteral("下一张"), kHei, tabs.next, ui::Disabled),
            button(QStringLiteral("cb_4"), 2410, 300, QStringLiteral("退出"), kSong, tabs.exit, 0)};
}

QList<ControlSpec> digitColumns(const DigitColumns &columns, int x, int step, int headY, int boxY, Font headFont,
                                Font boxFont, quint32 boxFlags)
{
    QList<ControlSpec> t;
    for (int j = 0; j < columns.heads.size(); ++j)
        t << label(columns.heads.at(j), x + j * step, headY, step, 70, columns.texts.value(j), headFont,
                   kWindowText, ui::kNoColor, ui::AlignCenter);
    for (int j = 0; j < columns.boxes.size(); ++j)
        t << edit(columns.boxes.at(j), x + j * step + 8, boxY, step - 16, 88, boxFont, 0,
                  boxFlags | ui::RightToLeft);
    return t;
}

void standUpright(QLabel *cell)
{
    cell->setWordWrap(true);
    // Narrower than two characters, so that a run of blanks never shares a line with a character.
    const int side = qMax(0, (cell->width() - cell->fontMetrics().horizontalAdvance(QChar(0x6C47)) - 4) / 2);
    cell->setContentsMargins(side, 0, side, 0);
}

} // namespace vouchers
