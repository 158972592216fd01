#pragma once
#include "pickers/w_temp1.h"

// The payer picker of the deposit form: the payee picker over the payer book. It writes the same slots 1 to 6,
// so a form cannot tell which of the two filled them.
class w_temp : public w_temp1 {
    Q_OBJECT
public:
    w_temp();
};
