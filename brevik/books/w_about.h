#pragma once
#include "brevik.h"
#include "platform/window.h"

// The about window: the program's name and version, and the link to the page with the latest update.
class BREVIK_EXPORT w_about : public ui::Window {
    Q_OBJECT
public:
    w_about();

    static QString updateAddress();
};
