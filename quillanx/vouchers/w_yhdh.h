#pragma once
#include "cheques/form_window.h"

// The bank wire-transfer voucher: the remitter's block (the unit, one of its own accounts, its place) on
// the left, the payee's block on the right, purpose and amount below, the print-format band and the buttons.
class w_yhdh : public form::FormWindow {
    Q_OBJECT
public:
    w_yhdh();
    static form::FormDescription describe();
};
