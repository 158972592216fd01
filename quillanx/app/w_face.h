#pragma once
#include "platform/window.h"

// The splash window: borderless, centred, one picture; a line on it says what the start-up is doing when that
// takes a while (the database being prepared).
class w_face : public ui::Window {
    Q_OBJECT
public:
    w_face();
    // Shows the text at once (the start-up runs without the event loop); an empty text hides the line.
    void showStatus(const QString &text);

protected:
    void open() override;
};
