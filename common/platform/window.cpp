#include "platform/window.h"

#include "platform/controls.h"
#include "platform/post.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include <utility>

namespace ui {
namespace {
struct Registry {
    QHash<QString, Factory> factories;
    QHash<QString, QPointer<Window>> open;
};

Registry &registry()
{
    static Registry r;
    return r;
}

struct Loops {
    QList<NestedLoop *> running;
    QList<std::function<void()>> after;
    QList<QPointer<Window>> closing; // each window closed once, however often it was asked
};

Loops &loops()
{
    static Loops l;
    return l;
}

// Ignores the window manager's close of a window while it asks whether to close (its question's loop runs).
// Qt counts the window as closing already: the close would reach no closeEvent, the native window would be
// destroyed under the question, and with the main window the program would end unanswered.
class CloseHeldBack : public QObject {
public:
    explicit CloseHeldBack(QWindow *window) : m_window(window)
    {
        if (m_window)
            m_window->installEventFilter(this);
    }
    ~CloseHeldBack() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::Close)
            return false;
        e->ignore();
        return true;
    }

private:
    QPointer<QWindow> m_window;
};

void applyColors(QWidget *w, qint64 text, qint64 back)
{
    QPalette pal = w->palette();
    if (text != kNoColor) {
        const QColor c = services::color(text);
        pal.setColor(QPalette::WindowText, c);
        pal.setColor(QPalette::Text, c);
        pal.setColor(QPalette::ButtonText, c);
        pal.setColor(QPalette::Disabled, QPalette::WindowText, c);
        pal.setColor(QPalette::Disabled, QPalette::Text, c);
    }
    if (back != kNoColor) {
        const QColor c = services::color(back);
        pal.setColor(QPalette::Window, c);
        pal.setColor(QPalette::Base, c);
        pal.setColor(QPalette::Button, c);
        pal.setColor(QPalette::Disabled, QPalette::Window, c);
        pal.setColor(QPalette::Disabled, QPalette::Base, c);
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

Qt::Alignment alignment(quint32 flags, Qt::Alignment fallback)
{
    if (flags & AlignCenter)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    if (flags & AlignRight)
        return Qt::AlignRight | Qt::AlignVCenter;
    return fallback;
}
} // namespace

Window::Window(const QString &className, int designWidth, int designHeight)
    : QWidget(nullptr), m_className(className), m_designWidth(designWidth), m_designHeight(designHeight)
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose);
    keystate::install();
    resizeUnits(designWidth, designHeight);
}

Window::~Window()
{
    // The controls outlive this body (QWidget deletes them later): cut them off from handlers that are gone.
    for (QWidget *w : std::as_const(m_controls)) {
        w->disconnect(this);
        w->removeEventFilter(this);
    }
    m_handlers.clear();
    auto &open = registry().open;
    if (open.value(m_className) == this)
        open.remove(m_className);
}

void Window::resizeUnits(int width, int height) { resize(units::toPixelsX(width), units::toPixelsY(height)); }

void Window::moveToUnits(int x, int y) { move(units::toPixelsX(x), units::toPixelsY(y)); }

void Window::setDesignPosition(int x, int y)
{
    m_designPosition = QPoint(x, y);
    moveToUnits(x, y);
}

int Window::workspaceWidthUnits() const { return units::toUnitsX(width()); }
int Window::workspaceHeightUnits() const { return units::toUnitsY(height()); }

void Window::setBackground(qint64 color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, services::color(color));
    setPalette(pal);
    setAutoFillBackground(true);
}

QWidget *Window::control(const QString &name) const { return m_controls.value(name); }

QRect Window::unitGeometry(const QString &control) const { return m_units.value(control); }

void Window::setUnitGeometry(const QString &control, int x, int y, int width, int height)
{
    if (!m_controls.contains(control))
        return;
    m_units[control] = QRect(x, y, width, height);
    placeControl(control);
}

