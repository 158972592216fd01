#pragma once
#include "dataview/buffer.h"
#include "platform/export.h"
#include "platform/window.h"

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>

class QPainter;
class QScrollBar;

namespace dw {

// The free-form presentation: every row of a Buffer is drawn as one detail band of laid-out objects, the bands
// stacked one under the other. Positions are window units inside the band.
enum class ItemKind { Text, Column, Computed, Line, Rectangle };

struct FreeFormItem {
    QString name;
    ItemKind kind = ItemKind::Text;
    int x = 0, y = 0, width = 0, height = 0; // lines run from (x, y) to (x + width, y + height)
    QString text;        // the literal of a Text
    QString column;      // the result column of a Column
    Expression compute;  // the value of a Computed
    QString format;      // display format (dw::formatValue, dataview/report.h); "[general]": the value as it is
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    ui::Font font;
    qint64 textColor = 33554432;
    qint64 backColor = ui::kNoColor; // transparent
    int tabOrder = 0;                // a Column with an order above 0 takes the focus and accepts typing
    QString editMask;                // edit style: empty for a plain edit, else a numeric mask
    int limit = 0;                   // typing limit in GBK bytes, 0 for none
    QString caption;                 // the words beside the field, naming it when it refuses input
};

struct FreeFormLayout {
    int bandHeight = 0;              // units
    qint64 background = 1073741824; // the data view's own background
    QList<FreeFormItem> items;

    int indexOf(const QString &name) const;
    // The right end of the widest object: how far the band reaches across.
    int bandWidth() const;
    // Indices of the items that take the focus, in tab order.
    QList<int> tabStops() const;
};

// The text an item shows for a row through its display format ("[general]" is the value as it is); empty for
// lines and rectangles.
COMMON_EXPORT QString itemText(const FreeFormItem &item, const Buffer &buffer, int row);

// One painter for screen and printer: draws the band of `row` with its top-left corner at `origin` (device
// pixels), `scaleX`/`scaleY` device pixels per unit. Fonts are in points and follow the device's resolution.
// `skipItem` is left out (the field under an open editor).
COMMON_EXPORT void paintBand(QPainter &painter, const FreeFormLayout &layout, const Buffer &buffer, int row,
                             QPointF origin, double scaleX, double scaleY, int skipItem = -1);

// The data view control in free form. It follows the focused field, and the wheel (with Shift across) and the
// keys move through the bands; a band wider than the control shows a scroll bar across (at its bottom, over
// which no band is drawn), none down. Typed values stay on the screen only; nothing
// is written back.
// Keys on a field: Tab/Shift+Tab next/previous field (over to the next/previous row at either end, out of the
// control after the last field of the last row), Up/Down and PageUp/PageDown the same field of the
// previous/next row, Ctrl+Home/Ctrl+End the first/last row. Typed values go into the buffer, which this control
// never writes to the database.
class COMMON_EXPORT FreeFormView : public QWidget {
    Q_OBJECT
public:
    explicit FreeFormView(QWidget *parent = nullptr);
    ~FreeFormView() override;

    void setDefinition(const Definition &definition, const FreeFormLayout &layout);
    const FreeFormLayout &layout() const { return m_layout; }
    const Buffer &buffer() const { return m_buffer; }
    void setTransaction(db::Transaction &transaction) { m_transaction = &transaction; }

    // Reads the rows anew; typed values are dropped. The current field is the first tab stop of row 1.
    int retrieve(const QVariantList &arguments = {});

    // Every row: reads those not read yet.
    int rowCount() { return m_buffer.rowCount(); }
    int currentRow() const { return m_row; }
    QString currentItem() const;
    // Makes a field of a row current and scrolls it into sight; false when there is no such field to focus.
    bool setCurrent(int row, const QString &item);

    // The text shown for an item of a row, the text being typed included.
    QString shownText(int row, const QString &item) const;
    // Where an item of a row lies in the control, in pixels (it may lie outside the visible part).
    QRect itemRect(int row, const QString &item) const;
    // Scroll position in pixels from the top-left of the first band.
    QPoint scrollPosition() const { return m_scroll; }
    void scrollTo(QPoint position);
    // The field editor on the current field, if the control has the focus.
    QLineEdit *editor() const { return m_editor; }

signals:
    void rowFocusChanged(int row);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QSize contentSize() const;
    // The height the bands show in: the control's, less the scroll bar across where it shows.
    int viewHeight() const;
    void placeScrollBar();
    void clampScroll();
    void ensureVisible(const QRect &rect);
    void openEditor();
    void commitEditor();
    void closeEditor();
    bool handleKey(QKeyEvent *e);
    void moveField(bool forward);
    void moveRow(int row);
    void leave(bool forward);

    Buffer m_buffer;
    FreeFormLayout m_layout;
    db::Transaction *m_transaction = nullptr;
    int m_row = 0;
    int m_item = -1;
    QPoint m_scroll;
    QScrollBar *m_across = nullptr;
    QPointer<QLineEdit> m_editor;
    bool m_closing = false; // the field is moving: the focus passes through the control itself
};

} // namespace dw
