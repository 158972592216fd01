#include "books/reference_books.h"

#include "books/book_views.h"
#include "platform/controls.h"
#include "platform/messagebox.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTableView>

namespace brevik {
namespace {
constexpr int kBookHeight = 1884;

void hideAddAndDelete(ui::Window *w)
{
    for (const char *name : {"cb_1", "cb_2"}) {
        w->control(QString::fromLatin1(name))->setEnabled(false);
        w->control(QString::fromLatin1(name))->hide();
    }
}
} // namespace

w_bank::w_bank() : w_bank(QStringLiteral("w_bank"), 3438, views::dwbank())
{
    setTexts(QStringLiteral("银行帐号设定"), QStringLiteral("银行帐号设定"),
             QStringLiteral("使用说明:编号,银行帐号,开户名,打印名必须填写,操作完成必须按确定."), QStringLiteral("确定"));
    placeLayout(124, 3346, 1296, 1480, 1680);
}

w_bank::w_bank(const QString &className, int width, const dw::Definition &view)
    : w_passgate(className, width, kBookHeight, view)
{
}

w_skrbk::w_skrbk() : w_skrbk(QStringLiteral("w_skrbk"), views::dwskrbk(), QStringLiteral("供应商资料")) {}

w_skrbk::w_skrbk(const QString &className, const dw::Definition &view, const QString &caption)
    : w_bank(className, 3474, view)
{
    build({{.name = QStringLiteral("cb_5"), .kind = ui::Kind::CommandButton, .text = QStringLiteral("打印"),
            .font = {QStringLiteral("宋体"), 10, 400}, .tabOrder = 50}});
    setTexts(QStringLiteral("银行帐号设定"), caption, QStringLiteral("使用说明：操作完成必须按确定."),
             QStringLiteral("确定"));
    const QRect st1 = unitGeometry(QStringLiteral("st_1"));
    setUnitGeometry(QStringLiteral("st_1"), st1.x(), 8, st1.width(), st1.height());
    placeLayout(96, 3378, 1428, 1580, 1740);
}

w_fkrbk::w_fkrbk() : w_skrbk(QStringLiteral("w_fkrbk"), views::dwfkbk(), QStringLiteral("销售商资料")) {}

w_cnbs1::w_cnbs1() : w_passgate(QStringLiteral("w_cnbs1"), 2336, 1440, views::cnbs1())
{
    setTexts(QStringLiteral("用户设定"), QStringLiteral("备注设定"),
             QStringLiteral("使用说明:编号,文字名称必须填写,操作完成必须按保存."), QStringLiteral("保存"));
}

w_prsz::w_prsz() : w_passgate(QStringLiteral("w_prsz"), 2336, 1440, views::prsz())
{
    setTexts(QStringLiteral("打印格式设定"), QStringLiteral("打印格式设定"),
             QStringLiteral("使用说明:编号,打印格式必须填写,操作完成必须按确定."), QStringLiteral("修改"));
    hideAddAndDelete(this);
    placeLayout(124, 2254, 856, 1024, 1200);
}

w_gate::w_gate() : w_passgate(QStringLiteral("w_gate"), 2336, 1440, views::dwgate())
{
    setTexts(QStringLiteral("单位信息设置"), QStringLiteral("单位信息设置"),
             QStringLiteral("使用说明:编号,单位名称,单位地址必须填写,操作完成必须按确定."), QStringLiteral("修改"));
    hideAddAndDelete(this);
    placeLayout(124, 2254, 856, 1024, 1200);
    m_dw->grid()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_dw->setDbErrorHandler([](int code, const QString &text) {
        const QString message = messageFor(code, text);
        if (message.isEmpty())
            return 0; // any other refusal: the grid's own report, so a failed save never passes unnoticed
        msg::show(QStringLiteral("警告讯息"), message);
        return 1;
    });
}

QString w_gate::messageFor(int code, const QString &text)
{
    // The codes the messages were written for, and the engine's own codes and texts for the same refusals.
    if (code == -195 || code == 1299 || text.contains(QStringLiteral("NOT NULL constraint"), Qt::CaseInsensitive))
        return QStringLiteral("栏位不允许空白");
    if (code == -193 || code == 1555 || code == 2067
        || text.contains(QStringLiteral("UNIQUE constraint"), Qt::CaseInsensitive))
        return QStringLiteral("资料重复,请重新输入!");
    if (code == 2292 || code == 787 || text.contains(QStringLiteral("FOREIGN KEY constraint"), Qt::CaseInsensitive))
        return QStringLiteral("主键不允许修改");
    return {};
}

void w_gate::open()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    w_passgate::open();
}
} // namespace brevik
