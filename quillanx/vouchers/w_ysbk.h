#pragma once
#include "cheques/form_window.h"

// The budget appropriation voucher for withdrawals: the payer block (the unit and its own account) on the
// left, the payee block on the right, the amount up to 亿, purpose, budget classification and the mark.
class w_ysbk : public form::FormWindow {
    Q_OBJECT
public:
    w_ysbk();
    static form::FormDescription describe();
};
