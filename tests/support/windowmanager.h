#pragma once
// The window manager's close of a window (its title bar's close box), delivered as the platform delivers it:
// through Qt's window system interface, which drops it for a window a modal one blocks. QWindow::close() is not
// that path: it is let through whatever modal window is up.
#include <QWidget>
#include <QWindow>

// The one entry of Qt's platform interface the tests use (libQt6Gui exports it; its header is not installed).
class QWindowSystemInterface {
public:
    class SynchronousDelivery;
    template <typename Delivery>
    static bool handleCloseEvent(QWindow *window);
};

// Whether the window took the close (its close event accepted); false when it was ignored or never delivered.
inline bool closeByWindowManager(QWidget *window)
{
    return window->windowHandle()
        && QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(window->windowHandle());
}
