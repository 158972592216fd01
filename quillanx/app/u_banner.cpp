#include "app/u_banner.h"

#include "platform/controls.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QApplication>
#include <QFrame>

namespace {
constexpr qint64 kBannerColor = 128; // dark red
}

u_banner::u_banner(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, services::color(kBannerColor));
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

ui::Picture *u_banner::addPicture(const QString &name, const QString &picture, QRect unitRect, bool scaled,
                                  bool lowered, bool hand)
{
    auto *p = new ui::Picture(this);
    p->setObjectName(name);
    p->setFocusPolicy(Qt::NoFocus);
    if (lowered)
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A disabled picture is drawn in shades of its palette's window colour: keep it neutral, not the banner's.
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    p->setPalette(pal);
    m_pictures.insert(name, p);
    m_order << name;
    setUnitGeometry(name, unitRect.x(), unitRect.y(), unitRect.width(), unitRect.height());
    p->setScaled(scaled);
    p->setPictureName(picture);
    if (hand)
        p->setCursor(Qt::PointingHandCursor);
    // The first created lies on top: each new picture goes under the ones before it.
    p->lower();
    connect(p, &ui::Picture::clicked, this, [this, name] { emit pictureClicked(name); });
    return p;
}

void u_banner::setUnitGeometry(const QString &name, int x, int y, int width, int height)
{
    ui::Picture *p = m_pictures.value(name);
    if (!p)
        return;
    m_units[name] = QRect(x, y, width, height);
    const QRect px = units::toPixels(x, y, width, height);
    // A picture squeezed to nothing has nothing to draw: keep it hidden until it has room again.
    if (px.isEmpty()) {
        p->hide();
        p->setGeometry(px);
    } else {
        p->setGeometry(px);
        p->show();
    }
}

void u_banner::setUnitX(const QString &name, int x)
{
    const QRect u = m_units.value(name);
    setUnitGeometry(name, x, u.y(), u.width(), u.height());
}

void u_banner::setUnitWidth(const QString &name, int width)
{
    const QRect u = m_units.value(name);
    setUnitGeometry(name, u.x(), u.y(), width, u.height());
}

u_banner1::u_banner1(QWidget *parent) : u_banner(QStringLiteral("u_banner1"), parent)
{
    addPicture(QStringLiteral("p_5"), QStringLiteral("001\\c3.bmp"), {325, 24, 87, 72}, true, false, true);
    addPicture(QStringLiteral("p_4"), QStringLiteral("001\\c22.bmp"), {229, 24, 87, 72}, true, false, true);
    addPicture(QStringLiteral("p_3"), QStringLiteral("001\\c21.bmp"), {133, 24, 87, 72}, true, false, true);
    addPicture(QStringLiteral("p_2"), QStringLiteral("001\\C1.BMP"), {37, 24, 87, 72}, false, false, true);
    addPicture(QStringLiteral("p_1"), QStringLiteral("001\\top1.bmp"), {0, 0, 498, 120}, true, true, false);
}

u_banner2::u_banner2(QWidget *parent) : u_banner(QStringLiteral("u_banner2"), parent)
{
    addPicture(QStringLiteral("p_1"), QStringLiteral("001\\fot1.bmp"), {0, 0, 498, 120}, true, true, false);
}
