#pragma once
#include "platform/window.h"

// The change of operator: pick a user, type the password; three wrong passwords are allowed, the fourth
// attempt ends the program. The main window takes no input until OK is pressed here.
class w_unman : public ui::Window {
    Q_OBJECT
public:
    w_unman();

protected:
    void open() override;
    bool closeQuery() override;

private:
    void cb_1_clicked();
    void closeByCode();

    int nn = 0;
    bool m_closingByCode = false;
};
