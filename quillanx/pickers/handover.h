#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace ui {
class Window;
}

namespace pickers {

// Which boxes of a form one picker slot (`dnname` 1..9) fills. A slot with no boxes still belongs to the
// button: its losefocus clears it and a value in it counts as a waiting choice.
struct SlotTarget {
    int slot;
    QStringList controls;
};

// A picker button of a form: clicked opens the picker with the form as parent; getfocus copies the
// slots into the boxes when a choice is waiting; losefocus clears the slots.
struct HandoverButton {
    QString button;
    QString picker;
    QList<SlotTarget> targets;
};

// The hand-over table of a form class (w_xjzp, w_zzzp, w_find, w_yhdh, w_ysbk, w_jzd); empty for any other.
QList<HandoverButton> handoverTable(const QString &formClass);
// Wires the form's picker buttons: it owns their clicked, getfocus and losefocus events.
void installHandover(ui::Window *form, const QList<HandoverButton> &buttons);

} // namespace pickers
