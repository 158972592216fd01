#include "platform/messagebox.h"

#include "platform/window.h"

#include <QApplication>
#include <QMessageBox>

namespace msg {
namespace {
Responder &responder()
{
    static Responder r;
    return r;
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::StopSign: return QMessageBox::Critical;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    // The platform's default box carries the information icon.
    return QMessageBox::Information;
}

QList<QMessageBox::StandardButton> buttonSet(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return {QMessageBox::Ok};
    case Buttons::OkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case Buttons::RetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok};
}
} // namespace

void setResponder(Responder r) { responder() = std::move(r); }

int show(const QString &title, const QString &text, Icon icon, Buttons buttons, int defaultButton)
{
    const Call call{title, text, icon, buttons, defaultButton};
    if (responder())
        return responder()(call);

    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(qtIcon(icon), title, shown, QMessageBox::NoButton, QApplication::activeWindow());
    const auto set = buttonSet(buttons);
    for (auto b : set)
        box.addButton(b);
    if (defaultButton >= 1 && defaultButton <= set.size())
        box.setDefaultButton(set.at(defaultButton - 1));
    // While the box waits, no window goes from under it (its parent with it); a halt dismisses it as Esc would.
    const ui::NestedLoop loop([&box] { box.reject(); });
    const auto pressed = QMessageBox::StandardButton(box.exec());
    const int index = int(set.indexOf(pressed));
    if (index >= 0)
        return index + 1;
    // Closed without a button (Esc or the close box): the escape button, else the last one.
    return int(set.size());
}
} // namespace msg
