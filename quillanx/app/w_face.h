#pragma once
#include "platform/window.h"

// The splash window: borderless, centred, one picture; it has no behaviour of its own.
class w_face : public ui::Window {
    Q_OBJECT
public:
    w_face();

protected:
    void open() override;
};
