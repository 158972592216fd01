#include "books/w_passgate.h"

#include "books/book_views.h"
#include "platform/controls.h"
#include "platform/messagebox.h"

#include <QSet>

namespace brevik {
namespace {
constexpr int kDesignWidth = 2336;
constexpr int kDesignHeight = 1440;
constexpr int kButtonWidth = 247;
constexpr int kButtonHeight = 108;
constexpr int kButtonGap = 150;
constexpr int kCaptionWidth = 900;
constexpr qint64 kRed = 255;
constexpr qint64 kBackground = 0xF0FBFF; // RGB 255, 251, 240
} // namespace

w_passgate::w_passgate() : w_passgate(QStringLiteral("w_passgate"), kDesignWidth, kDesignHeight, views::gates()) {}

w_passgate::w_passgate(const QString &className, int width, int height, const dw::Definition &view)
    : GridEditor(className, width, height, view)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setBackground(kBackground);
    const ui::Font button{QStringLiteral("宋体"), 10, 400};
    using ui::Kind;
    build({
        {.name = QStringLiteral("st_2"), .kind = Kind::StaticText, .x = 23, .y = 1200, .width = 2222, .height = 84,
         .font = {QStringLiteral("宋体"), 12, 700}},
        {.name = QStringLiteral("st_1"), .kind = Kind::StaticText, .x = (kDesignWidth - kCaptionWidth) / 2, .y = 28,
         .width = kCaptionWidth, .height = 80, .font = {QStringLiteral("黑体"), 12, 700}, .textColor = kRed,
         .flags = ui::AlignCenter | ui::Transparent},
        {.name = QStringLiteral("cb_4"), .kind = Kind::CommandButton, .text = QStringLiteral("退出"), .font = button,
         .tabOrder = 40},
        {.name = QStringLiteral("cb_3"), .kind = Kind::CommandButton, .text = QStringLiteral("确定"), .font = button,
         .tabOrder = 30},
        {.name = QStringLiteral("cb_2"), .kind = Kind::CommandButton, .text = QStringLiteral("删除"), .font = button,
         .tabOrder = 50},
        {.name = QStringLiteral("cb_1"), .kind = Kind::CommandButton, .text = QStringLiteral("增加"), .font = button,
         .tabOrder = 20},
    });
    // The usage note is framed in red.
    if (auto *note = get<ui::StaticText>(QStringLiteral("st_2")))
        note->setStyleSheet(QStringLiteral("QLabel { border: 1px solid red; padding-left: 4px; }"));
    addCustom(QStringLiteral("dw_1"), m_dw, 23, 124, 2254, 856, 10);
    setTexts(QStringLiteral("用户设定"), QStringLiteral("用户设定"),
             QStringLiteral("使用说明:编号,操作员,密码必须填写,操作完成必须按确定."), QStringLiteral("确定"));
    placeLayout(124, 2254, 856, 1024, 1200);
    m_dw->setEnterHandler([this] { return enterInGrid(); });
}

void w_passgate::setTexts(const QString &title, const QString &caption, const QString &note, const QString &okText)
{
    setWindowTitle(title);
    get<ui::StaticText>(QStringLiteral("st_1"))->setText(caption);
    get<ui::StaticText>(QStringLiteral("st_2"))->setText(note);
    get<ui::CommandButton>(QStringLiteral("cb_3"))->setText(okText);
}

void w_passgate::placeLayout(int gridY, int gridWidth, int gridHeight, int buttonY, int noteY)
{
    setUnitGeometry(QStringLiteral("dw_1"), 23, gridY, gridWidth, gridHeight);
    placeButtons({QStringLiteral("cb_1"), QStringLiteral("cb_2"), QStringLiteral("cb_3"), QStringLiteral("cb_5"),
                  QStringLiteral("cb_4")},
                 buttonY, kButtonWidth, kButtonHeight, kButtonGap);
    const QRect note = unitGeometry(QStringLiteral("st_2"));
    setUnitGeometry(QStringLiteral("st_2"), note.x(), noteY, gridWidth - 32, note.height());
    const QRect caption = unitGeometry(QStringLiteral("st_1"));
    setUnitGeometry(QStringLiteral("st_1"), 23 + (gridWidth - caption.width()) / 2, caption.y(), caption.width(),
                    caption.height());
}

void w_passgate::open()
{
    retrieve();
    m_dw->setFocus(Qt::OtherFocusReason);
}

void w_passgate::resized(int width, int height)
{
    // The grid follows the window; the buttons and texts keep their places and stay above it.
    const int gridWidth = width - 40;
    setUnitGeometry(QStringLiteral("dw_1"), (width - gridWidth) / 2, unitGeometry(QStringLiteral("dw_1")).y(),
                    gridWidth, height - 200);
    for (const char *name : {"st_1", "st_2", "cb_1", "cb_2", "cb_3", "cb_4", "cb_5"})
        if (QWidget *w = control(QString::fromLatin1(name)))
            w->raise();
}

bool w_passgate::enterInGrid()
{
    const int rows = m_dw->rowCount();
    if (m_dw->currentColumn() == m_dw->columnCount() && m_dw->currentRow() == rows
        && !control(QStringLiteral("cb_1"))->isHidden()) {
        // Also while the add button is disabled after an earlier add.
        addRow();
        return true;
    }
    m_dw->nextCell();
    return true;
}

bool w_passgate::saveAllowed()
{
    QSet<qint64> ids;
    int administrators = 0;
    bool idsComplete = true;
    const int rows = m_dw->rowCount();
    for (int r = 1; r <= rows; ++r) {
        // A row added but never typed into is not saved, so it does not count.
        if (m_dw->buffer().rowStatus(r) == dw::RowStatus::New)
            continue;
        const QVariant id = m_dw->item(r, QStringLiteral("id"));
        if (id.isNull() || ids.contains(id.toLongLong()))
            idsComplete = false;
        ids.insert(id.toLongLong());
        administrators += m_dw->itemString(r, QStringLiteral("name")).trimmed() == QStringLiteral("system");
    }
    for (qint64 i = 1; idsComplete && i <= ids.size(); ++i)
        idsComplete = ids.contains(i);
    if (!idsComplete) {
        msg::show(QStringLiteral("提示"), QStringLiteral(" 编号必须从1开始连续编排,不能重复或空缺! "),
                  msg::Icon::Exclamation);
        return false;
    }
    if (administrators != 1) {
        msg::show(QStringLiteral("提示"), QStringLiteral(" 必须保留一个且只能有一个用户 system! "),
                  msg::Icon::Exclamation);
        return false;
    }
    return true;
}
} // namespace brevik
