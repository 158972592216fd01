#pragma once
#include "dataview/buffer.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class QLineEdit;

// The grid presentation of the data view control (internal to the engine): a table model over the rows read so
// far, which asks the buffer for more as the view scrolls to its end, a cell editor, and the table view.
namespace dw {

class DataView;

class GridModel : public QAbstractTableModel {
public:
    GridModel(Buffer &buffer, DataView *view);

    // A new result: while it is being read the model shows nothing, then the rows read.
    void beginReset();
    void endReset();
    // Rows the buffer has read since (see Buffer::setFetchHandler).
    // Rows shown that the buffer no longer knows (those read from the end, after a failed read) go.
    void rowsDropped();
    void rowsFetched(int after);
    // An added or removed row, told around the buffer's own change.
    void beginInsert(int row);
    void endInsert();
    void beginRemove(int row);
    void endRemove();

    void setCurrent(int row) { m_current = row; }
    void rowChanged(int row);
    void cellsChanged(int row);
    void allChanged();

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_shown; }
    int columnCount(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // The text an editor starts from: dates as ISO, numbers plain.
    QString editText(int row, int cellIndex) const;

private:
    Buffer &m_buffer; // read from in fetchMore only
    DataView *m_view;
    QList<QPair<QVariant, QVariant>> m_colors;
    int m_current = 0;
    int m_shown = 0; // rows the view knows of
    bool m_resetting = false;
};

// The current row shows through its background colours only: no selection and no focus frame on a cell.
// Editable cells get a line editor that takes no more than the column holds; Tab and Enter in it are the
// view's to handle (next cell in tab order, the Enter event).
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(DataView *view, QObject *parent) : QStyledItemDelegate(parent), m_view(view) {}
    QPointer<QWidget> editor;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override;
    void setModelData(QWidget *e, QAbstractItemModel *model, const QModelIndex &index) const override;
    void destroyEditor(QWidget *e, const QModelIndex &index) const override;
    // The input a cell's box takes: its column's width in GBK bytes, or the characters of its type; a cell
    // that holds an identifier, and every figure, refuses what does not fit whole. The box is named by the
    // cell's header when it refuses.
    static void limitInput(QLineEdit *e, const Buffer &buffer, const Cell &cell);

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
    // A figure drawn smaller stands on the baseline the cell's type has: centred as it is, it would stand higher.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Fits the cell's text to its width (dataview/fit.h); whether it shows smaller or as a mark (the tooltip
    // then tells the whole value).
    bool fit(QStyleOptionViewItem *option, const QModelIndex &index) const;

    DataView *m_view;
};

class GridView : public QTableView {
public:
    std::function<void(int)> onDoubleClick;
    std::function<bool(QKeyEvent *)> onKey;
    // A left press: given the row under the pointer, returns the row it acts on; another row than the one
    // under the pointer has been made current by the handler.
    std::function<int(const QMouseEvent *, int under)> onPress;
    // Before a paint, with the rows in sight (1-based), and before a cell becomes current (its editor is
    // filled from the row then), with its row.
    std::function<void(int first, int last)> beforePaint;
    std::function<void(int row)> beforeCurrent;
    using QTableView::QTableView;
    // Lays out the rows now rather than at the next event, so a scroll position can be set at once.
    void layoutNow() { executeDelayedItemsLayout(); }

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    // The row a left press acts on (see onPress), and the row under the pointer.
    int pressRow(QMouseEvent *e, int &under);
};
} // namespace dw
