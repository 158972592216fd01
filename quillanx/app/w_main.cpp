#include "app/w_main.h"

#include "app/m_mainmenu.h"
#include "app/navigator.h"
#include "app/u_banner.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/listcontrols.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

namespace {
int &refreshInterval()
{
    static int ms = 5000;
    return ms;
}

constexpr int kBannerHeight = 120;
} // namespace

MainLayout mainLayout(int w, int h)
{
    auto size = [](int v) { return qMax(0, v); };
    return {
        .banner1Width = size(w - 10),
        .banner1PictureWidth = size(w - 10),
        .closeX = w - 140,
        .maximiseX = w - 236,
        .restoreX = w - 332,
        .minimiseX = w - 428,
        .banner2Y = h - 115,
        .banner2Width = size(w - 5),
        .banner2PictureWidth = size(w - 10),
        .functionListWidth = size(w - 820),
        .categoryListHeight = size(h - 377),
        .functionListHeight = size(h - 225),
    };
}

w_main::w_main() : ui::Window(QStringLiteral("w_main"), 3013, 1792)
{
    setWindowTitle(QStringLiteral("FennickV2.5"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setBackground(67108864);
    setWindowIcon(QIcon(services::pictureResource(QStringLiteral("AppIcon.ico"))));

    // Built in the order uo_2, uo_1, p_1, plb_1, lv_1.
    m_banner2 = new u_banner2;
    addCustom(QStringLiteral("uo_2"), m_banner2, 0, 1476, 498, kBannerHeight, 30);
    m_banner1 = new u_banner1;
    addCustom(QStringLiteral("uo_1"), m_banner1, 0, 0, 498, kBannerHeight, 10);
    build({
        {.name = QStringLiteral("p_1"), .kind = ui::Kind::Picture, .x = 5, .y = 116, .width = 805, .height = 148,
         .picture = QStringLiteral("001\\dallsoft.bmp")},
    });
    get<ui::Picture>(QStringLiteral("p_1"))->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto *plb = new ui::PictureList;
    plb->setFont(services::font(QStringLiteral("Arial"), 12));
    {
        QPalette pal = plb->palette();
        pal.setColor(QPalette::Base, services::color(134217728));
        pal.setColor(QPalette::Text, services::color(16777215));
        pal.setColor(QPalette::HighlightedText, services::color(16777215));
        plb->setPalette(pal);
    }
    for (const navigator::Category &c : navigator::categories())
        plb->appendItem(c.text, plb->addPicture(c.picture));
    addCustom(QStringLiteral("plb_1"), plb, 9, 268, 800, 1088, 20);

    auto *lv = new ui::ListView;
    lv->setFont(services::font(QStringLiteral("宋体"), 12));
    lv->setHotTracking(true);
    for (int n = 1; n <= navigator::kLargePictures; ++n)
        lv->addLargePicture(navigator::largePictureName(n));
    for (const navigator::Entry &e : navigator::initialEntries())
        lv->appendItem(e.label, e.picture);
    addCustom(QStringLiteral("lv_1"), lv, 814, 116, 2139, 1240, 10);

    // The first controls of the list lie on top where they overlap.
    for (const char *name : {"lv_1", "plb_1", "p_1", "uo_1", "uo_2"})
        control(QString::fromLatin1(name))->raise();
    m_banner1->setFocusPolicy(Qt::NoFocus);
    m_banner2->setFocusPolicy(Qt::NoFocus);

    connect(plb, &ui::PictureList::selectionChangedItem, this, [this](int i) { plb_1_selectionchanged(i); });
    connect(lv, &ui::ListView::doubleClickedItem, this, [this](int i) { lv_1_doubleclicked(i); });
    connect(lv, &ui::ListView::activatedItem, this, [this](int i) { lv_1_doubleclicked(i); });
    connect(m_banner1, &u_banner::pictureClicked, this, [this](const QString &p) { bannerClicked(p); });
}

w_main::~w_main() = default;

ui::PictureList *w_main::categoryList() const { return get<ui::PictureList>(QStringLiteral("plb_1")); }
ui::ListView *w_main::functionList() const { return get<ui::ListView>(QStringLiteral("lv_1")); }

void w_main::setTitleRefreshInterval(int ms) { refreshInterval() = ms > 0 ? ms : 5000; }
int w_main::titleRefreshInterval() { return refreshInterval(); }

QString w_main::titleText(bool refresh)
{
    return QStringLiteral("〖FennickV2.58〗") + QString(refresh ? 6 : 5, u' ') + QStringLiteral("操作员:") + g::name +
           QString(8, u' ') + QStringLiteral("日期:") + g::rq.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(" ");
}

void w_main::open()
{
    m_mmp4 = new m_mainmenu(this);
    g::rq = services::today();
    ui::closeWindowByName(QStringLiteral("w_face"));
    // A missing row leaves the unit's name as it was.
    g::sqlca.selectInto(QStringLiteral("SELECT ltdname FROM myname"), {}, {g::myname});
    setWindowTitle(titleText(false));
    m_timerId = startTimer(refreshInterval());

    // Restoring brings back the design size, centred.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    showMaximized();
    functionList()->setFocus(Qt::OtherFocusReason);
}

void w_main::timer() { setWindowTitle(titleText(true)); }

bool w_main::closeQuery()
{
    if (g::we_1 != 3)
        return true;
    const int answer = msg::show(QStringLiteral("提示"), QStringLiteral("确定要退出吗(Yes/No)?"), msg::Icon::Exclamation,
                                 msg::Buttons::YesNo, 1);
    return answer == 1;
}

void w_main::closed()
{
    if (m_timerId) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
    // The program lives as long as its main window; forms still open close with it.
    services::haltClose();
}

void w_main::resized(int widthUnits, int heightUnits) { applyLayout(mainLayout(widthUnits, heightUnits)); }

void w_main::applyLayout(const MainLayout &l)
{
    const QRect uo1 = unitGeometry(QStringLiteral("uo_1"));
    setUnitGeometry(QStringLiteral("uo_1"), uo1.x(), uo1.y(), l.banner1Width, uo1.height());
    m_banner1->setUnitWidth(QStringLiteral("p_1"), l.banner1PictureWidth);
    m_banner1->setUnitX(QStringLiteral("p_5"), l.closeX);
    m_banner1->setUnitX(QStringLiteral("p_4"), l.maximiseX);
    m_banner1->setUnitX(QStringLiteral("p_3"), l.restoreX);
    m_banner1->setUnitX(QStringLiteral("p_2"), l.minimiseX);
    const QRect uo2 = unitGeometry(QStringLiteral("uo_2"));
    setUnitGeometry(QStringLiteral("uo_2"), uo2.x(), l.banner2Y, l.banner2Width, uo2.height());
    m_banner2->setUnitWidth(QStringLiteral("p_1"), l.banner2PictureWidth);
    const QRect lv = unitGeometry(QStringLiteral("lv_1"));
    setUnitGeometry(QStringLiteral("lv_1"), lv.x(), lv.y(), l.functionListWidth, lv.height());
    const QRect plb = unitGeometry(QStringLiteral("plb_1"));
    setUnitGeometry(QStringLiteral("plb_1"), plb.x(), plb.y(), plb.width(), l.categoryListHeight);
    setUnitGeometry(QStringLiteral("lv_1"), lv.x(), lv.y(), l.functionListWidth, l.functionListHeight);
}

void w_main::plb_1_selectionchanged(int index)
{
    if (index < 1)
        return;
    ui::ListView *lv = functionList();
    lv->deleteItems();
    for (const navigator::Entry &e : navigator::entriesOf(index))
        lv->appendItem(e.label, e.picture);
}

void w_main::lv_1_doubleclicked(int index)
{
    QString label;
    int picture = 0;
    if (index == 0 || functionList()->getItem(index, label, picture) < 1)
        return;
    if (!m_mmp4)
        return;
    // The menu item's script runs after this event has ended.
    if (MenuItem *item = m_mmp4->item(navigator::menuPathFor(picture)))
        item->postClick();
}

void w_main::bannerClicked(const QString &picture)
{
    if (picture == QLatin1String("p_5"))
        closeWindow();
    else if (picture == QLatin1String("p_4"))
        showMaximized();
    else if (picture == QLatin1String("p_3"))
        showNormal();
    else if (picture == QLatin1String("p_2"))
        showMinimized();
}
