#include "layout/font_window.h"

#include "forms/layout.h"
#include "globals.h"
#include "layout/layout_window.h"
#include "platform/messagebox.h"
#include "platform/post.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <array>

namespace layout {

// --- NumberBox ---

NumberBox::NumberBox(int digits, QWidget *parent) : QSpinBox(parent), m_digits(digits)
{
    int top = 9;
    for (int i = 1; i < digits; ++i)
        top = top * 10 + 9;
    // -1 stands for the empty box.
    setRange(-1, top);
    setValue(-1);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberBox::setNumber(int value) { setValue(qBound(0, value, maximum())); }

void NumberBox::clear() { setValue(-1); }

QValidator::State NumberBox::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString t = input.trimmed();
    if (t.size() > m_digits)
        return QValidator::Invalid;
    for (QChar c : t)
        if (!c.isDigit())
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

int NumberBox::valueFromText(const QString &text) const
{
    const QString t = text.trimmed();
    return t.isEmpty() ? -1 : t.toInt();
}

QString NumberBox::textFromValue(int value) const { return value < 0 ? QString() : QString::number(value); }

void NumberBox::stepBy(int steps) { setValue(qBound(0, qMax(value(), 0) + steps, maximum())); }

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    StepEnabled e = StepNone;
    if (value() < maximum())
        e |= StepUpEnabled;
    if (value() > 0)
        e |= StepDownEnabled;
    return e;
}

// --- FontWindow ---

namespace {
struct FamilyButton {
    const char *caption;
    std::array<const char *, 4> longFields;
};

// Family buttons cb_1 to cb_4 and the names of their four long fields, in the order of senter1..4.
constexpr std::array<FamilyButton, 4> kFamilies{{
    {"现金转帐支票", {"存根栏单位名称", "存根栏单位用途", "单位名称", "用途"}},
    {"汇票申请书", {"申请人名称", "用途", "收款人名称", "代理付款行"}},
    {"银行电汇", {"汇款人全称", "汇出行名", "收款人全称", "汇入行名"}},
    {"进帐单", {"出票人全称", "出票人开户银行", "收款人全称", "收款人开户银行"}},
}};

const ui::Font kSong12{QStringLiteral("宋体"), 12, 400};
constexpr qint64 kRed = 0x0000FF;

ui::ControlSpec label(const QString &name, const QString &text, int x, int y, int w, int h, qint64 color = ui::kNoColor)
{
    return {name, ui::Kind::StaticText, x, y, w, h, text, kSong12, color};
}
} // namespace

FontWindow::FontWindow() : ui::Window(QStringLiteral("w_setextenter"), 2546, 1268)
{
    setWindowTitle(QStringLiteral("字号及转行设定"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setBackground(67108864);
    const auto button = [](const QString &name, const QString &text, int x, int w, int tab) {
        return ui::ControlSpec{name, ui::Kind::CommandButton, x, 0, w, 112, text, kSong12, ui::kNoColor,
                               ui::kNoColor, tab, ui::Disabled};
    };
    build({{QStringLiteral("gb_1"), ui::Kind::GroupBox, 59, 404, 873, 720, QStringLiteral("字体设置"), kSong12},
           {QStringLiteral("gb_2"), ui::Kind::GroupBox, 978, 160, 1490, 968, QStringLiteral("转行设置"), kSong12},
           button(QStringLiteral("cb_1"), QString::fromUtf8(kFamilies[0].caption), 0, 517, 10),
           button(QStringLiteral("cb_2"), QString::fromUtf8(kFamilies[1].caption), 521, 425, 30),
           button(QStringLiteral("cb_3"), QString::fromUtf8(kFamilies[2].caption), 951, 425, 30),
           button(QStringLiteral("cb_4"), QString::fromUtf8(kFamilies[3].caption), 1381, 425, 40),
           button(QStringLiteral("cb_5"), QStringLiteral("保存设置"), 1810, 425, 50),
           {QStringLiteral("cb_6"), ui::Kind::CommandButton, 2240, 0, 242, 112, QStringLiteral("退出"), kSong12,
            ui::kNoColor, ui::kNoColor, 60},
           {QStringLiteral("cb_7"), ui::Kind::CommandButton, 69, 828, 238, 112, QStringLiteral("none"), kSong12,
            ui::kNoColor, ui::kNoColor, 0, ui::Hidden},
           label(QStringLiteral("st_10"), QString(), 78, 192, 850, 116, kRed),
           label(QStringLiteral("st_1"), QStringLiteral("普通字体宋体"), 87, 576, 521, 64),
           label(QStringLiteral("st_2"), QStringLiteral("人民币大写黑体"), 87, 728, 521, 64),
           label(QStringLiteral("st_3"), QStringLiteral("小字体宋体"), 87, 880, 521, 64),
           label(QStringLiteral("st_8"), QStringLiteral("转行字数"), 1056, 260, 782, 76, kRed),
           label(QStringLiteral("st_9"), QStringLiteral("行间距"), 1833, 260, 517, 76, kRed),
           label(QStringLiteral("st_4"), QStringLiteral("4"), 1051, 380, 517, 64),
           label(QStringLiteral("st_5"), QStringLiteral("5"), 1051, 512, 517, 64),
           label(QStringLiteral("st_6"), QStringLiteral("6"), 1051, 652, 517, 64),
           label(QStringLiteral("st_7"), QStringLiteral("7"), 1051, 784, 517, 64)});
    for (const char *framed : {"st_10", "st_8", "st_9"})
        get<QLabel>(QString::fromLatin1(framed))->setFrameStyle(QFrame::Box | QFrame::Plain);
    get<QLabel>(QStringLiteral("st_10"))->setAlignment(Qt::AlignCenter);

    // em_1..em_3 font sizes, em_4..em_7 split lengths (two digits); em_8..em_11 offsets (three digits).
    const struct {
        int x, y, tab;
    } boxes[] = {{631, 552, 50},   {631, 704, 60},   {631, 856, 60},   {1600, 368, 70},
                 {1600, 496, 60},  {1600, 624, 70},  {1600, 752, 70},  {1966, 368, 80},
                 {1966, 496, 70},  {1966, 624, 80},  {1966, 752, 80}};
    for (int n = 1; n <= 11; ++n) {
        auto *b = new NumberBox(n >= 8 ? 3 : 2);
        b->setFont(services::font(kSong12.face, kSong12.points, kSong12.weight));
        const auto &at = boxes[n - 1];
        addCustom(QStringLiteral("em_%1").arg(n), b, at.x, at.y, 229, 112, at.tab);
    }

    for (int f = 1; f <= 4; ++f)
        on(QStringLiteral("cb_%1").arg(f), ui::Event::Clicked, [this, f] { chooseFamily(f); });
    on(QStringLiteral("cb_7"), ui::Event::Clicked, [this] { load(); });
    on(QStringLiteral("cb_5"), ui::Event::Clicked, [this] { save(); });
    on(QStringLiteral("cb_6"), ui::Event::Clicked, [this] { close(); });
}

int FontWindow::familyOfSlot(int slot)
{
    if (slot >= 1 && slot <= 14)
        return 1;
    if (slot >= 15 && slot <= 21)
        return 2;
    if (slot >= 22 && slot <= 28)
        return 3;
    if (slot >= 29 && slot <= 35)
        return 4;
    return 0;
}

NumberBox *FontWindow::box(int n) const { return get<NumberBox>(QStringLiteral("em_%1").arg(n)); }

void FontWindow::open()
{
    // The slot of the layout window that opened it, else the current one.
    if (auto *layoutWindow = qobject_cast<LayoutWindow *>(opener()))
        m_slot = layoutWindow->slot();
    else
        m_slot = g::acer;
    const int family = familyOfSlot(m_slot);
    if (family > 0)
        get<QWidget>(QStringLiteral("cb_%1").arg(family))->setEnabled(true);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void FontWindow::chooseFamily(int family)
{
    const FamilyButton &f = kFamilies.at(std::size_t(family - 1));
    get<QLabel>(QStringLiteral("st_10"))->setText(QString::fromUtf8(f.caption));
    for (std::size_t row = 0; row < f.longFields.size(); ++row)
        get<QLabel>(QStringLiteral("st_%1").arg(4 + row))->setText(QString::fromUtf8(f.longFields.at(row)));
    // The row is read after this click has ended, as the hidden load button's click.
    auto *loader = get<QAbstractButton>(QStringLiteral("cb_7"));
    post::later(loader, [loader] { loader->click(); });
    get<QWidget>(QStringLiteral("cb_5"))->setEnabled(true);
}

void FontWindow::load()
{
    const forms::FontRow row = forms::readFontRow(g::sqlca, m_slot);
    // No row: the boxes keep what they show.
    if (g::sqlca.SQLCode != 0)
        return;
    const std::array<int, 11> values{row.font[1],  row.font[2],  row.font[3],  row.enter[1],
                                     row.enter[2], row.enter[3], row.enter[4], row.high[1],
                                     row.high[2],  row.high[3],  row.high[4]};
    for (int n = 1; n <= 11; ++n)
        box(n)->setNumber(values.at(std::size_t(n - 1)));
}

void FontWindow::save()
{
    QVariantList args;
    // An empty box is worth 0: an empty text would not be a number in an integer column.
    for (int n = 1; n <= 11; ++n)
        args << (box(n)->isEmpty() ? 0 : box(n)->value());
    args << m_slot;
    g::sqlca.execute(QStringLiteral("UPDATE sefonent SET sefont1 = ?, sefont2 = ?, sefont3 = ?, senter1 = ?, "
                                    "senter2 = ?, senter3 = ?, senter4 = ?, sehigh1 = ?, sehigh2 = ?, sehigh3 = ?, "
                                    "sehigh4 = ? WHERE seno = ?"),
                     args);
    QString error;
    if (g::sqlca.SQLCode != 0) {
        error = QStringLiteral("保存设置失败：") + db::faultMessage(g::sqlca);
    } else if (g::sqlca.SQLNRows == 0) {
        error = QStringLiteral("没有第%1号字号及转行记录，设置未保存。").arg(m_slot);
    } else {
        g::sqlca.commit();
        if (g::sqlca.SQLCode != 0)
            error = QStringLiteral("保存设置失败：") + db::faultMessage(g::sqlca);
    }
    if (!error.isEmpty()) {
        g::sqlca.rollback();
        msg::show(QStringLiteral("错误!"), error, msg::Icon::StopSign);
        return;
    }
    get<QWidget>(QStringLiteral("cb_5"))->setEnabled(false);
}

} // namespace layout
