#pragma once
// Driving the cash cheque form as the operator does: open it from the registry, type into its boxes,
// click its buttons.
#include "fixture.h"

#include "app/windows.h"
#include "cheques/w_xjzp.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/window.h"

#include <QApplication>
#include <QtTest>

namespace chequetest {

// Opens a form by name once its group of windows is registered, and makes it the active window.
template <class Form> Form *openForm(void (*registerGroup)(), const QString &name)
{
    registerGroup();
    auto *w = qobject_cast<Form *>(ui::openWindow(name));
    if (w) {
        QApplication::setActiveWindow(w);
        (void)QTest::qWaitForWindowActive(w);
    }
    return w;
}

inline w_xjzp *openCheque() { return openForm<w_xjzp>(registerChequeWindows, QStringLiteral("w_xjzp")); }

inline void focusOn(ui::Window *w, const QString &name)
{
    w->control(name)->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

// Types into a box and leaves it with Tab, so its modified event runs.
inline void enter(ui::Window *w, const QString &name, const QString &text)
{
    focusOn(w, name);
    typeText(w->control(name), text);
    QTest::keyClick(w->control(name), Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// Empties a box as the operator does and leaves it.
inline void clear(ui::Window *w, const QString &name)
{
    focusOn(w, name);
    w->get<QLineEdit>(name)->selectAll();
    QTest::keyClick(w->control(name), Qt::Key_Backspace);
    QTest::keyClick(w->control(name), Qt::Key_Tab);
    QCoreApplication::processEvents();
}

inline void click(ui::Window *w, const QString &name)
{
    QTest::mouseClick(w->control(name), Qt::LeftButton);
    QCoreApplication::processEvents();
}

// The operator picks an item of a drop-down list.
inline void choose(ui::Window *w, const QString &list, int index)
{
    auto *d = w->get<ui::DropDownList>(list);
    d->setFocus(Qt::MouseFocusReason);
    d->setCurrentIndex(index);
    emit d->activated(index);
    QCoreApplication::processEvents();
}

inline QString text(ui::Window *w, const QString &name)
{
    return static_cast<form::FormWindow *>(w)->textOf(name);
}

inline bool enabled(ui::Window *w, const QString &name) { return w->control(name)->isEnabled(); }

inline bool markShown(ui::Window *w)
{
    return !w->control(QStringLiteral("st_46"))->isHidden() && !w->control(QStringLiteral("rr_2"))->isHidden();
}

// The digit boxes from 千万 down to 分, separated by blanks; "_" is an empty box.
inline QString digitBoxes(ui::Window *w)
{
    QStringList out;
    for (int n = 14; n <= 23; ++n) {
        const QString box = text(w, QStringLiteral("sle_%1").arg(n));
        out << (box.isEmpty() ? QStringLiteral("_") : box);
    }
    return out.join(u' ');
}

// The own account used by the tests.
inline void addAccounts(Fixture &f)
{
    f.exec(QStringLiteral("INSERT INTO bankoffice (bankcode, bankoffice, printbank) VALUES (?, ?, ?)"),
           {QStringLiteral("6222020012345678"), QStringLiteral("基本户"), QStringLiteral("工商银行北京分行")});
    f.exec(QStringLiteral("INSERT INTO bankoffice (bankcode, bankoffice, printbank) VALUES (?, ?, ?)"),
           {QStringLiteral("110060001"), QStringLiteral("一般户"), QStringLiteral("建设银行朝阳支行")});
}

// A whole sheet: account, cheque number, payee, amount, purpose.
inline void fillSheet(w_xjzp *w)
{
    choose(w, QStringLiteral("ddlb_2"), 0);
    enter(w, QStringLiteral("sle_12"), QStringLiteral("XJ001"));
    enter(w, QStringLiteral("sle_4"), QStringLiteral("北京市某某贸易有限公司"));
    enter(w, QStringLiteral("em_1"), QStringLiteral("1234.56"));
    enter(w, QStringLiteral("sle_6"), QStringLiteral("备用金"));
}

} // namespace chequetest
