#pragma once
#include "platform/window.h"

// The splash window: borderless, centred, one picture; a line under it says when the database is being prepared.
class w_face : public ui::Window {
    Q_OBJECT
public:
    w_face();
    // Shows that the start-up is preparing the database (its indexes rebuilt) and paints at once, before the
    // work that follows holds the event loop.
    void showPreparing();

protected:
    void open() override;
};
