#pragma once
#include "platform/export.h"
#include <QListWidget>
#include <QSize>
#include <QStringList>

// The two list controls with pictures: a list view in large-icon view and a picture list (a list box
// whose items carry a picture). Items and pictures are numbered from 1, as the windows speak of them.
// Events: the selection change only for an operator's choice; the double-click with the number of the
// item under the mouse, 0 when the mouse is not on an item.
namespace ui {

// A list view in large-icon view with automatic arrangement: each item is a label and a picture number
// in the view's large-picture list.
class COMMON_EXPORT ListView : public QListWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);

    // Appends a picture by name to the large-picture list; returns its number.
    int addLargePicture(const QString &name);
    int largePictureCount() const { return int(m_pictures.size()); }
    void setLargePictureSize(const QSize &size);
    QSize largePictureSize() const { return m_pictureSize; }

    // Appends an item; returns its number.
    int appendItem(const QString &label, int pictureIndex);
    void deleteItems();
    int itemCount() const { return count(); }
    // 1 with the item's label and picture number, -1 when there is no such item (targets unchanged).
    int getItem(int index, QString &label, int &pictureIndex) const;
    // The item at a point of the viewport; 0 when none.
    int itemNumberAt(const QPoint &viewportPos) const;
    // The selected item; 0 when none.
    int selectedItem() const;
    void selectItem(int index);

    // Items light up under the mouse and show a hand cursor (the look of one-click activation).
    void setHotTracking(bool on);

signals:
    void clickedItem(int index);
    void doubleClickedItem(int index);
    // Enter on the selected item: the keyboard's way of starting it.
    void activatedItem(int index);
    void selectionChangedItem(int index);

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void updateGrid();
    QIcon iconFor(int pictureIndex) const;

    QStringList m_pictures;
    QSize m_pictureSize{48, 48};
    bool m_hotTracking = false;
    bool m_byCode = false;
    int m_lastSelected = 0;
};

// A list box whose items carry a picture and a text; pictures are shown at their drawn size, scaled
// down to fit the list's width.
class COMMON_EXPORT PictureList : public QListWidget {
    Q_OBJECT
public:
    explicit PictureList(QWidget *parent = nullptr);

    int addPicture(const QString &name);
    int pictureCount() const { return int(m_pictures.size()); }
    // A fixed picture size; an invalid size shows each picture at its drawn size.
    void setPictureSize(const QSize &size);

    int appendItem(const QString &text, int pictureIndex);
    void deleteItems();
    int itemCount() const { return count(); }
    int getItem(int index, QString &text, int &pictureIndex) const;
    // The selected item; 0 when none. Selecting by code raises no selection change.
    int selectedItem() const;
    void selectItem(int index);

signals:
    void selectionChangedItem(int index);
    void doubleClickedItem(int index);

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void renderIcons();
    QSize sizeFor(const QString &picture) const;

    QStringList m_pictures;
    QSize m_pictureSize;
    bool m_byCode = false;
    int m_lastSelected = 0;
};
} // namespace ui
