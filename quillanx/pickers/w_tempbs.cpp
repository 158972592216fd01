#include "pickers/w_tempbs.h"

#include "globals.h"
#include "pickers/cnbs2.h"

using ui::Kind;

w_tempbs::w_tempbs()
    : pickers::Picker(QStringLiteral("w_tempbs"), 2039, 1192, pickers::cnbs2(), QRect(0, 0, 1993, 756),
                      QStringLiteral("w_cnbs1"))
{
    setWindowTitle(QStringLiteral("备注查询"));
    const ui::Font font{QStringLiteral("Arial"), 10};
    auto edit = [&font](const char *name, int y, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::Edit, .x = 55, .y = y, .width = 1285,
                               .height = 112, .font = font, .tabOrder = tab};
    };
    auto button = [&font](const char *name, const QString &text, int x, int y, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::CommandButton, .x = x, .y = y,
                               .width = 293, .height = 112, .text = text, .font = font, .tabOrder = tab};
    };
    // Two rows under the list: search text, "查询", "编缉"; chosen remark, "选取", "退出".
    build({
        edit("sle_1", 788, 20),
        button("cb_2", QStringLiteral("查询"), 1380, 788, 30),
        button("cb_4", QStringLiteral("编缉"), 1700, 788, 70),
        edit("sle_2", 932, 30),
        button("cb_1", QStringLiteral("选取"), 1380, 932, 40),
        button("cb_3", QStringLiteral("退出"), 1700, 932, 50),
    });
}

void w_tempbs::choose()
{
    const int row = list()->currentRow();
    g::dnname[8].clear();
    g::dnname[8] = list()->itemString(row, QStringLiteral("ctext"));
    showText(QStringLiteral("sle_2"), g::dnname[8]);
}
