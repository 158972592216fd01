#include "platform/post.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace post {
void later(std::function<void()> call)
{
    QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

void later(QObject *context, std::function<void()> call)
{
    QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
}

void tabFromFocus()
{
    QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return;
    QPointer<QWidget> target(focused);
    later([target] {
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        // Release too, so the key tracker does not keep Tab down.
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        if (target)
            QApplication::sendEvent(target, &release);
    });
}
} // namespace post

namespace keystate {
namespace {
class KeyTracker : public QObject {
public:
    QSet<int> down;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto *ke = static_cast<QKeyEvent *>(event);
            if (event->type() == QEvent::KeyPress)
                down.insert(ke->key());
            else if (!ke->isAutoRepeat())
                down.remove(ke->key());
        } else if (event->type() == QEvent::ApplicationDeactivate) {
            down.clear();
        }
        return false;
    }
};

KeyTracker *tracker()
{
    static KeyTracker *t = nullptr;
    if (!t && qApp) {
        t = new KeyTracker;
        t->setParent(qApp);
        qApp->installEventFilter(t);
        // A release that arrives while no window of ours has the focus is never seen (the login window
        // closes on the Enter that logs in): forget held keys whenever the focus window changes.
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, t, [tracker = t] { tracker->down.clear(); });
    }
    return t;
}
} // namespace

void install() { tracker(); }

bool isDown(int qtKey)
{
    auto *t = tracker();
    if (!t)
        return false;
    if (t->down.contains(qtKey))
        return true;
    // Enter on the keypad and Return on the main block are the same key to the forms; Shift+Tab arrives
    // as Backtab but holds the Tab key down all the same.
    if (qtKey == Qt::Key_Return)
        return t->down.contains(Qt::Key_Enter);
    if (qtKey == Qt::Key_Tab)
        return t->down.contains(Qt::Key_Backtab);
    return false;
}
} // namespace keystate
