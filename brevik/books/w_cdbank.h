#pragma once
#include "books/w_cabank.h"

// The receipt list: the payment list's window over the receipt register.
class BREVIK_EXPORT w_cdbank : public w_cabank {
    Q_OBJECT
public:
    w_cdbank();
};
