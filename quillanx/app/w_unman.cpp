#include "app/w_unman.h"

#include "app/operators.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/messagebox.h"
#include "platform/services.h"

#include <QGuiApplication>
#include <QScreen>

using ui::Event;
using ui::Kind;

namespace {
constexpr qint64 kPanel = 15780518; // light blue (166, 202, 240)

void setMainEnabled(bool on)
{
    if (ui::Window *w = ui::findWindow(QStringLiteral("w_main")))
        w->setEnabled(on);
}
} // namespace

w_unman::w_unman() : ui::Window(QStringLiteral("w_unman"), 1637, 1232)
{
    setWindowTitle(QStringLiteral("更换操作员"));
    // A title bar without buttons: only a right password closes the window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setBackground(67108864);
    const ui::Font arial12{QStringLiteral("Arial"), 12, 700};
    // Built in the order ddlb_1, cb_1, st_3, st_2, st_1, sle_1, r_1.
    build({
        {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = 654, .y = 384, .width = 649, .height = 92,
         .font = {QStringLiteral("宋体"), 10}, .tabOrder = 10, .flags = ui::Sorted},
        {.name = QStringLiteral("cb_1"), .kind = Kind::CommandButton, .x = 745, .y = 788, .width = 247, .height = 108,
         .text = QStringLiteral("确定"), .font = {QStringLiteral("宋体"), 10}, .tabOrder = 30},
        {.name = QStringLiteral("st_3"), .kind = Kind::StaticText, .x = 352, .y = 600, .width = 247, .height = 76,
         .text = QStringLiteral("密 码"), .font = arial12, .textColor = 33554432, .backColor = kPanel},
        {.name = QStringLiteral("st_2"), .kind = Kind::StaticText, .x = 343, .y = 388, .width = 251, .height = 76,
         .text = QStringLiteral("用户名"), .font = arial12, .textColor = 33554432, .backColor = kPanel},
        {.name = QStringLiteral("st_1"), .kind = Kind::StaticText, .x = 453, .y = 204, .width = 722, .height = 76,
         .text = QStringLiteral("更 换 操 作 员"), .font = arial12, .textColor = 16711680, .backColor = kPanel,
         .flags = ui::AlignCenter},
        {.name = QStringLiteral("sle_1"), .kind = Kind::Edit, .x = 645, .y = 604, .width = 649, .height = 92,
         .font = {QStringLiteral("Arial"), 10}, .tabOrder = 20, .flags = ui::Password | ui::NoHScroll},
        {.name = QStringLiteral("r_1"), .kind = Kind::Rectangle, .x = 14, .y = 8, .width = 1591, .height = 1124,
         .textColor = 255, .backColor = kPanel, .limit = 4},
    });
    on(QStringLiteral("cb_1"), Event::Clicked, [this] { cb_1_clicked(); });
}

void w_unman::open()
{
    // Every operator once, in the list's sorted order. A fetch error ends the loop as the end of rows does.
    auto *list = get<ui::DropDownList>(QStringLiteral("ddlb_1"));
    db::Cursor eemc(g::sqlca, QStringLiteral("select name from pass"));
    eemc.open();
    QString kk1;
    int added = 0;
    while (eemc.fetch({kk1}) == 0) {
        list->addItemText(kk1);
        ++added;
    }
    eemc.close();
    // An empty table still leaves one empty entry to choose.
    if (added == 0)
        list->addItemText(QString());
    list->setCurrentIndex(-1);

    setMainEnabled(false);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    list->setFocus(Qt::OtherFocusReason);
}

void w_unman::cb_1_clicked()
{
    const QString root = get<ui::DropDownList>(QStringLiteral("ddlb_1"))->text();
    const StoredOperator stored = lookUpOperator(root);

    if (nn == 3) {
        msg::show(QStringLiteral("警告!"), QStringLiteral(" 非法用户，正在退出! "), msg::Icon::StopSign);
        closeByCode();
        services::halt();
        return;
    }
    if (passwordAccepted(get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->text(), stored)) {
        g::name = stored.name;
        closeByCode();
        msg::show(QStringLiteral("更换操作员!"), QStringLiteral(" 现在操作员是") + g::name + QStringLiteral("! "),
                  msg::Icon::Exclamation);
        setMainEnabled(true);
        return;
    }
    ++nn;
    msg::show(QStringLiteral("错误!"), QStringLiteral(" 密码错误，请重新输入! "), msg::Icon::StopSign);
    setMainEnabled(true);
}

void w_unman::closeByCode()
{
    m_closingByCode = true;
    closeWindow();
}

bool w_unman::closeQuery()
{
    // The operator cannot close it by the platform's close request either: a right password does it.
    return m_closingByCode;
}
