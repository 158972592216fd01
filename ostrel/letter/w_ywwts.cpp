#include "w_ywwts.h"

#include "dw_ywwts.h"
#include "u_dw_ribbon1.h"

#include "globals.h"
#include "dataview/freeform.h"
#include "platform/services.h"

#include <QGuiApplication>
#include <QScreen>

w_ywwts::w_ywwts() : ui::Window(QStringLiteral("w_ywwts"), 3314, 1416)
{
    setWindowTitle(QStringLiteral("Untitled"));
    setWindowIcon(QIcon(services::pictureResource(QStringLiteral("AppIcon.ico"))));
    setBackground(67108864);

    m_uo1 = new u_dw_ribbon1(this);
    addCustom(QStringLiteral("uo_1"), m_uo1, 0, 4, u_dw_ribbon1::kWidth, u_dw_ribbon1::kHeight, 100);
    m_dw1 = new dw::FreeFormView(this);
    m_dw1->setDefinition(ostrel::dw_ywwts_definition(), ostrel::dw_ywwts_layout());
    addCustom(QStringLiteral("dw_1"), m_dw1, 27, 192, 2683, 1080, 10);
    m_uo1->chainButtons();
}

void w_ywwts::open()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    m_dw1->setTransaction(g::sqlca);
    // The register as it stands now; a failed read is reported (the view does it) over the letters read before it.
    m_dw1->retrieve();
}
