#pragma once
#include "cheques/w_xjzp.h"

// The transfer cheque form: the cash cheque with the payee's bank and account, stored as a "转帐支票" row,
// printed on the transfer cheque slots, and with a deposit form for the transfer printed from the same
// sheet on the deposit form slots.
class w_zzzp : public w_xjzp {
    Q_OBJECT
public:
    w_zzzp();
    static form::FormDescription describe();
    // The deposit form of the transfer: its print and its hand-over to the deposit form's layout window.
    static form::PrintSpec depositForm();

protected:
    void formatClicked() override;
    bool writeAfterInsert() override;
    void nextSheet() override;
    void lookedUp(const form::Lookup &lookup, bool found) override;

private:
    form::PrintSpec m_deposit;
};
