#include "pickers/handover.h"

#include "globals.h"
#include "platform/controls.h"
#include "platform/window.h"

#include <QHash>

namespace pickers {
namespace {
QString s(const char *text) { return QString::fromLatin1(text); }

HandoverButton payee(const QString &picker, QList<SlotTarget> targets)
{
    return {s("pb_1"), picker, std::move(targets)};
}

HandoverButton remark(const char *box) { return {s("pb_2"), s("w_tempbs"), {{8, {s(box)}}}}; }

const QHash<QString, QList<HandoverButton>> &tables()
{
    static const QHash<QString, QList<HandoverButton>> t = {
        // Slots 2 and 3 fill nothing on the cash cheque but are still cleared when the button is left.
        {s("w_xjzp"),
         {payee(s("w_temp1"), {{1, {s("sle_4")}}, {2, {}}, {3, {}}}),
          {s("pb_2"), s("w_tempbs"), {{8, {s("sle_6"), s("sle_24")}}}}}},
        {s("w_zzzp"),
         {payee(s("w_temp1"), {{1, {s("sle_4")}}, {2, {s("sle_28")}}, {3, {s("sle_27")}}}),
          {s("pb_2"), s("w_tempbs"), {{8, {s("sle_6"), s("sle_24")}}}}}},
        {s("w_find"),
         {payee(s("w_temp1"), {{1, {s("sle_4")}}, {2, {s("sle_24")}}, {3, {s("sle_6")}}}), remark("sle_3")}},
        {s("w_yhdh"),
         {payee(s("w_temp1"), {{1, {s("sle_7")}},
                               {2, {s("sle_9")}},
                               {3, {s("sle_8")}},
                               {4, {s("sle_14")}},
                               {5, {s("sle_15")}},
                               {6, {s("sle_16")}}}),
          remark("sle_27")}},
        {s("w_ysbk"),
         {payee(s("w_temp1"), {{1, {s("sle_6")}}, {3, {s("sle_7")}}, {2, {s("sle_9")}}}), remark("sle_13")}},
        {s("w_jzd"), {payee(s("w_temp"), {{1, {s("sle_6")}}, {2, {s("sle_9")}}, {3, {s("sle_7")}}})}},
    };
    return t;
}

// A choice is waiting when a name, account, bank or remark slot holds one. The place slots 4 to 6 are not
// cleared by every form's picker buttons, so an earlier choice's places alone are no choice.
bool choiceWaiting(const HandoverButton &b)
{
    for (const SlotTarget &t : b.targets)
        if ((t.slot <= 3 || t.slot == 8) && !g::dnname[std::size_t(t.slot)].isEmpty())
            return true;
    return false;
}
} // namespace

QList<HandoverButton> handoverTable(const QString &formClass) { return tables().value(formClass); }

void installHandover(ui::Window *form, const QList<HandoverButton> &buttons)
{
    using ui::Event;
    for (const HandoverButton &b : buttons) {
        form->on(b.button, Event::Clicked, [form, picker = b.picker] { ui::openWindow(picker, form); });
        // Copies only a waiting choice: reaching the button by Tab or a click with nothing chosen keeps what
        // the operator typed into the boxes.
        form->on(b.button, Event::GetFocus, [form, b] {
            if (!choiceWaiting(b))
                return;
            for (const SlotTarget &t : b.targets)
                for (const QString &box : t.controls)
                    if (auto *edit = form->get<ui::SingleLineEdit>(box))
                        edit->setTextByCode(g::dnname[std::size_t(t.slot)]);
        });
        form->on(b.button, Event::LoseFocus, [b] {
            for (const SlotTarget &t : b.targets)
                g::dnname[std::size_t(t.slot)].clear();
        });
    }
}
} // namespace pickers
