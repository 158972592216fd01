#include "app/w_face.h"

#include "platform/controls.h"
#include "platform/units.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

w_face::w_face() : ui::Window(QStringLiteral("w_face"), 1856, 1020)
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setBackground(67108864);
    build({
        {.name = QStringLiteral("p_1"), .kind = ui::Kind::Picture, .x = 0, .y = 0, .width = 1847, .height = 1012,
         .picture = QStringLiteral("001\\DALL.BMP")},
        // Above the picture's own bottom line, in its white.
        {.name = QStringLiteral("st_status"), .kind = ui::Kind::StaticText, .x = 900, .y = 780, .width = 900,
         .height = 56, .font = {.points = 10}, .textColor = 16777215,
         .flags = ui::AlignRight | ui::Transparent | ui::Hidden},
    });
}

void w_face::showStatus(const QString &text)
{
    auto *status = get<ui::StaticText>(QStringLiteral("st_status"));
    status->setText(text);
    status->setVisible(!text.isEmpty());
    // The start-up has not reached the event loop yet, and the work the text announces keeps it from it: the
    // splash is painted now, without taking any input. A window just shown may not be on the screen yet (the
    // window system maps it in its own time): its exposure is waited for, briefly, then it is painted at once.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (QWindow *window = windowHandle(); window && isVisible()) {
        const QDeadlineTimer limit(1000);
        while (!window->isExposed() && !limit.hasExpired())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 20);
        repaint();
    }
}

void w_face::open()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}
