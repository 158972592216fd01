#pragma once
#include "pickers/picker.h"

// The remarks picker: "选取" writes the remark text of the current row into picker slot 8 and shows it in `sle_2`.
class w_tempbs : public pickers::Picker {
    Q_OBJECT
public:
    w_tempbs();

protected:
    void choose() override;
};
