#include "app/w_pass.h"

#include "app/operators.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/messagebox.h"
#include "platform/post.h"
#include "platform/services.h"
#include "platform/units.h"

using ui::Event;
using ui::Kind;

w_pass::w_pass() : ui::Window(QStringLiteral("w_pass"), 1403, 664)
{
    setWindowTitle(QStringLiteral("Fennick用户登录"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setBackground(276856960);
    setDesignPosition(9, 12);
    // Built in the order p_4, p_3, p_2, p_1, sle_1, ddlb_1.
    build({
        {.name = QStringLiteral("p_4"), .kind = Kind::Picture, .x = 855, .y = 460, .width = 215, .height = 72,
         .tabOrder = 40, .picture = QStringLiteral("001\\sign.gif")},
        {.name = QStringLiteral("p_3"), .kind = Kind::Picture, .x = 402, .y = 460, .width = 215, .height = 72,
         .tabOrder = 30, .picture = QStringLiteral("001\\login.gif")},
        {.name = QStringLiteral("p_2"), .kind = Kind::Picture, .x = 146, .y = 268, .width = 137, .height = 120,
         .picture = QStringLiteral("001\\pass.bmp")},
        {.name = QStringLiteral("p_1"), .kind = Kind::Picture, .x = 146, .y = 76, .width = 137, .height = 120,
         .picture = QStringLiteral("001\\User.bmp")},
        {.name = QStringLiteral("sle_1"), .kind = Kind::Edit, .x = 357, .y = 296, .width = 814, .height = 92,
         .font = {QStringLiteral("宋体"), 12}, .textColor = 33554432, .tabOrder = 20, .flags = ui::Password},
        {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = 357, .y = 100, .width = 814, .height = 92,
         .font = {QStringLiteral("Arial"), 12}, .textColor = 33554432, .tabOrder = 10, .flags = ui::AllowEdit,
         .limit = 8},
    });
    for (const char *p : {"p_3", "p_4"})
        control(QString::fromLatin1(p))->setCursor(Qt::PointingHandCursor);

    on(QStringLiteral("p_3"), Event::Clicked, [this] { p_3_clicked(); });
    on(QStringLiteral("p_4"), Event::Clicked, [this] { p_4_clicked(); });
    on(QStringLiteral("sle_1"), Event::Modified, [this] { sle_1_modified(); });
    on(QStringLiteral("ddlb_1"), Event::Modified, [this] { ddlb_1_modified(); });
}

void w_pass::open()
{
    nn = 1;
    int npw = 0;
    g::sqlca.selectInto(QStringLiteral("SELECT count(id) FROM pass"), {}, {npw});
    auto *list = get<ui::DropDownList>(QStringLiteral("ddlb_1"));
    // Ids 1..count: a missing id repeats the previous name, as the list has always shown it.
    QString km;
    for (int n = 1; n <= npw; ++n) {
        g::sqlca.selectInto(QStringLiteral("SELECT name FROM pass WHERE id = ?"), {n}, {km});
        list->addItemText(km);
    }
    list->setTextByCode(QString());
}

void w_pass::activate()
{
    const int h = units::toUnitsY(g::ge_every.screenHeight);
    const int w = units::toUnitsX(g::ge_every.screenWidth);
    if (h >= 1012 && w >= 1400)
        moveToUnits(int((w - 1400) * 0.5), int((h - 212) * 0.5));
}

bool w_pass::closeQuery()
{
    if (g::we_1 != 5)
        return true;
    const int answer = msg::show(QStringLiteral("提示"), QStringLiteral("确定要退出吗(Yes/No)?"), msg::Icon::Exclamation,
                                 msg::Buttons::YesNo, 1);
    if (answer == 1) {
        m_ended = true;
        ui::closeWindowByName(QStringLiteral("w_face"));
        services::halt();
        return true;
    }
    return false;
}

void w_pass::closed()
{
    // Closed without a login: the splash would be the only window left, so the program ends.
    if (m_loggedIn || m_ended)
        return;
    m_ended = true;
    ui::closeWindowByName(QStringLiteral("w_face"));
    services::halt();
}

void w_pass::p_4_clicked()
{
    closeWindow();
    ui::closeWindowByName(QStringLiteral("w_face"));
}

void w_pass::p_3_clicked()
{
    g::we_1 = 3;
    const QString root = gbk::trimBlanks(get<ui::DropDownList>(QStringLiteral("ddlb_1"))->text());
    const StoredOperator stored = lookUpOperator(root);

    if (nn == 3) {
        msg::show(QStringLiteral("警告!"), QStringLiteral(" 非法用户，正在退出! "), msg::Icon::StopSign);
        closeWindow(); // no question now; closing without a login ends the program
        return;
    }
    if (passwordAccepted(get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->text(), stored)) {
        g::name = stored.name;
        m_loggedIn = true;
        ui::openWindow(QStringLiteral("w_main"));
        closeWindow();
        return;
    }
    ++nn;
    msg::show(QStringLiteral("Dallow财务软件"), QStringLiteral(" 用户名或口令错误! "), msg::Icon::StopSign);
}

void w_pass::sle_1_modified()
{
    if (keystate::isDown(Qt::Key_Tab) || keystate::isDown(Qt::Key_Return) || keystate::isDown(Qt::Key_PageDown))
        post::later(this, [this] { p_3_clicked(); });
}

void w_pass::ddlb_1_modified()
{
    if (keystate::isDown(Qt::Key_Tab) || keystate::isDown(Qt::Key_Return) || keystate::isDown(Qt::Key_PageDown))
        control(QStringLiteral("sle_1"))->setFocus(Qt::TabFocusReason);
}
