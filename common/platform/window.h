#pragma once
#include "platform/export.h"
#include "platform/font.h"
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace ui {

enum class Kind {
    StaticText, Edit, MultiLineEdit, EditMask, DropDown, CommandButton, PictureButton, Picture, RadioButton,
    CheckBox, GroupBox, Line, Rectangle, RoundRectangle, Custom
};

enum Flag : quint32 {
    DisplayOnly = 1u << 0,
    Password = 1u << 1,
    NoHScroll = 1u << 2,
    Disabled = 1u << 3,
    Hidden = 1u << 4,
    DefaultButton = 1u << 5,
    CancelButton = 1u << 6,
    Sorted = 1u << 7,
    AllowEdit = 1u << 8,
    NoBorder = 1u << 9,
    RightToLeft = 1u << 10,
    AlignCenter = 1u << 11,
    AlignRight = 1u << 12,
    Scaled = 1u << 13,
    LeftText = 1u << 14,
    Checked = 1u << 15,
    Transparent = 1u << 16, // static text without a background of its own
    Identifier = 1u << 17,  // an edit that holds digits or an identifier: input that does not fit is refused whole
};


// One row of a window's control table: a control as the window lists it. Geometry in window units.
// Lines run from (x, y) to (x + width, y + height).
struct ControlSpec {
    QString name;
    Kind kind = Kind::StaticText;
    int x = 0, y = 0, width = 0, height = 0;
    QString text;
    Font font = {};
    qint64 textColor = kNoColor;
    qint64 backColor = kNoColor;
    int tabOrder = 0;
    quint32 flags = 0;
    QString picture = {}; // picture name, edit mask for EditMask, group for radios
    int limit = 0;        // typing limit (characters) for edits and lists; line width for shapes
};

enum class Event { Clicked, DoubleClicked, Modified, GetFocus, LoseFocus, SelectionChanged, Other };

// A top-level window of the system: a class name, a design size in units, controls built from a table,
// the events open, activate, closequery, resize, timer and key, and per-control event handlers.
// Windows are opened by name through the registry below; the opener is a logical parent only.
class COMMON_EXPORT Window : public QWidget {
    Q_OBJECT
public:
    Window(const QString &className, int designWidth, int designHeight);
    ~Window() override;

    QString className() const { return m_className; }
    Window *opener() const { return m_opener; }

    // Builds the controls of a table, in its order; may be called more than once (descendants add rows).
    void build(const QList<ControlSpec> &table);
    QWidget *control(const QString &name) const;
    template <class T> T *get(const QString &name) const { return qobject_cast<T *>(control(name)); }
    QStringList controlNames() const { return m_order; }
    // Adds a control made by the window itself (data views, user objects) at a unit position.
    void addCustom(const QString &name, QWidget *widget, int x, int y, int width, int height, int tabOrder = 0);

    // Event handlers by control name.
    void on(const QString &control, Event event, std::function<void()> handler);
    void on(const QString &control, Event event, std::function<void(int)> handler); // selection index

    // Units helpers.
    void moveToUnits(int x, int y);
    // Where the window opens, in units from the screen's top left (the platform may not honour a move
    // made before the window is shown, so it is applied again once shown).
    void setDesignPosition(int x, int y);
    void resizeUnits(int width, int height);
    QRect unitGeometry(const QString &control) const;
    void setUnitGeometry(const QString &control, int x, int y, int width, int height);
    int workspaceWidthUnits() const;
    int workspaceHeightUnits() const;

    void setBackground(qint64 color);
    // Recomputes the tab chain from the declared tab orders (after visibility changes it need not be called).
    void applyTabOrder();
    // The tab stops in the order Tab visits them.
    QList<QWidget *> tabStops() const;

    // Close as the operator would (closequery decides).
    bool closeWindow();

protected:
    virtual void open() {}
    virtual void activate() {}
    virtual void deactivate() {}
    // false refuses the close. While it asks (a box), the window manager's close of the window is ignored.
    virtual bool closeQuery() { return true; }
    virtual void closed() {}
    // Whether the window's end is the program's (the main window's): closed while a nested loop runs, it
    // stops every loop, as a halt does, rather than those over it alone.
    virtual bool endsProgram() const { return false; }
    virtual void resized(int /*widthUnits*/, int /*heightUnits*/) {}
    virtual void timer() {}
    // Every key-down of the window and its controls, before the control handles it. Return true to eat it.
    virtual bool key(QKeyEvent * /*event*/) { return false; }

    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void timerEvent(QTimerEvent *e) override;

private:
    friend COMMON_EXPORT Window *openWindow(const QString &, Window *);
    QWidget *create(const ControlSpec &row);
    void placeControl(const QString &name);
    void wire(const QString &name, QWidget *w);
    void dispatch(const QString &name, Event event, int arg = 0);

    struct Handlers {
        QHash<int, std::function<void()>> plain;
        QHash<int, std::function<void(int)>> indexed;
    };

    QString m_className;
    QPointer<Window> m_opener;
    QHash<QString, QWidget *> m_controls;
    QHash<QString, QRect> m_units;
    QHash<QString, int> m_tabOrder;
    QStringList m_order;
    QList<QWidget *> m_shapes;
    QHash<QString, Handlers> m_handlers;
    int m_designWidth, m_designHeight;
    bool m_opened = false;
    QPoint m_designPosition{-1, -1};
};

// A nested event loop over the windows: a print's progress, a message box, a dialog. While one runs, no window
// closes: deleted, it would take the loop's own dialog and the data it works on with it. A close asked for
// meanwhile (its close box, a button, the main window's end) is refused and made again once the last loop
// has unwound; it stops the loops that run over that window (a print cancels). A halt, and the close of the
// window whose end is the program's, wait the same way and stop every loop (a box or dialog is dismissed as by
// Esc, with the dialogs Qt opened over it, such as the printer dialog's 属性 and file chooser).
class COMMON_EXPORT NestedLoop {
public:
    // `stop` ends the loop early; `over` is the widget the loop runs over, whose window's close stops it
    // (none: only a halt stops it).
    explicit NestedLoop(std::function<void()> stop, QWidget *over = nullptr);
    ~NestedLoop();
    NestedLoop(const NestedLoop &) = delete;
    NestedLoop &operator=(const NestedLoop &) = delete;

    static bool running();
    // Asks the loops over `window` to stop, or every loop when it is null (Qt's inner dialogs too).
    static void stop(QWidget *window = nullptr);
    // Runs `call` once no loop runs any more, after the current event; at once when none runs.
    static void afterLoops(std::function<void()> call);

private:
    std::function<void()> m_stop;
    QPointer<QWidget> m_over;
};

// The window registry: the program and both libraries register their windows by name at start.
using Factory = std::function<Window *()>;
COMMON_EXPORT void registerWindow(const QString &name, Factory factory);
COMMON_EXPORT bool isRegistered(const QString &name);
// Opens the window, or brings the open one to the front. A name not registered opens nothing (nullptr).
COMMON_EXPORT Window *openWindow(const QString &name, Window *opener = nullptr);
// The open window of that class, if any.
COMMON_EXPORT Window *findWindow(const QString &name);
COMMON_EXPORT void closeWindowByName(const QString &name);
COMMON_EXPORT QList<Window *> openWindows();
} // namespace ui
