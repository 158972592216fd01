#include "pickers/w_temp1.h"

#include "books/sdwskrbk.h"
#include "globals.h"

using ui::Kind;

w_temp1::w_temp1()
    : w_temp1(QStringLiteral("w_temp1"), QStringLiteral("收款人查询"), QStringLiteral("收款人"), brevik::sdwskrbk(),
              QRect(0, 0, 2002, 760), QStringLiteral("w_skrbk"))
{
}

w_temp1::w_temp1(const QString &className, const QString &title, const QString &nameLabel,
                 const dw::Definition &definition, QRect listUnits, const QString &bookWindow)
    : pickers::Picker(className, 2039, 1592, definition, listUnits, bookWindow)
{
    setWindowTitle(title);
    const ui::Font small{QStringLiteral("Arial"), 10};
    const ui::Font large{QStringLiteral("Arial"), 12};
    auto label = [&large](const char *name, const QString &text, int x, int y, int w, int h) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::StaticText, .x = x, .y = y, .width = w,
                               .height = h, .text = text, .font = large};
    };
    auto edit = [](const char *name, const ui::Font &font, int x, int y, int w, int h, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::Edit, .x = x, .y = y, .width = w,
                               .height = h, .font = font, .tabOrder = tab};
    };
    auto button = [&small](const char *name, const QString &text, int y, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::CommandButton, .x = 1403, .y = y,
                               .width = 293, .height = 112, .text = text, .font = small, .tabOrder = tab};
    };
    build({
        label("st_1", nameLabel, 197, 808, 233, 64),
        edit("sle_1", small, 453, 788, 887, 112, 20),
        button("cb_2", QStringLiteral("查询"), 788, 30),
        label("st_2", nameLabel, 197, 948, 233, 64),
        edit("sle_2", small, 453, 932, 887, 112, 30),
        button("cb_1", QStringLiteral("选取"), 924, 40),
        label("st_4", QStringLiteral("帐号"), 197, 1076, 224, 72),
        edit("sle_3", small, 453, 1060, 887, 112, 60),
        button("cb_4", QStringLiteral("编缉"), 1060, 70),
        label("st_3", QStringLiteral("开户行"), 197, 1212, 224, 72),
        edit("sle_4", small, 453, 1192, 887, 112, 60),
        button("cb_3", QStringLiteral("退出"), 1196, 50),
        edit("sle_5", large, 55, 1312, 457, 128, 70),
        label("st_5", QStringLiteral("省"), 517, 1348, 101, 72),
        edit("sle_6", large, 622, 1324, 457, 128, 80),
        label("st_6", QStringLiteral("市"), 1093, 1352, 119, 72),
        edit("sle_7", large, 1211, 1328, 457, 128, 90),
        label("st_7", QStringLiteral("县"), 1687, 1356, 119, 72),
    });
}

void w_temp1::choose()
{
    const int row = list()->currentRow(); // 0 on an empty list: every value reads as empty text
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot].clear();
    const char *columns[] = {"skrname", "skrcode", "skrbank", "prov", "city", "xian"};
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot] = list()->itemString(row, QString::fromLatin1(columns[slot - 1]));
    for (int slot = 1; slot <= 6; ++slot)
        showText(QStringLiteral("sle_%1").arg(slot + 1), g::dnname[slot]);
}
