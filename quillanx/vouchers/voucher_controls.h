#pragma once
// Building blocks of the two remittance voucher forms: their labels, boxes, buttons, the print-format band
// and the digit columns, so that both forms draw them alike.
#include "platform/window.h"

#include <QList>
#include <QString>
#include <QStringList>

class QLabel;

namespace vouchers {

// Colour values of the forms (0x00BBGGRR).
constexpr qint64 kWhite = 16777215;
constexpr qint64 kBlue = 16711680;
constexpr qint64 kNavy = 8388608;
constexpr qint64 kRed = 255;
constexpr qint64 kYellow = 65535;
constexpr qint64 kTeal = 8421376;
constexpr qint64 kDarkRed = 128;
constexpr qint64 kIvory = 15794175;
constexpr qint64 kGrey = 8421504;
constexpr qint64 kWindowText = 33554432;

inline const QString kSong = QStringLiteral("宋体");
inline const QString kHei = QStringLiteral("黑体");

inline QString sle(int n) { return QStringLiteral("sle_%1").arg(n); }
inline QString st(int n) { return QStringLiteral("st_%1").arg(n); }

// A printed word of the paper form: no input, on the given ground (none: the paper shows through).
ui::ControlSpec label(const QString &name, int x, int y, int w, int h, const QString &text, ui::Font font,
                      qint64 textColor = kWindowText, qint64 ground = ui::kNoColor, quint32 flags = 0);

ui::ControlSpec edit(const QString &name, int x, int y, int w, int h, ui::Font font, int tabOrder,
                     quint32 flags = 0, qint64 ground = ui::kNoColor, qint64 textColor = ui::kNoColor);

ui::ControlSpec amountBox(int x, int y, int w, int h, ui::Font font, int tabOrder, const QString &mask);

ui::ControlSpec accountList(int x, int y, int w, int tabOrder);

// The magnifier button at the right end of a box; it opens a picker.
ui::ControlSpec pickerButton(const QString &name, int x, int y, int tabOrder);

ui::ControlSpec shape(const QString &name, ui::Kind kind, int x, int y, int w, int h, qint64 line,
                      qint64 fill = ui::kNoColor, int lineWidth = 0, quint32 flags = 0);

// The saved mark: "已存盘" inside its red frame `rr_2`, both hidden.
QList<ui::ControlSpec> savedMark(const QString &labelName, int x, int y);

// The dark-blue band with the label "打印格式" and the radios rb_1 .. rb_7 (tab orders in radio order).
QList<ui::ControlSpec> formatBand(const QString &labelName, int y, const QList<int> &radioTabOrders);

// The command buttons cb_1 "存盘", cb_5 "打印定位", cb_2 "打印", cb_3 "下一张", cb_4 "退出", left to right;
// all but the exit button disabled. The exit button is no cancel button: Esc leaves the form open.
struct ButtonTabs {
    int save, positioning, print, next, exit;
};
QList<ui::ControlSpec> buttonRow(int y, ButtonTabs tabs);

// One column per place: a boxed head over a one-character box, highest place first.
struct DigitColumns {
    QStringList heads; // label names
    QStringList texts; // their captions
    QStringList boxes; // box names
};
QList<ui::ControlSpec> digitColumns(const DigitColumns &columns, int x, int step, int headY, int boxY,
                                    ui::Font headFont, ui::Font boxFont, quint32 boxFlags = 0);

// A tall, narrow cell that names its block down the cell, one character a line; the blanks before the
// name push it down.
void standUpright(QLabel *cell);

} // namespace vouchers
