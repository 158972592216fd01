#pragma once
#include "platform/export.h"
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// The controls the windows are built from. Each adds to its Qt widget the events the windows rely on:
// `modified` only for an operator's change (left with Tab/click or Enter, once per change, never for text
// set by code) and `selectionChanged` only for an operator's choice.
namespace ui {

class COMMON_EXPORT SingleLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SingleLineEdit(QWidget *parent = nullptr);
    // Input limited to the visible width (no horizontal scrolling) and to a number of characters (0: none).
    // Of input that would not fit, what fits is taken, or nothing in a box that holds an identifier, with a
    // beep and a visible sign (see textinput::limitInput).
    void setNoHScroll(bool on);
    void setCharacterLimit(int chars);
    // The box holds an identifier (a cheque number, an account, a code): input that does not fit is refused
    // whole, never cut.
    void setIdentifier(bool on);
    // Sets text as code does: raises no modified.
    void setTextByCode(const QString &text);
    bool isDirty() const { return m_dirty; }
signals:
    void modified();
    void getFocus();
    void loseFocus();
    void other();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void fireModified();

private:
    void onEdited();
    bool fits(const QString &text) const;
    QString limitWords() const;
    bool m_dirty = false;
    bool m_identifier = false;
    bool m_noHScroll = false;
    int m_characterLimit = 0;
    bool m_setByCode = false; // the text was last set by code, not typed
};

// A numeric edit mask such as "##,###,###.00": digits and one decimal point are typed; leaving the box
// shows the value formatted ("1,234.56"); an empty box is worth 0. Date masks ("yyyy.mm.dd") take a date and
// show it in their own picture.
class COMMON_EXPORT EditMask : public SingleLineEdit {
    Q_OBJECT
public:
    explicit EditMask(QWidget *parent = nullptr);
    void setMask(const QString &mask);
    QString mask() const { return m_mask; }
    bool isDateMask() const { return m_isDate; }
    double number() const;
    QDate date() const;
    void setNumber(double v);
    void setDate(const QDate &d);
    // The value formatted as the mask shows it.
    QString formatted(double v) const;

protected:
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void reformat();
    QString acceptedWords() const; // what the mask takes, as the operator is told when it refuses a key
    QString m_mask;
    bool m_isDate = false;
    QString m_dateFormat; // the date mask as a QDate format
    int m_decimals = 2;
    int m_integerDigits = 8;
};

class COMMON_EXPORT DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget *parent = nullptr);
    void setAllowEdit(bool on);
    void setTypingLimit(int chars);
    void setSorted(bool on) { m_sorted = on; }
    // Adds an item in list order (sorted lists keep their order).
    int addItemText(const QString &text);
    // The text of the edit field (or the current item); clearing it keeps the items.
    QString text() const;
    void setTextByCode(const QString &text);
    // Selects the item whose text matches exactly; -1 when none.
    int selectItem(const QString &text);
signals:
    void modified();
    void selectionChanged(int index); // 1-based, only for an operator's choice
    void getFocus();
    void loseFocus();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void fireModified();
    bool m_dirty = false;
    bool m_sorted = false;
    int m_limit = 0;
};

class COMMON_EXPORT CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(QWidget *parent = nullptr);
    void setCancel(bool on) { m_cancel = on; }
    bool isCancel() const { return m_cancel; }
signals:
    void getFocus();
    void loseFocus();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool m_cancel = false;
};

// A picture that may act as a button (clicked) and may take the focus.
class COMMON_EXPORT Picture : public QLabel {
    Q_OBJECT
public:
    explicit Picture(QWidget *parent = nullptr);
    void setPictureName(const QString &name);
    QString pictureName() const { return m_name; }
    void setScaled(bool on);
signals:
    void clicked();
    void doubleClicked();
    void getFocus();
    void loseFocus();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void render();
    QString m_name;
    bool m_scaled = false;
    bool m_pressed = false;
};

class COMMON_EXPORT StaticText : public QLabel {
    Q_OBJECT
public:
    explicit StaticText(QWidget *parent = nullptr);
signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
};

// Radio buttons of one group: clicking one checks it and unchecks the others; code may uncheck all.
class COMMON_EXPORT RadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit RadioButton(QWidget *parent = nullptr);
    void setGroupName(const QString &group) { m_group = group; }
    QString groupName() const { return m_group; }
    void setLeftText(bool on) { setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight); }
signals:
    void getFocus();
    void loseFocus();

protected:
    void nextCheckState() override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void uncheckSiblings();
    QString m_group;
};

// Lines, rectangles and round rectangles: drawn under every other control, transparent to the mouse.
class COMMON_EXPORT Shape : public QWidget {
    Q_OBJECT
public:
    enum Kind { Line, Rectangle, RoundRectangle };
    Shape(Kind kind, QWidget *parent = nullptr);
    void setLine(QColor color, int widthPixels) { m_lineColor = color; m_lineWidth = widthPixels; update(); }
    void setFill(QColor color) { m_fill = color; update(); }
    // For lines: the end points relative to the widget.
    void setEnds(QPoint a, QPoint b) { m_a = a; m_b = b; update(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Kind m_kind;
    QColor m_lineColor = Qt::black;
    int m_lineWidth = 1;
    QColor m_fill;
    QPoint m_a, m_b;
};
} // namespace ui
