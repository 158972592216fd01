#include "draft_deposit/paper.h"

#include <QLabel>

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

namespace paper {
namespace {
// Columns of the digit boxes and the radios, in units.
constexpr int kDigitWidth = 104;
constexpr int kRadioStep = 347;
constexpr int kRadioWidth = 247;
constexpr const char16_t *kPlaces[10] = {u"千", u"百", u"十", u"万", u"千", u"百", u"十", u"元", u"角", u"分"};
} // namespace

ControlSpec word(const QString &name, int x, int y, int w, int h, const QString &text, Font font, qint64 back,
                 qint64 color, quint32 flags)
{
    return {.name = name, .kind = Kind::StaticText, .x = x, .y = y, .width = w, .height = h, .text = text,
            .font = font, .textColor = color, .backColor = back, .flags = ui::Disabled | flags};
}

ControlSpec edit(const QString &name, int x, int y, int w, int h, Font font, int tabOrder, quint32 flags,
                 qint64 back, qint64 text)
{
    return {.name = name, .kind = Kind::Edit, .x = x, .y = y, .width = w, .height = h, .font = font,
            .textColor = text, .backColor = back, .tabOrder = tabOrder, .flags = flags};
}

ControlSpec amountBox(int x, int y, int w, int h, int tabOrder)
{
    return {.name = QStringLiteral("em_1"), .kind = Kind::EditMask, .x = x, .y = y, .width = w, .height = h,
            .font = {kSong, 12}, .tabOrder = tabOrder, .picture = QStringLiteral("##,###,###.00")};
}

ControlSpec accountList(int x, int y, int w, int tabOrder)
{
    return {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = x, .y = y, .width = w, .height = 600,
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

QList<ControlSpec> savedMark(const QString &label, int x, int y, qint64 paper)
{
    return {ControlSpec{.name = label, .kind = Kind::StaticText, .x = x + 46, .y = y + 32, .width = 293,
                        .height = 80, .text = QStringLiteral("已存盘"), .font = {kHei, 14, 700}, .textColor = kRed,
                        .flags = ui::Hidden | ui::Transparent | ui::AlignCenter},
            shape(QStringLiteral("rr_2"), Kind::RoundRectangle, x, y, 384, 144, kRed, paper, 8, ui::Hidden)};
}

QList<ControlSpec> formatStrip(const QString &label, int y, int firstTab)
{
    QList<ControlSpec> t;
    for (int k = 7; k >= 1; --k)
        t << ControlSpec{.name = QStringLiteral("rb_%1").arg(k), .kind = Kind::RadioButton,
                         .x = 846 + kRadioStep * (k - 1), .y = y + 24, .width = kRadioWidth, .height = 84,
                         .font = {kHei, 10, 700}, .textColor = kWhite, .backColor = kBlue,
                         .tabOrder = k <= 5 ? firstTab + 10 * (k - 1) : 0, .flags = ui::LeftText,
                         .picture = QStringLiteral("format")};
    t << word(label, 400, y + 24, 360, 84, QStringLiteral("打印格式"), {kHei, 10, 700}, kYellow, kRed,
              ui::AlignCenter);
    t << shape(QStringLiteral("rr_1"), Kind::RoundRectangle, 334, y, 2999, 128, kNavy, kNavy);
    return t;
}

QList<ControlSpec> buttonRow(int y, int firstTab, const QString &positioningFace)
{
    struct Button {
        const char *name;
        const char16_t *text;
        int x, width;
    };
    // Save, positioning, print, next and exit from left to right; exit is no cancel button.
    static constexpr Button buttons[5] = {{"cb_1", u"存盘", 900, 300},
                                          {"cb_5", u"打印定位", 1240, 420},
                                          {"cb_2", u"打印", 1700, 300},
                                          {"cb_3", u"下一张", 2040, 300},
                                          {"cb_4", u"退出", 2380, 300}};
    QList<ControlSpec> t;
    for (int i = 0; i < 5; ++i) {
        const Button &b = buttons[i];
        const QString name = QString::fromLatin1(b.name);
        t << ControlSpec{.name = name, .kind = Kind::CommandButton, .x = b.x, .y = y, .width = b.width,
                         .height = 108, .text = QString::fromUtf16(b.text),
                         .font = {name == QLatin1String("cb_5") ? positioningFace : kHei, 12, 700},
                         .tabOrder = firstTab + 10 * i,
                         .flags = name == QLatin1String("cb_4") ? 0u : quint32(ui::Disabled)};
    }
    return t;
}

QList<ControlSpec> digitColumns(int firstCaption, int firstBox, int x, int captionY, int boxY, Font captionFont,
                                Font boxFont, qint64 paper)
{
    QList<ControlSpec> t;
    for (int j = 0; j < 10; ++j)
        t << word(st(firstCaption + j), x + j * kDigitWidth, captionY, kDigitWidth, boxY - captionY,
                  QString::fromUtf16(kPlaces[j]), captionFont, paper, kWindowText, ui::AlignCenter);
    for (int j = 0; j < 10; ++j)
        t << edit(sle(firstBox + j), x + j * kDigitWidth, boxY, kDigitWidth, 88, boxFont, 0,
                  ui::RightToLeft | ui::NoHScroll);
    return t;
}

QStringList digitBoxes(int firstBox)
{
    QStringList boxes;
    for (int j = 0; j < 10; ++j)
        boxes << sle(firstBox + j);
    return boxes;
}

void frameLabels(ui::Window *window, const QStringList &labels)
{
    for (const QString &name : labels)
        if (auto *label = window->get<QLabel>(name))
            label->setFrameShape(QFrame::Box);
}

} // namespace paper
