#include "books/w_cabank.h"

#include "books/lists_reports.h"
#include "globals.h"
#include "platform/controls.h"
#include "dataview/print.h"
#include "platform/services.h"

#include <cmath>

using ui::Event;
using ui::Kind;

namespace {
constexpr qint64 kLightBlue = 15780518; // RGB 166, 202, 240
constexpr qint64 kRed = 255;

// The controls that move together when the window is resized, in the order their positions are remembered.
const char *const kMoving[] = {"dw_1", "st_1", "em_1", "cb_1", "cb_2", "cb_3", "em_2", "st_2"};
} // namespace

w_cabank::w_cabank() : w_cabank(QStringLiteral("w_cabank"), brevik::cabank()) {}

w_cabank::w_cabank(const QString &className, const dw::ReportDefinition &report) : ui::Window(className, 3538, 1960)
{
    setWindowTitle(QStringLiteral("支出明细表"));
    setBackground(kLightBlue);
    setDesignPosition(0, 0);
    const ui::Font song12{QStringLiteral("宋体"), 12};
    auto button = [&](const char *name, const char *text, int x, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::CommandButton, .x = x, .y = 1716,
                               .width = 247, .height = 108, .text = QString::fromUtf8(text), .font = song12,
                               .tabOrder = tab};
    };
    auto dateBox = [&](const char *name, int x, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::EditMask, .x = x, .y = 1716,
                               .width = 416, .height = 100, .font = song12, .tabOrder = tab,
                               .picture = QStringLiteral("yyyy.mm.dd")};
    };
    build({
        {.name = QStringLiteral("st_2"), .kind = Kind::StaticText, .x = 1403, .y = 1732, .width = 64, .height = 76,
         .text = QStringLiteral("至"), .font = {QStringLiteral("宋体"), 12, 700}, .textColor = kRed,
         .backColor = kLightBlue, .flags = ui::Disabled},
        dateBox("em_2", 960, 40),
        {.name = QStringLiteral("st_1"), .kind = Kind::StaticText, .x = 603, .y = 1724, .width = 347, .height = 76,
         .text = QStringLiteral("日期输入:"), .font = song12, .textColor = kRed, .backColor = kLightBlue,
         .flags = ui::Disabled},
        button("cb_3", "查询", 1952, 50),
        dateBox("em_1", 1509, 30),
        button("cb_2", "退出", 2505, 60),
        button("cb_1", "打印", 2226, 20),
    });
    m_report = new dw::ReportView(this);
    m_report->setDefinition(report);
    addCustom(QStringLiteral("dw_1"), m_report, 14, 20, 3465, 1680, 10);

    on(QStringLiteral("cb_3"), Event::Clicked, [this] { cb_3_clicked(); });
    on(QStringLiteral("cb_1"), Event::Clicked, [this] { cb_1_clicked(); });
    on(QStringLiteral("cb_2"), Event::Clicked, [this] { closeWindow(); });
}

void w_cabank::open()
{
    const QDate today = services::today();
    get<ui::EditMask>(QStringLiteral("em_1"))->setDate(today);
    get<ui::EditMask>(QStringLiteral("em_2"))->setDate(today);
    for (int i = 0; i < 8; ++i)
        m_designX[std::size_t(i + 1)] = unitGeometry(QString::fromLatin1(kMoving[i])).x();
    m_opened = true;
}

void w_cabank::resized(int widthUnits, int /*heightUnits*/)
{
    if (!m_opened)
        return; // the design positions are remembered at open
    p2 = widthUnits - 40;
    const int shift = int(std::trunc((p2 - unitGeometry(QStringLiteral("dw_1")).width()) * 0.5));
    for (int i = 0; i < 8; ++i) {
        const QString name = QString::fromLatin1(kMoving[i]);
        const QRect r = unitGeometry(name);
        setUnitGeometry(name, m_designX[std::size_t(i + 1)] + shift, r.y(), r.width(), r.height());
    }
}

void w_cabank::cb_3_clicked()
{
    // A box without a valid date binds no value, so the comparison selects nothing.
    auto dateOf = [this](const char *box) {
        const QDate d = get<ui::EditMask>(QString::fromLatin1(box))->date();
        return d.isValid() ? QVariant(d) : QVariant();
    };
    m_report->setTransaction(g::sqlca);
    m_report->retrieve({dateOf("em_2"), dateOf("em_1")});
}

void w_cabank::cb_1_clicked()
{
    if (QString error; m_report->print(&error) < 0)
        dw::showPrintError(error);
}
