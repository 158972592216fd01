#include "books/inbank.h"

#include "books/book_views.h"

#include <cmath>

namespace brevik {
namespace {
constexpr qint64 kButtonFace = 79741120;
constexpr int kGridWidth = 3575;
} // namespace

inbank::inbank() : inbank(QStringLiteral("inbank"), QStringLiteral("收款资料整理"), views::inbank()) {}

inbank::inbank(const QString &className, const QString &title, const dw::Definition &view)
    : GridEditor(className, 3662, 1968, view)
{
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setBackground(kButtonFace);
    setDesignPosition(5, 12);
    const ui::Font font{QStringLiteral("黑体"), 12, 700};
    auto button = [&font](const char *name, const char *text, int tabOrder, int x, int width) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = ui::Kind::CommandButton, .x = x, .y = 1632,
                               .width = width, .height = 108, .text = QString::fromUtf8(text), .font = font,
                               .tabOrder = tabOrder};
    };
    build({button("cb_4", "退出", 30, 2162, 315), button("cb_5", "打印", 50, 1847, 315),
           button("cb_3", "确定", 40, 1568, 279), button("cb_2", "删除", 60, 1289, 279),
           button("cb_1", "增加", 20, 1010, 279)});
    addCustom(QStringLiteral("dw_1"), m_dw, 9, 44, kGridWidth, 1524, 10);
}

void inbank::open()
{
    retrieve();
    m_x1 = unitGeometry(QStringLiteral("dw_1")).x();
    m_dw->setFocus(Qt::OtherFocusReason);
}

void inbank::resized(int width, int)
{
    // The grid keeps its size and re-centres; the buttons stay where they are.
    const int p2 = width - 40;
    const QRect grid = unitGeometry(QStringLiteral("dw_1"));
    const int x = m_x1 + int(std::trunc((p2 - grid.width()) * 0.5));
    setUnitGeometry(QStringLiteral("dw_1"), x, grid.y(), grid.width(), grid.height());
}

gobank::gobank() : inbank(QStringLiteral("gobank"), QStringLiteral("付款资料整理"), views::gobank()) {}
} // namespace brevik