void Window::placeControl(const QString &name)
{
    QWidget *w = m_controls.value(name);
    const QRect u = m_units.value(name);
    if (auto *shape = qobject_cast<Shape *>(w); shape && shape->property("isLine").toBool()) {
        // A line's box spans its two ends, widened so a thin line has room to be drawn.
        const QRect px = units::toPixels(u.x(), u.y(), u.width(), u.height());
        const int pad = qMax(1, shape->property("lineWidth").toInt());
        const QRect box = QRect(px.topLeft(), QSize(qMax(px.width(), 0), qMax(px.height(), 0))).adjusted(-pad, -pad, pad, pad);
        shape->setGeometry(box);
        const QPoint a = px.topLeft() - box.topLeft();
        shape->setEnds(a, a + QPoint(px.width(), px.height()));
        return;
    }
    w->setGeometry(units::toPixels(u.x(), u.y(), u.width(), u.height()));
}

QWidget *Window::create(const ControlSpec &s)
{
    QWidget *w = nullptr;
    const QFont font = services::font(s.font.face, s.font.points, s.font.weight);
    switch (s.kind) {
    case Kind::StaticText: {
        auto *t = new StaticText(this);
        t->setText(s.text);
        t->setAlignment(alignment(s.flags, Qt::AlignLeft | Qt::AlignVCenter));
        t->setWordWrap(s.text.contains(u'\n'));
        w = t;
        break;
    }
    case Kind::Edit:
    case Kind::EditMask: {
        SingleLineEdit *e = nullptr;
        if (s.kind == Kind::EditMask) {
            auto *m = new EditMask(this);
            m->setMask(s.picture);
            e = m;
        } else {
            e = new SingleLineEdit(this);
            e->setAlignment(alignment(s.flags, Qt::AlignLeft | Qt::AlignVCenter));
        }
        e->setTextByCode(s.text);
        e->setReadOnly(s.flags & DisplayOnly);
        if (s.flags & Password)
            e->setEchoMode(QLineEdit::Password);
        e->setNoHScroll(s.flags & NoHScroll);
        if (s.flags & NoBorder)
            e->setFrame(false);
        if (s.flags & RightToLeft)
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setCharacterLimit(s.limit);
        if (s.flags & Identifier)
            e->setIdentifier(true);
        w = e;
        break;
    }
    case Kind::MultiLineEdit: {
        auto *e = new QPlainTextEdit(this);
        e->setPlainText(s.text);
        e->setReadOnly(s.flags & DisplayOnly);
        w = e;
        break;
    }
    case Kind::DropDown: {
        auto *d = new DropDownList(this);
        d->setSorted(s.flags & Sorted);
        d->setAllowEdit(s.flags & AllowEdit);
        d->setTypingLimit(s.limit);
        d->setMaxVisibleItems(12);
        w = d;
        break;
    }
    case Kind::CommandButton: {
        auto *b = new CommandButton(this);
        b->setText(s.text);
        b->setCancel(s.flags & CancelButton);
        b->setDefault(s.flags & DefaultButton);
        w = b;
        break;
    }
    case Kind::PictureButton: {
        auto *b = new CommandButton(this);
        b->setText(s.text);
        if (!s.picture.isEmpty()) {
            const QRect px = units::toPixels(s.x, s.y, s.width, s.height);
            b->setIcon(QIcon(services::picture(s.picture, px.size() - QSize(8, 8))));
            b->setIconSize(px.size() - QSize(8, 8));
        }
        b->setCancel(s.flags & CancelButton);
        w = b;
        break;
    }
    case Kind::Picture: {
        auto *p = new Picture(this);
        p->setScaled(s.flags & Scaled);
        p->setPictureName(s.picture);
        w = p;
        break;
    }
    case Kind::RadioButton: {
        auto *r = new RadioButton(this);
        r->setText(s.text);
        r->setGroupName(s.picture);
        r->setLeftText(s.flags & LeftText);
        r->setChecked(s.flags & Checked);
        w = r;
        break;
    }
    case Kind::CheckBox: {
        auto *c = new QCheckBox(this);
        c->setText(s.text);
        c->setChecked(s.flags & Checked);
        w = c;
        break;
    }
    case Kind::GroupBox: {
        auto *g = new QGroupBox(s.text, this);
        g->setAttribute(Qt::WA_TransparentForMouseEvents);
        w = g;
        break;
    }
    case Kind::Line:
    case Kind::Rectangle:
    case Kind::RoundRectangle: {
        const auto kind = s.kind == Kind::Line ? Shape::Line
                          : s.kind == Kind::Rectangle ? Shape::Rectangle
                                                      : Shape::RoundRectangle;
        auto *shape = new Shape(kind, this);
        const int lineWidth = s.limit > 0 ? qMax(1, units::toPixelsX(s.limit)) : 1;
        shape->setLine(s.textColor != kNoColor ? services::color(s.textColor) : QColor(Qt::black), lineWidth);
        if (s.backColor != kNoColor)
            shape->setFill(services::color(s.backColor));
        shape->setProperty("isLine", s.kind == Kind::Line);
        shape->setProperty("lineWidth", lineWidth);
        m_shapes.append(shape);
        w = shape;
        break;
    }
    case Kind::Custom:
        return nullptr;
    }
    w->setFont(font);
    if (s.kind != Kind::Line && s.kind != Kind::Rectangle && s.kind != Kind::RoundRectangle)
        applyColors(w, s.textColor, s.backColor);
    if (s.kind == Kind::StaticText && (s.flags & Transparent))
        w->setAutoFillBackground(false);
    return w;
}

