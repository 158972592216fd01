#pragma once
#include "cheques/form_window.h"

// The cash cheque form: the cheque stub on the left, the cheque body on the right, the print-format
// radios on a band below and the command buttons under it. The reference form of the shared mechanisms.
class w_xjzp : public form::FormWindow {
    Q_OBJECT
public:
    w_xjzp();
    // The cash cheque's tables; the transfer cheque starts from a copy of them.
    static form::FormDescription describe();

protected:
    explicit w_xjzp(form::FormDescription description);
};
