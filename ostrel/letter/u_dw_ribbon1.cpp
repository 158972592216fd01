#include "u_dw_ribbon1.h"

#include "u_picb01.h"

#include "platform/services.h"
#include "platform/units.h"
#include "platform/window.h"

u_dw_ribbon1::u_dw_ribbon1(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, services::color(15793151));
    setPalette(pal);
    setAutoFillBackground(true);

    struct ButtonRow {
        int number, x;
        const char *picture;
        QString tag;
    };
    // Created from the last button to the first.
    const ButtonRow buttons[] = {
        {6, 983, "05tc.bmp", QString()},
        {5, 754, "05tc.bmp", QStringLiteral("退出")},
        {4, 567, "04xyz.bmp", QStringLiteral("下一张")},
        {3, 379, "03dy.bmp", QStringLiteral("打印")},
        {2, 192, "02dydw.bmp", QStringLiteral("打印定位")},
        {1, 5, "01cp.bmp", QStringLiteral("存盘")},
    };
    for (const ButtonRow &s : buttons) {
        auto *b = new u_picb01(s.tag, QString::fromLatin1(s.picture), this);
        b->setObjectName(QStringLiteral("pb_%1").arg(s.number));
        b->setGeometry(units::toPixels(s.x, 0, u_picb01::kWidth, u_picb01::kHeight));
        b->setFocusPolicy(Qt::StrongFocus);
    }
    setFocusProxy(button(1));
    chainButtons();

    connect(button(5), &QPushButton::clicked, this, [] { ui::closeWindowByName(QStringLiteral("w_ywwts")); });
}

void u_dw_ribbon1::chainButtons()
{
    for (int n = 1; n < 6; ++n)
        QWidget::setTabOrder(button(n), button(n + 1));
}

u_picb01 *u_dw_ribbon1::button(int number) const
{
    return findChild<u_picb01 *>(QStringLiteral("pb_%1").arg(number), Qt::FindDirectChildrenOnly);
}
