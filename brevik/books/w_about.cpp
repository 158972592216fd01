#include "books/w_about.h"

#include "platform/services.h"

using ui::Event;
using ui::Kind;

w_about::w_about() : ui::Window(QStringLiteral("w_about"), 2057, 1012)
{
    setWindowTitle(QStringLiteral("关于Dallow财务软件"));
    // A modal dialog with a close box only; it keeps its size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setBackground(67108864);
    setDesignPosition(494, 476);
    build({
        {.name = QStringLiteral("shl_1"), .kind = Kind::StaticText, .x = 370, .y = 44, .width = 1317, .height = 116,
         .text = QStringLiteral("点击下载最新升级文件"),
         .font = {QStringLiteral("Arial"), 14, 700},
         .textColor = 16711680, .backColor = 67108864, .flags = ui::AlignCenter},
        {.name = QStringLiteral("st_1"), .kind = Kind::StaticText, .x = 215, .y = 180, .width = 1600, .height = 76,
         .text = QStringLiteral("Fennick 软件    V2.58"), .font = {QStringLiteral("宋体"), 12},
         .backColor = 67108864},
        {.name = QStringLiteral("ln_1"), .kind = Kind::Line, .x = 55, .y = 388, .width = 1952, .height = 0,
         .textColor = 255, .limit = 8},
        {.name = QStringLiteral("cb_1"), .kind = Kind::CommandButton, .x = 873, .y = 804, .width = 315, .height = 88,
         .text = QStringLiteral("确定"), .font = {QStringLiteral("宋体"), 10}, .tabOrder = 10},
    });
    QWidget *link = control(QStringLiteral("shl_1"));
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    link->setCursor(Qt::PointingHandCursor);
    setFixedSize(size());

    on(QStringLiteral("shl_1"), Event::Clicked, [] { services::openUrl(updateAddress()); });
    on(QStringLiteral("cb_1"), Event::Clicked, [this] { closeWindow(); });
}

QString w_about::updateAddress() { return QStringLiteral("https://fennick.example/download/"); }
