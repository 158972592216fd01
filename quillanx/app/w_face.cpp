#include "app/w_face.h"

#include "platform/units.h"

#include <QGuiApplication>
#include <QScreen>

w_face::w_face() : ui::Window(QStringLiteral("w_face"), 1856, 1020)
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setBackground(67108864);
    build({
        {.name = QStringLiteral("p_1"), .kind = ui::Kind::Picture, .x = 0, .y = 0, .width = 1847, .height = 1012,
         .picture = QStringLiteral("001\\DALL.BMP")},
        {.name = QStringLiteral("st_preparing"), .kind = ui::Kind::StaticText, .x = 0, .y = 940, .width = 1847,
         .height = 72, .text = QStringLiteral("正在准备数据库，请稍候……"), .font = {.points = 12}, .textColor = 0,
         .backColor = 16777215, .flags = ui::AlignCenter | ui::Hidden},
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
        repaint();
    }
}
