#include "platform/balloon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

namespace balloon {
namespace {
class Balloon : public QLabel {
public:
    Balloon()
        : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                              | Qt::BypassGraphicsProxyWidget)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setTextFormat(Qt::PlainText);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(3);
        m_timer.setSingleShot(true);
        m_timer.setInterval(kShownFor);
        connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
    }

    void showFor(QWidget *widget, const QPoint &global, const QString &text)
    {
        if (m_widget != widget) {
            unwatch();
            m_widget = widget;
            m_widget->installEventFilter(this);
            connect(widget, &QObject::destroyed, this, &QWidget::hide);
        }
        if (m_window != widget->window()) {
            if (m_window)
                m_window->removeEventFilter(this);
            m_window = widget->window();
            m_window->installEventFilter(this);
        }
        setText(text);
        adjustSize();
        QPoint at = global;
        if (const QScreen *screen = QGuiApplication::screenAt(global)) {
            const QRect room = screen->availableGeometry();
            at.setX(qBound(room.left(), at.x(), qMax(room.left(), room.right() + 1 - width())));
            at.setY(qBound(room.top(), at.y(), qMax(room.top(), room.bottom() + 1 - height())));
        }
        move(at);
        show();
        m_timer.start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        // Not at the next key: the operator typing on ("1w20", a refused letter then more digits) or pressing
        // Enter has not read it yet. The window moving or going leaves it nowhere.
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close
            || (watched == m_window && e->type() == QEvent::Move))
            hide();
        return false;
    }

private:
    void unwatch()
    {
        if (m_widget) {
            m_widget->removeEventFilter(this);
            disconnect(m_widget, &QObject::destroyed, this, nullptr);
        }
    }

    QPointer<QWidget> m_widget, m_window;
    QTimer m_timer;
};

// One for the program, with no parent: a child of the windows it shows for would be one more widget in
// them. It is never deleted; at the end the application frees its window.
QPointer<Balloon> &current()
{
    static QPointer<Balloon> balloon;
    return balloon;
}
} // namespace

void show(QWidget *widget, const QPoint &global, const QString &text)
{
    if (!widget)
        return;
    if (!current())
        current() = new Balloon;
    current()->showFor(widget, global, text);
}

void hide()
{
    if (current())
        current()->hide();
}

QString text()
{
    const Balloon *b = current();
    return b && b->isVisible() ? b->text() : QString();
}

} // namespace balloon
