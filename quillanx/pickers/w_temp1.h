#pragma once
#include "pickers/picker.h"

// The payee picker over the payee book: "选取" writes name, account, bank, province, city and county of the
// current row into picker slots 1 to 6 and shows them in `sle_2` to `sle_7`.
class w_temp1 : public pickers::Picker {
    Q_OBJECT
public:
    w_temp1();

protected:
    // The payer picker is this window over another book, with its own title, labels and book window.
    w_temp1(const QString &className, const QString &title, const QString &nameLabel, const dw::Definition &definition,
            QRect listUnits, const QString &bookWindow);
    void choose() override;
};
