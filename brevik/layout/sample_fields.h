#pragma once
#include "brevik.h"

#include <QFrame>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>

class QLabel;

namespace ui {
class Window;
}

namespace layout {

// Lets the operator drag a control of a layout window with the mouse. The control's position stays in the
// window's units: a drag adds the pointer's travel converted to units to the position it had when pressed,
// so a field that is pressed but not moved keeps its units exactly.
class BREVIK_EXPORT SampleDrag : public QObject {
    Q_OBJECT
public:
    // Installs itself on the control `name` of the window (the control must already be in the window).
    static void attach(ui::Window *window, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SampleDrag(ui::Window *window, const QString &name, QObject *parent);
    ui::Window *m_window;
    QString m_name;
    bool m_dragging = false;
    QPointF m_pressGlobal;
    QRect m_pressUnits;
};

// The amount digit grid: a caption row of place names above a row of digit cells, moved as one field.
// Ten places (千万 to 分) or eleven with 亿 on the left. Cells are addressed by their names: digit cell
// st_1 is 分 up to st_10 千万, st_12 亿.
class BREVIK_EXPORT DigitGrid : public QFrame {
    Q_OBJECT
public:
    explicit DigitGrid(int places, QWidget *parent = nullptr);
    int places() const { return m_places; }
    // Width and height in window units.
    int widthUnits() const;
    static constexpr int kHeightUnits = 192;
    // Digit cells from left (highest place) to right.
    QList<QLabel *> digitCells() const { return m_digits; }
    QLabel *cell(const QString &name) const;

private:
    int m_places;
    QList<QLabel *> m_digits;
    QList<QLabel *> m_captions;
};

} // namespace layout
