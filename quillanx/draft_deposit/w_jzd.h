#pragma once
#include "cheques/form_window.h"

// The bank deposit form (银行进帐单): the drawer of the bill paid in on the left, the unit as payee on the
// right, the amount row and the bill's kind and number under them; a saved form is a row of the receipt
// register `jzd`.
class w_jzd : public form::FormWindow {
    Q_OBJECT
public:
    w_jzd();
    static form::FormDescription describe();
};