void Window::build(const QList<ControlSpec> &table)
{
    for (const ControlSpec &s : table) {
        QWidget *w = create(s);
        if (!w)
            continue;
        w->setObjectName(s.name);
        m_controls.insert(s.name, w);
        m_units.insert(s.name, QRect(s.x, s.y, s.width, s.height));
        m_tabOrder.insert(s.name, s.tabOrder);
        m_order.append(s.name);
        placeControl(s.name);
        w->setEnabled(!(s.flags & Disabled));
        w->setVisible(!(s.flags & Hidden));
        wire(s.name, w);
    }
    // Shapes lie under every other control, in the order listed.
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it)
        (*it)->lower();
    applyTabOrder();
}

void Window::addCustom(const QString &name, QWidget *widget, int x, int y, int width, int height, int tabOrder)
{
    widget->setParent(this);
    widget->setObjectName(name);
    m_controls.insert(name, widget);
    m_units.insert(name, QRect(x, y, width, height));
    m_tabOrder.insert(name, tabOrder);
    m_order.append(name);
    placeControl(name);
    widget->show();
    widget->installEventFilter(this);
    applyTabOrder();
}

void Window::wire(const QString &name, QWidget *w)
{
    w->installEventFilter(this);
    if (auto *e = qobject_cast<SingleLineEdit *>(w)) {
        connect(e, &SingleLineEdit::modified, this, [this, name] { dispatch(name, Event::Modified); });
        connect(e, &SingleLineEdit::getFocus, this, [this, name] { dispatch(name, Event::GetFocus); });
        connect(e, &SingleLineEdit::loseFocus, this, [this, name] { dispatch(name, Event::LoseFocus); });
        connect(e, &SingleLineEdit::other, this, [this, name] { dispatch(name, Event::Other); });
    } else if (auto *d = qobject_cast<DropDownList *>(w)) {
        connect(d, &DropDownList::modified, this, [this, name] { dispatch(name, Event::Modified); });
        connect(d, &DropDownList::selectionChanged, this,
                [this, name](int i) { dispatch(name, Event::SelectionChanged, i); });
        connect(d, &DropDownList::getFocus, this, [this, name] { dispatch(name, Event::GetFocus); });
        connect(d, &DropDownList::loseFocus, this, [this, name] { dispatch(name, Event::LoseFocus); });
    } else if (auto *b = qobject_cast<CommandButton *>(w)) {
        connect(b, &QPushButton::clicked, this, [this, name] { dispatch(name, Event::Clicked); });
        connect(b, &CommandButton::getFocus, this, [this, name] { dispatch(name, Event::GetFocus); });
        connect(b, &CommandButton::loseFocus, this, [this, name] { dispatch(name, Event::LoseFocus); });
    } else if (auto *p = qobject_cast<Picture *>(w)) {
        connect(p, &Picture::clicked, this, [this, name] { dispatch(name, Event::Clicked); });
        connect(p, &Picture::doubleClicked, this, [this, name] { dispatch(name, Event::DoubleClicked); });
        connect(p, &Picture::getFocus, this, [this, name] { dispatch(name, Event::GetFocus); });
        connect(p, &Picture::loseFocus, this, [this, name] { dispatch(name, Event::LoseFocus); });
    } else if (auto *r = qobject_cast<RadioButton *>(w)) {
        connect(r, &QAbstractButton::clicked, this, [this, name] { dispatch(name, Event::Clicked); });
        connect(r, &RadioButton::getFocus, this, [this, name] { dispatch(name, Event::GetFocus); });
        connect(r, &RadioButton::loseFocus, this, [this, name] { dispatch(name, Event::LoseFocus); });
    } else if (auto *t = qobject_cast<StaticText *>(w)) {
        connect(t, &StaticText::clicked, this, [this, name] { dispatch(name, Event::Clicked); });
        connect(t, &StaticText::doubleClicked, this, [this, name] { dispatch(name, Event::DoubleClicked); });
    } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
        connect(c, &QAbstractButton::clicked, this, [this, name] { dispatch(name, Event::Clicked); });
    }
}

