#include "layout/sample_fields.h"

#include "platform/controls.h"
#include "platform/services.h"
#include "platform/units.h"
#include "platform/window.h"

#include <QMouseEvent>
#include <array>
#include <cmath>

namespace layout {

SampleDrag::SampleDrag(ui::Window *window, const QString &name, QObject *parent)
    : QObject(parent), m_window(window), m_name(name)
{
}

void SampleDrag::attach(ui::Window *window, const QString &name)
{
    QWidget *control = window->control(name);
    if (!control)
        return;
    auto *drag = new SampleDrag(window, name, control);
    control->installEventFilter(drag);
    control->setCursor(Qt::SizeAllCursor);
}

bool SampleDrag::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_dragging = true;
        m_pressGlobal = e->globalPosition();
        m_pressUnits = m_window->unitGeometry(m_name);
        return true;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (!m_dragging || !(e->buttons() & Qt::LeftButton))
            return false;
        // Travel since the press, whole pixels, converted once: the position never drifts by re-rounding.
        const QPointF travel = e->globalPosition() - m_pressGlobal;
        const int dx = int(std::lround(std::lround(travel.x()) * units::kUnitsPerPixelX));
        const int dy = int(std::lround(std::lround(travel.y()) * units::kUnitsPerPixelY));
        m_window->setUnitGeometry(m_name, m_pressUnits.x() + dx, m_pressUnits.y() + dy, m_pressUnits.width(),
                                  m_pressUnits.height());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton || !m_dragging)
            return false;
        m_dragging = false;
        return true;
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

namespace {
constexpr int kCellWidth = 96;
constexpr int kCellHeight = 92;

struct Column {
    int left;
    const char *caption;
    const char *captionCell;
    const char *digitCell;
};

// Ten places 千万 to 分; the eleven-place grid puts 亿 before them and spaces its columns a little apart.
constexpr std::array<Column, 10> kTen{{{0, "千", "st_60", "st_10"},
                                      {91, "百", "st_11", "st_9"},
                                      {187, "十", "st_44", "st_8"},
                                      {279, "万", "st_13", "st_7"},
                                      {370, "千", "st_47", "st_6"},
                                      {466, "百", "st_45", "st_5"},
                                      {558, "十", "st_46", "st_4"},
                                      {649, "元", "st_48", "st_3"},
                                      {745, "角", "st_54", "st_2"},
                                      {837, "分", "st_40", "st_1"}}};
constexpr std::array<int, 11> kElevenLefts{0, 91, 183, 279, 370, 462, 558, 649, 741, 837, 928};

ui::StaticText *makeCell(QWidget *parent, const QString &name, const QString &text, int x, int y, bool box)
{
    auto *cell = new ui::StaticText(parent);
    cell->setObjectName(name);
    cell->setText(text);
    cell->setAlignment(Qt::AlignCenter);
    cell->setFont(services::font(QStringLiteral("宋体"), 10, 700));
    cell->setFrameStyle(QFrame::Box | QFrame::Plain);
    // A press on any cell belongs to the grid: the cells never move on their own.
    cell->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (box) {
        cell->setAutoFillBackground(true);
        QPalette pal = cell->palette();
        pal.setColor(QPalette::Window, Qt::white);
        cell->setPalette(pal);
    }
    cell->setGeometry(units::toPixels(x, y, kCellWidth, kCellHeight));
    return cell;
}
} // namespace

DigitGrid::DigitGrid(int places, QWidget *parent) : QFrame(parent), m_places(places == 11 ? 11 : 10)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    const bool eleven = m_places == 11;
    if (eleven) {
        m_captions << makeCell(this, QStringLiteral("st_15"), QStringLiteral("亿"), 0, 0, false);
        m_digits << makeCell(this, QStringLiteral("st_12"), QString(), 0, kCellHeight, true);
    }
    for (std::size_t i = 0; i < kTen.size(); ++i) {
        const Column &c = kTen.at(i);
        const int left = eleven ? kElevenLefts.at(i + 1) : c.left;
        m_captions << makeCell(this, QString::fromLatin1(c.captionCell), QString::fromUtf8(c.caption), left, 0, false);
        m_digits << makeCell(this, QString::fromLatin1(c.digitCell), QString(), left, kCellHeight, true);
    }
}

int DigitGrid::widthUnits() const { return m_places == 11 ? 1033 : 942; }

QLabel *DigitGrid::cell(const QString &name) const
{
    for (QLabel *l : m_captions + m_digits)
        if (l->objectName() == name)
            return l;
    return nullptr;
}

} // namespace layout
