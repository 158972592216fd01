#pragma once
// Driving the draft application and the deposit form as the operator does; the typing and clicking
// helpers are the cheque tests' own.
#include "../cheques/chequetest.h"
#include "printcalls.h"

#include "platform/printjob.h"

namespace formtest {
using namespace chequetest;

template <class Form> Form *openForm(const QString &name)
{
    return chequetest::openForm<Form>(registerDraftDepositWindows, name);
}

inline bool shown(ui::Window *w, const QString &name) { return !w->control(name)->isHidden(); }

inline bool checked(ui::Window *w, const QString &radio) { return w->get<QAbstractButton>(radio)->isChecked(); }

// Digit boxes from 千万 down to 分, separated by blanks; "_" is an empty box.
inline QString digitRow(ui::Window *w, int firstBox)
{
    QStringList out;
    for (int n = firstBox; n < firstBox + 10; ++n) {
        const QString box = text(w, QStringLiteral("sle_%1").arg(n));
        out << (box.isEmpty() ? QStringLiteral("_") : box);
    }
    return out.join(u' ');
}

// A layout row whose every pair is told apart: pair k at (1000 + 10k, 2000 + 100k); fonts 11/14/9 points,
// splits of 8, 6, 10 and 2 bytes, second lines 101..104 below.
constexpr int kJj = 250;
inline QPoint pairAt(int k) { return {1000 + 10 * k, 2000 + 100 * k}; }

inline void setUpSlot(Fixture &f, int slot)
{
    QStringList sets;
    for (int k = 1; k <= 19; ++k)
        sets << QStringLiteral("x%1w = %2, y%1w = %3").arg(k).arg(pairAt(k).x()).arg(pairAt(k).y());
    f.exec(QStringLiteral("UPDATE sescr SET %1, jj = %2 WHERE no = ?").arg(sets.join(u", ")).arg(kJj), {slot});
    f.exec("UPDATE sefonent SET sefont1 = 11, sefont2 = 14, sefont3 = 9, senter1 = 8, senter2 = 6, senter3 = 10, "
           "senter4 = 2, sehigh1 = 101, sehigh2 = 102, sehigh3 = 103, sehigh4 = 104 WHERE seno = ?",
           {slot});
}

// The calls of one print job in slot order: open, the three fonts of the slot's font row, font 1.
inline QStringList jobStart(const QString &title)
{
    return {QStringLiteral("open(%1)").arg(title), "defineFont(1,宋体,-11,400,0,5,false,false)",
            "defineFont(2,黑体,-14,800,0,5,false,false)", "defineFont(3,宋体,-9,400,0,5,false,false)", "setFont(1)"};
}

// The digit row of the texts given, box j at the first digit position plus j times the spacing.
inline QStringList digitCalls(const QStringList &digits)
{
    QStringList out;
    for (int j = 0; j < digits.size(); ++j)
        out << textCall(digits.at(j), pairAt(15) + QPoint(j * kJj, 0));
    return out;
}

// A stand-in for a layout window of another area, recording that it opened.
inline void registerLayoutStandIn(const QString &name, ui::Window **opened)
{
    *opened = nullptr;
    ui::registerWindow(name, [name, opened] { return *opened = new ui::Window(name, 2000, 1000); });
}

// Grabs a window to GRAB_DIR/<name>.png when that variable is set.
inline void grab(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace formtest
