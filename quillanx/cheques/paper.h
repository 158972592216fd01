#pragma once
// Building blocks of the forms' control tables: the paper's words and boxes, the print-format band with its
// radios, the row of command buttons and the amount digit columns, so that every form draws them alike.
#include "platform/window.h"

#include <QList>
#include <QString>
#include <QStringList>

class QLabel;

namespace paper {

// Colour values of the forms (0x00BBGGRR).
constexpr qint64 kGreen = 12639424;     // RGB 192, 220, 192
constexpr qint64 kCream = 15793151;     // RGB 255, 251, 240
constexpr qint64 kLightBlue = 15780518; // RGB 166, 202, 240
constexpr qint64 kIvory = 15794175;
constexpr qint64 kNavy = 8388608;
constexpr qint64 kTeal = 8421376;
constexpr qint64 kBlue = 16711680;
constexpr qint64 kRed = 255;
constexpr qint64 kDarkRed = 128;
constexpr qint64 kYellow = 65535;
constexpr qint64 kWhite = 16777215;
constexpr qint64 kGrey = 8421504;
constexpr qint64 kDarkGrey = 4210752;
constexpr qint64 kWindowText = 33554432;

inline const QString kSong = QStringLiteral("宋体");
inline const QString kHei = QStringLiteral("黑体");

inline QString sle(int n) { return QStringLiteral("sle_%1").arg(n); }
inline QString st(int n) { return QStringLiteral("st_%1").arg(n); }

// A printed word of the paper form; without a ground the paper shows through.
ui::ControlSpec label(const QString &name, int x, int y, int w, int h, const QString &text, ui::Font font,
                      qint64 textColor = kWindowText, qint64 ground = ui::kNoColor, quint32 flags = 0);

ui::ControlSpec edit(const QString &name, int x, int y, int w, int h, ui::Font font, int tabOrder,
                     quint32 flags = 0, qint64 ground = ui::kNoColor, qint64 textColor = ui::kNoColor);

ui::ControlSpec amountBox(int x, int y, int w, int h, int tabOrder, ui::Font font = {kSong, 12},
                          const QString &mask = QStringLiteral("##,###,###.00"));

// The unit's accounts; listHeight is the height of the opened list.
ui::ControlSpec accountList(int x, int y, int w, int tabOrder, int listHeight = 800);

// The magnifier button at the right end of a box; it opens a picker.
ui::ControlSpec pickerButton(const QString &name, int x, int y, int tabOrder);

ui::ControlSpec shape(const QString &name, ui::Kind kind, int x, int y, int w, int h, qint64 line,
                      qint64 fill = ui::kNoColor, int lineWidth = 0, quint32 flags = 0);

ui::ControlSpec commandButton(const QString &name, int x, int y, int w, int h, const QString &text,
                              const QString &face, int tabOrder, quint32 flags = ui::Disabled);

// The saved mark: "已存盘" inside its red rounded frame rr_2 (384 wide, at x, y), both hidden. The label is
// labelIndent from the frame's left and centred in its height; a paper colour fills the frame. Last in a
// table, so that the frame lies over the paper's shapes.
QList<ui::ControlSpec> savedMark(const QString &labelName, int x, int y, int height, int labelIndent,
                                 qint64 paper = ui::kNoColor);

// Radio rb_k of the print formats.
ui::ControlSpec formatRadio(int k, int x, int y, int tabOrder);

// The navy band at y with the label "打印格式" and the radios rb_1 .. rb_7 in a row at rowY; radioTabOrders
// in radio order, 0 (or missing) for a click-only radio. BandFirst lists the band, the label, rb_1 .. rb_7;
// RadiosFirst the same rows the other way round.
enum class Order { BandFirst, RadiosFirst };
QList<ui::ControlSpec> formatBand(const QString &labelName, int y, int rowY, const QList<int> &radioTabOrders,
                                  Order order = Order::BandFirst);

// The command buttons cb_1 "存盘", cb_5 "打印定位", cb_2 "打印", cb_3 "下一张", cb_4 "退出", left to right
// from x with gap between them; all but the exit button disabled. The exit button is no cancel button: Esc
// leaves the form open.
struct RowButton {
    int tabOrder = 0;
    QString face = kHei;
};
struct ButtonRow {
    int x = 0, y = 0, gap = 0;
    int positioningWidth = 0;
    RowButton save, positioning, print, next, exit;
};
QList<ui::ControlSpec> buttonRow(const ButtonRow &row);

// One column per place, highest place first: a centred head over a one-character box. The heads carry the
// places' captions (亿 .. 分, as many as there are heads); a box is inset from its column on both sides.
struct DigitColumns {
    QStringList heads; // label names
    QStringList boxes; // box names
    int x = 0, step = 0;
    int headY = 0, headHeight = 0;
    int boxY = 0, boxInset = 0;
    ui::Font headFont, boxFont;
    qint64 ground = ui::kNoColor; // of the heads
    quint32 headFlags = 0, boxFlags = 0;
};
QList<ui::ControlSpec> digitColumns(const DigitColumns &columns);

// Ten digit boxes sle_first .. and ten head labels st_first .., highest place first.
QStringList digitBoxes(int firstBox);
QStringList digitHeads(int firstLabel);

// Draws a box around each of the labels, as the paper's bordered cells.
void frameLabels(ui::Window *window, const QStringList &labels);

// A tall, narrow cell that names its block down the cell, one character a line; the blanks before the
// name push it down.
void standUpright(QLabel *cell);

} // namespace paper