void Window::on(const QString &control, Event event, std::function<void()> handler)
{
    m_handlers[control].plain.insert(int(event), std::move(handler));
}

void Window::on(const QString &control, Event event, std::function<void(int)> handler)
{
    m_handlers[control].indexed.insert(int(event), std::move(handler));
}

void Window::dispatch(const QString &name, Event event, int arg)
{
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd())
        return;
    if (const auto h = it->indexed.value(int(event)))
        h(arg);
    else if (const auto p = it->plain.value(int(event)))
        p();
}

void Window::applyTabOrder()
{
    QList<QPair<int, QWidget *>> stops;
    for (int i = 0; i < m_order.size(); ++i) {
        const QString &name = m_order.at(i);
        QWidget *w = m_controls.value(name);
        if (qobject_cast<Shape *>(w) || qobject_cast<QGroupBox *>(w))
            continue;
        const int order = m_tabOrder.value(name);
        const bool isText = qobject_cast<StaticText *>(w) != nullptr;
        if (order > 0) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (auto *d = qobject_cast<DropDownList *>(w); d && d->lineEdit())
                d->lineEdit()->setFocusPolicy(Qt::StrongFocus);
            stops.append({order, w});
        } else {
            // Order 0: reached by clicking only (static texts and pictures never take the focus).
            w->setFocusPolicy(isText || qobject_cast<Picture *>(w) ? Qt::NoFocus : Qt::ClickFocus);
        }
    }
    std::stable_sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i - 1).second, stops.at(i).second);
}

QList<QWidget *> Window::tabStops() const
{
    QList<QPair<int, QWidget *>> stops;
    for (const QString &name : m_order) {
        const int order = m_tabOrder.value(name);
        QWidget *w = m_controls.value(name);
        if (order > 0 && w->isEnabled() && w->isVisible())
            stops.append({order, w});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QWidget *> out;
    for (const auto &s : stops)
        out << s.second;
    return out;
}

bool Window::closeWindow() { return close(); }

bool Window::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::WindowActivate:
        activate();
        break;
    case QEvent::WindowDeactivate:
        deactivate();
        break;
    case QEvent::KeyPress:
        if (key(static_cast<QKeyEvent *>(e)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

bool Window::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && watched != this) {
        auto *ke = static_cast<QKeyEvent *>(e);
        // The window's key event sees every key-down of its controls first.
        if (key(ke))
            return true;
        if (ke->key() == Qt::Key_Escape) {
            for (const QString &name : m_order)
                if (auto *b = qobject_cast<CommandButton *>(m_controls.value(name));
                    b && b->isCancel() && b->isEnabled() && b->isVisible()) {
                    b->click();
                    return true;
                }
        }
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            for (const QString &name : m_order)
                if (auto *b = qobject_cast<CommandButton *>(m_controls.value(name));
                    b && b->isDefault() && b->isEnabled() && b->isVisible()) {
                    // The focused box sees the Enter first (its modified), then the default button clicks.
                    post::later(b, [b] { b->click(); });
                    break;
                }
        }
    }
    return QWidget::eventFilter(watched, e);
}

void Window::closeEvent(QCloseEvent *e)
{
    if (NestedLoop::running()) {
        // Deleted now, the window would go from under the loop: it closes once the loop has unwound.
        e->ignore();
        QList<QPointer<Window>> &closing = loops().closing;
        if (!closing.contains(this))
            closing << this;
        NestedLoop::stop(endsProgram() ? nullptr : this);
        return;
    }
    bool close = false;
    {
        const CloseHeldBack heldBack(windowHandle());
        close = closeQuery();
    }
    if (!close) {
        e->ignore();
        return;
    }
    e->accept();
    auto &open = registry().open;
    if (open.value(m_className) == this)
        open.remove(m_className);
    closed();
    // A closing window hands the activation back to its opener.
    if (m_opener && m_opener->isVisible()) {
        QPointer<Window> opener = m_opener;
        post::later([opener] {
            if (opener && opener->isVisible()) {
                opener->raise();
                opener->activateWindow();
            }
        });
    }
}

