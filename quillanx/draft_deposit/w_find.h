#pragma once
#include "cheques/form_window.h"

// The bank draft application form (银行汇票申请书): the applicant's side on the left, the payee's on the
// right, the amount row under them; a saved application is a row of the payment register.
class w_find : public form::FormWindow {
    Q_OBJECT
public:
    w_find();
    static form::FormDescription describe();
};
