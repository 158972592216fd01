#pragma once
#include "platform/window.h"

// The login window: user list, password, two allowed failures; the third attempt ends the program.
class w_pass : public ui::Window {
    Q_OBJECT
public:
    w_pass();

protected:
    void open() override;
    void activate() override;
    bool closeQuery() override;
    void closed() override;

private:
    void p_3_clicked();
    void p_4_clicked();
    void sle_1_modified();
    void ddlb_1_modified();

    int nn = 1;
    bool m_loggedIn = false;
    bool m_ended = false;
};
