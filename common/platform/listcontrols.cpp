#include "platform/listcontrols.h"

#include "platform/services.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyledItemDelegate>

namespace ui {
namespace {
constexpr int kPictureRole = Qt::UserRole + 1;

// Lights up the item under the mouse, as list views with one-click activation do.
class HotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if ((option.state & QStyle::State_MouseOver) && !(option.state & QStyle::State_Selected) &&
            (option.state & QStyle::State_Enabled)) {
            QColor tint = option.palette.color(QPalette::Highlight);
            tint.setAlpha(48);
            painter->fillRect(option.rect, tint);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }
};

// A picture of exactly the given size; a missing picture leaves the space empty so labels stay aligned.
QPixmap pictureOrBlank(const QString &name, const QSize &size)
{
    QPixmap pm = services::picture(name, size);
    if (!pm.isNull())
        return pm;
    QPixmap blank(size.isEmpty() ? QSize(1, 1) : size);
    blank.fill(Qt::transparent);
    return blank;
}
} // namespace

// --- ListView ---

ListView::ListView(QWidget *parent) : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setIconSize(m_pictureSize);
    updateGrid();
    // The selection, not the current item: taking the focus makes an item current without choosing it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const int n = selectedItem();
        if (!m_byCode && n > 0 && n != m_lastSelected)
            emit selectionChangedItem(n);
        m_lastSelected = n;
    });
}

int ListView::addLargePicture(const QString &name)
{
    m_pictures << name;
    return int(m_pictures.size());
}

void ListView::setLargePictureSize(const QSize &size)
{
    m_pictureSize = size;
    setIconSize(size);
    for (int i = 0; i < count(); ++i)
        item(i)->setIcon(iconFor(item(i)->data(kPictureRole).toInt()));
    updateGrid();
}

QIcon ListView::iconFor(int pictureIndex) const
{
    const QString name = pictureIndex >= 1 && pictureIndex <= m_pictures.size() ? m_pictures.at(pictureIndex - 1)
                                                                                 : QString();
    return QIcon(pictureOrBlank(name, m_pictureSize));
}

int ListView::appendItem(const QString &label, int pictureIndex)
{
    auto *it = new QListWidgetItem(iconFor(pictureIndex), label);
    it->setData(kPictureRole, pictureIndex);
    it->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_byCode = true;
    addItem(it);
    m_byCode = false;
    return count();
}

void ListView::deleteItems()
{
    m_byCode = true;
    clear();
    m_byCode = false;
}

int ListView::getItem(int index, QString &label, int &pictureIndex) const
{
    if (index < 1 || index > count())
        return -1;
    const QListWidgetItem *it = item(index - 1);
    label = it->text();
    pictureIndex = it->data(kPictureRole).toInt();
    return 1;
}

int ListView::itemNumberAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() + 1 : 0;
}

int ListView::selectedItem() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? 0 : row(items.first()) + 1;
}

void ListView::selectItem(int index)
{
    m_byCode = true;
    setCurrentRow(index - 1);
    m_byCode = false;
}

void ListView::setHotTracking(bool on)
{
    m_hotTracking = on;
    setMouseTracking(on);
    viewport()->setAttribute(Qt::WA_Hover, on);
    if (on && !dynamic_cast<HotTrackDelegate *>(itemDelegate()))
        setItemDelegate(new HotTrackDelegate(this));
    if (!on)
        viewport()->unsetCursor();
}

void ListView::updateGrid()
{
    // Room for about six characters of a label across and two lines under the picture, as a desktop's
    // large-icon view gives; longer labels wrap.
    const QFontMetrics fm(font());
    const int width = qMax(m_pictureSize.width() + 32, fm.horizontalAdvance(QStringLiteral("汉汉汉汉汉汉")) + 12);
    const int height = m_pictureSize.height() + 2 * fm.lineSpacing() + 18;
    setGridSize(QSize(width, height));
    setSpacing(4);
}

void ListView::mouseReleaseEvent(QMouseEvent *e)
{
    QListWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        emit clickedItem(itemNumberAt(e->position().toPoint()));
}

