#include "app/w_face.h"

#include "platform/units.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

w_face::w_face() : ui::Window(QStringLiteral("w_face"), 1856, 1020)
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setBackground(67108864);
    build({
        {.name = QStringLiteral("p_1"), .kind = ui::Kind::Picture, .x = 0, .y = 0, .width = 1847, .height = 1012,
         .picture = QStringLiteral("001\\DALL.BMP")},
        // Over the picture's own "starting" line at the right of its footer, in the footer's colours.
        {.name = QStringLiteral("st_preparing"), .kind = ui::Kind::StaticText, .x = 950, .y = 896, .width = 860,
         .height = 80, .text = QStringLiteral("正在准备数据库，请稍候……"), .font = {.points = 10},
         .textColor = 14474460, .backColor = 5057045, .flags = ui::AlignRight | ui::Hidden},
    });
}

void w_face::open()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void w_face::showPreparing()
{
    if (QWidget *line = control(QStringLiteral("st_preparing"))) {
        line->show();
        // The event loop has not run yet at start-up: let the splash be mapped and painted before the work.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        repaint();
    }
}