void Window::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    resized(workspaceWidthUnits(), workspaceHeightUnits());
}

void Window::timerEvent(QTimerEvent *e)
{
    Q_UNUSED(e);
    timer();
}

NestedLoop::NestedLoop(std::function<void()> stop, QWidget *over) : m_stop(std::move(stop)), m_over(over)
{
    loops().running << this;
}

NestedLoop::~NestedLoop()
{
    Loops &l = loops();
    l.running.removeOne(this);
    if (!l.running.isEmpty() || (l.after.isEmpty() && l.closing.isEmpty()))
        return;
    // After the event in hand, once the code that ran the loop has returned too.
    post::later([] {
        Loops &l = loops();
        if (!l.running.isEmpty())
            return; // another loop began meanwhile: its end brings them
        const QList<QPointer<Window>> closing = std::exchange(l.closing, {});
        const QList<std::function<void()>> after = std::exchange(l.after, {});
        for (const QPointer<Window> &w : closing)
            if (w)
                w->close();
        for (const auto &call : after)
            call();
    });
}

bool NestedLoop::running() { return !loops().running.isEmpty(); }

namespace {
// Ends the dialogs Qt opens over its own dialogs (the printer dialog's 属性, its file chooser, their boxes):
// each runs a loop of its own inside the loop of the dialog under it, which cannot return before them.
void endInnerDialogs()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(top);
        if (!dialog || !dialog->isVisible())
            continue;
        for (QWidget *under = dialog->parentWidget(); under; under = under->parentWidget()) {
            if (qobject_cast<QDialog *>(under)) {
                dialog->reject();
                break;
            }
        }
    }
}
} // namespace

void NestedLoop::stop(QWidget *window)
{
    if (!window)
        endInnerDialogs();
    // A copy: a stop may end its loop at once.
    const QList<NestedLoop *> running = loops().running;
    for (NestedLoop *loop : running) {
        if (!loops().running.contains(loop) || !loop->m_stop)
            continue;
        if (!window || (loop->m_over && loop->m_over->window() == window))
            loop->m_stop();
    }
}

void NestedLoop::afterLoops(std::function<void()> call)
{
    if (!running()) {
        call();
        return;
    }
    loops().after << std::move(call);
}

void registerWindow(const QString &name, Factory factory) { registry().factories.insert(name, std::move(factory)); }

bool isRegistered(const QString &name) { return registry().factories.contains(name); }

Window *findWindow(const QString &name)
{
    Window *w = registry().open.value(name);
    return w;
}

QList<Window *> openWindows()
{
    QList<Window *> out;
    for (const auto &p : std::as_const(registry().open))
        if (p)
            out << p.data();
    return out;
}

void closeWindowByName(const QString &name)
{
    if (Window *w = findWindow(name))
        w->close();
}

Window *openWindow(const QString &name, Window *opener)
{
    auto &reg = registry();
    if (Window *existing = reg.open.value(name)) {
        existing->showNormal();
        existing->raise();
        existing->activateWindow();
        return existing;
    }
    const Factory factory = reg.factories.value(name);
    if (!factory)
        return nullptr;
    QPointer<Window> w = factory();
    if (!w)
        return nullptr;
    w->m_opener = opener;
    reg.open.insert(name, w);
    w->open();
    if (!w || !reg.open.value(name))
        return nullptr; // the open event closed the window again
    if (!w->isVisible())
        w->show();
    if (w->m_designPosition.x() >= 0)
        w->moveToUnits(w->m_designPosition.x(), w->m_designPosition.y());
    // A window opens with the focus on its first tab stop, unless its open put it elsewhere.
    if (!w->focusWidget()) {
        const QList<QWidget *> stops = w->tabStops();
        if (!stops.isEmpty())
            stops.first()->setFocus(Qt::OtherFocusReason);
    }
    w->raise();
    w->activateWindow();
    return w;
}
} // namespace ui