void ListView::mouseDoubleClickEvent(QMouseEvent *e)
{
    QListWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit doubleClickedItem(itemNumberAt(e->position().toPoint()));
}

void ListView::mouseMoveEvent(QMouseEvent *e)
{
    QListWidget::mouseMoveEvent(e);
    if (m_hotTracking) {
        if (itemNumberAt(e->position().toPoint()) > 0)
            viewport()->setCursor(Qt::PointingHandCursor);
        else
            viewport()->unsetCursor();
    }
}

void ListView::keyPressEvent(QKeyEvent *e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        if (const int n = selectedItem(); n > 0) {
            emit activatedItem(n);
            e->accept();
            return;
        }
    }
    QListWidget::keyPressEvent(e);
}

void ListView::resizeEvent(QResizeEvent *e)
{
    QListWidget::resizeEvent(e);
    doItemsLayout();
}

void ListView::changeEvent(QEvent *e)
{
    QListWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        updateGrid();
}

// --- PictureList ---

PictureList::PictureList(QWidget *parent) : QListWidget(parent)
{
    setViewMode(QListView::ListMode);
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSpacing(3);
    // The selection, not the current item: taking the focus makes an item current without choosing it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const int n = selectedItem();
        if (!m_byCode && n > 0 && n != m_lastSelected)
            emit selectionChangedItem(n);
        m_lastSelected = n;
    });
}

int PictureList::addPicture(const QString &name)
{
    m_pictures << name;
    renderIcons();
    return int(m_pictures.size());
}

void PictureList::setPictureSize(const QSize &size)
{
    m_pictureSize = size;
    renderIcons();
}

QSize PictureList::sizeFor(const QString &picture) const
{
    if (m_pictureSize.isValid())
        return m_pictureSize;
    const QPixmap natural = services::picture(picture);
    if (natural.isNull())
        return {};
    QSizeF size = natural.deviceIndependentSize();
    // Leave room for the item's text beside the picture.
    const QFontMetrics fm(font());
    const int room = viewport()->width() - 2 * spacing() - fm.horizontalAdvance(QStringLiteral("00")) - 12;
    if (room > 0 && size.width() > room)
        size = size.scaled(QSizeF(room, size.height()), Qt::KeepAspectRatio);
    return size.toSize();
}

void PictureList::renderIcons()
{
    QSize largest;
    for (int i = 0; i < count(); ++i) {
        const int p = item(i)->data(kPictureRole).toInt();
        const QString name = p >= 1 && p <= m_pictures.size() ? m_pictures.at(p - 1) : QString();
        const QSize size = sizeFor(name);
        largest = largest.expandedTo(size);
        item(i)->setIcon(size.isEmpty() ? QIcon() : QIcon(pictureOrBlank(name, size)));
    }
    if (largest.isValid() && !largest.isEmpty())
        setIconSize(largest);
}

int PictureList::appendItem(const QString &text, int pictureIndex)
{
    auto *it = new QListWidgetItem(text);
    it->setData(kPictureRole, pictureIndex);
    m_byCode = true;
    addItem(it);
    m_byCode = false;
    renderIcons();
    return count();
}

void PictureList::deleteItems()
{
    m_byCode = true;
    clear();
    m_byCode = false;
}

int PictureList::getItem(int index, QString &text, int &pictureIndex) const
{
    if (index < 1 || index > count())
        return -1;
    text = item(index - 1)->text();
    pictureIndex = item(index - 1)->data(kPictureRole).toInt();
    return 1;
}

int PictureList::selectedItem() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? 0 : row(items.first()) + 1;
}

void PictureList::selectItem(int index)
{
    m_byCode = true;
    setCurrentRow(index - 1);
    m_byCode = false;
}

void PictureList::mouseDoubleClickEvent(QMouseEvent *e)
{
    QListWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(e->position().toPoint());
        emit doubleClickedItem(index.isValid() ? index.row() + 1 : 0);
    }
}

void PictureList::resizeEvent(QResizeEvent *e)
{
    QListWidget::resizeEvent(e);
    if (!m_pictureSize.isValid() && e->size().width() != e->oldSize().width())
        renderIcons();
}
} // namespace ui
