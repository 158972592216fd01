#pragma once
// Building blocks of the draft application and deposit form windows: the paper's words and boxes, the
// print-format strip with its radios, the row of command buttons and the amount digit columns.
#include "platform/window.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace paper {

// Colour values of the two forms.
constexpr qint64 kGreen = 12639424;     // RGB 192, 220, 192
constexpr qint64 kCream = 15793151;     // RGB 255, 251, 240
constexpr qint64 kLightBlue = 15780518; // RGB 166, 202, 240
constexpr qint64 kNavy = 8388608;
constexpr qint64 kTeal = 8421376;
constexpr qint64 kBlue = 16711680;
constexpr qint64 kRed = 255;
constexpr qint64 kYellow = 65535;
constexpr qint64 kWhite = 16777215;
constexpr qint64 kGrey = 8421504;
constexpr qint64 kDarkGrey = 4210752;
constexpr qint64 kWindowText = 33554432;

inline const QString kSong = QStringLiteral("宋体");
inline const QString kHei = QStringLiteral("黑体");

inline QString sle(int n) { return QStringLiteral("sle_%1").arg(n); }
inline QString st(int n) { return QStringLiteral("st_%1").arg(n); }

// A word of the paper form: disabled, on the paper's colour.
ui::ControlSpec word(const QString &name, int x, int y, int w, int h, const QString &text, ui::Font font,
                     qint64 back, qint64 color = kWindowText, quint32 flags = 0);
ui::ControlSpec edit(const QString &name, int x, int y, int w, int h, ui::Font font, int tabOrder,
                     quint32 flags = 0, qint64 back = ui::kNoColor, qint64 text = ui::kNoColor);
ui::ControlSpec amountBox(int x, int y, int w, int h, int tabOrder);
ui::ControlSpec accountList(int x, int y, int w, int tabOrder);
ui::ControlSpec pickerButton(const QString &name, int x, int y, int tabOrder);
ui::ControlSpec shape(const QString &name, ui::Kind kind, int x, int y, int w, int h, qint64 line,
                      qint64 fill = ui::kNoColor, int lineWidth = 0, quint32 flags = 0);

// The saved mark: the label over its red rounded frame, hidden at open. Last in a table, so that its frame
// lies over the paper's shapes.
QList<ui::ControlSpec> savedMark(const QString &label, int x, int y, qint64 paper);

// The navy strip under the form: its "打印格式" label and the radios rb_1 .. rb_7, the first five taking
// the tab orders firstTab, firstTab + 10, ...; rb_6 and rb_7 are click-only.
QList<ui::ControlSpec> formatStrip(const QString &label, int y, int firstTab);

// The command buttons "存盘", "打印定位", "打印", "下一张", "退出" in one row, tab orders from firstTab on.
QList<ui::ControlSpec> buttonRow(int y, int firstTab, const QString &positioningFace);

// Ten place captions over ten digit boxes, the highest place (千万) first.
QList<ui::ControlSpec> digitColumns(int firstCaption, int firstBox, int x, int captionY, int boxY,
                                    ui::Font captionFont, ui::Font boxFont, qint64 paper);
QStringList digitBoxes(int firstBox);

// Draws a box around each of the labels, as the paper's bordered cells.
void frameLabels(ui::Window *window, const QStringList &labels);

} // namespace paper
