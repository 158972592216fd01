#include "layout/layout_window.h"

#include "globals.h"
#include "layout/font_window.h"
#include "layout/layout_units.h"
#include "layout/sample_fields.h"
#include "platform/controls.h"
#include "platform/messagebox.h"
#include "platform/post.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QLabel>

namespace layout {

const ui::Font LayoutWindow::kSong12 = {QStringLiteral("宋体"), 12, 400};

namespace {
using Label = LayoutWindow::Label;

ui::ControlSpec edit(const QString &name, int x, int y, int tabOrder)
{
    return {name, ui::Kind::Edit, x, y, 247, 92, {}, {QStringLiteral("宋体"), 12, 400}, ui::kNoColor, ui::kNoColor,
            tabOrder, ui::NoHScroll | ui::Identifier}; // positions and sizes: a cut figure is another one
}

ui::ControlSpec button(const QString &name, const QString &text, int x, int y, int width, int tabOrder)
{
    return {name, ui::Kind::CommandButton, x, y, width, 108, text, {QStringLiteral("宋体"), 12, 400}, ui::kNoColor,
            ui::kNoColor, tabOrder};
}

// The title line: the heading of the paper form, blue, bold 14 pt.
ui::ControlSpec titleLine(int x, int y, quint32 align)
{
    return {QStringLiteral("st_100"), ui::Kind::StaticText, x, y, 1431, 88, {}, {QStringLiteral("宋体"), 14, 700},
            0xFF0000, ui::kNoColor, 0, ui::Disabled | ui::Transparent | align};
}

QLabel *labelOf(ui::Window *w, const QString &name) { return w->get<QLabel>(name); }

void showError(const QString &text) { msg::show(QStringLiteral("错误!"), text, msg::Icon::StopSign); }
} // namespace

LayoutWindow::LayoutWindow(const QString &className, const QString &title, forms::Family family, int designWidth,
                           int designHeight)
    : ui::Window(className, designWidth, designHeight), m_family(family), m_title(title)
{
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
}

void LayoutWindow::buildLabels(const QList<Label> &labels, qint64 background)
{
    QList<ui::ControlSpec> specs;
    for (const Label &l : labels)
        specs << ui::ControlSpec{l.name, ui::Kind::StaticText, l.x, l.y, l.width, l.height, l.text, l.font, 0,
                                 background, 0, l.flags | ui::Disabled};
    build(specs);
    for (const Label &l : labels) {
        setBordered(l.name, l.bordered);
        // Labels of two lines' height (the block labels, "人民币(大写)") break their text.
        if (l.height > 108)
            get<QLabel>(l.name)->setWordWrap(true);
    }
}

void LayoutWindow::buildSamples(const QList<Label> &samples)
{
    QList<ui::ControlSpec> specs;
    for (const Label &s : samples)
        specs << ui::ControlSpec{s.name, ui::Kind::StaticText, s.x, s.y, s.width, s.height, s.text, s.font};
    build(specs);
    for (const Label &s : samples)
        setBordered(s.name, true);
}

void LayoutWindow::addGrid(int places, int x, int y, int tabOrder)
{
    auto *g = new DigitGrid(places);
    addCustom(QStringLiteral("uo_1"), g, x, y, g->widthUnits(), DigitGrid::kHeightUnits, tabOrder);
    // The grid is moved, never focused.
    g->setFocusPolicy(Qt::NoFocus);
}

DigitGrid *LayoutWindow::grid() const { return get<DigitGrid>(QStringLiteral("uo_1")); }

void LayoutWindow::setSamples(const QList<Sample> &samples)
{
    for (const Sample &s : samples) {
        if (sampleOf(s.pair).isEmpty())
            SampleDrag::attach(this, s.control);
        m_samples.removeIf([&](const Sample &old) { return old.pair == s.pair; });
        m_samples << s;
    }
    std::sort(m_samples.begin(), m_samples.end(), [](const Sample &a, const Sample &b) { return a.pair < b.pair; });
}

QString LayoutWindow::sampleOf(int pair) const
{
    for (const Sample &s : m_samples)
        if (s.pair == pair)
            return s.control;
    return {};
}

void LayoutWindow::setBordered(const QString &name, bool on)
{
    if (QLabel *l = labelOf(this, name))
        l->setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
}

void LayoutWindow::raiseControls(const QStringList &names)
{
    for (const QString &name : names)
        if (QWidget *w = control(name))
            w->raise();
}

void LayoutWindow::wireToolRow(const QString &fontButton)
{
    on(QStringLiteral("cb_2"), ui::Event::Clicked, [this] { setPageSize(); });
    on(QStringLiteral("cb_3"), ui::Event::Clicked, [this] { save(); });
    on(QStringLiteral("cb_1"), ui::Event::Clicked, [this] { close(); });
    if (!fontButton.isEmpty())
        on(fontButton, ui::Event::Clicked, [this] { openFontWindow(); });
    // Its boxes by the captions beside them, as a refused input names them.
    for (const auto &[box, caption] : {std::pair{"sle_1", "长度"}, {"sle_2", "宽度"}, {"sle_3", "金额栏间距"}})
        if (QWidget *w = control(QString::fromLatin1(box)))
            w->setAccessibleName(QString::fromUtf8(caption));
}

void LayoutWindow::applyPageUnits(int width, int height)
{
    // Not resizable by the operator: the page size alone sizes the window.
    const int px = qMax(1, units::toPixelsX(width)), py = qMax(1, units::toPixelsY(height));
    setFixedSize(px, py);
    // Units stay what was asked unless the window system gave another size.
    m_pageWidth = size().width() == units::toPixelsX(width) ? width : units::toUnitsX(size().width());
    m_pageHeight = size().height() == units::toPixelsY(height) ? height : units::toUnitsY(size().height());
}

void LayoutWindow::open()
{
    m_slot = g::acer;
    m_samplesShown = g::air;
    int sex = 0, sey = 0;
    g::sqlca.selectInto(QStringLiteral("SELECT sex, sey FROM sescr WHERE no = ?"), {m_slot}, {sex, sey});
    applyPageUnits(toWindow(sex), toWindow(sey));

    const forms::LayoutRow row = forms::readLayoutRow(g::sqlca, m_family, m_slot);
    for (const Sample &s : m_samples) {
        const QPoint stored = row.pair.at(std::size_t(s.pair));
        const QRect u = unitGeometry(s.control);
        setUnitGeometry(s.control, toWindow(stored.x()), toWindow(stored.y()), u.width(), u.height());
    }
    get<ui::SingleLineEdit>(QStringLiteral("sle_3"))->setTextByCode(QString::number(row.jj));

    // Sample texts: the slot of the family's field table; pairs the family does not print show their own slot.
    const QList<forms::Field> fields = forms::fieldTable(m_family);
    for (const Sample &s : m_samples) {
        if (s.pair == 15)
            continue;
        int airSlot = s.pair;
        for (const forms::Field &f : fields)
            if (f.pair == s.pair)
                airSlot = f.airSlot;
        labelOf(this, s.control)->setText(g::air.at(std::size_t(airSlot)));
    }
    labelOf(this, QStringLiteral("st_100"))->setText(g::air.at(30));
    if (DigitGrid *digits = grid()) {
        const QList<QLabel *> cells = digits->digitCells();
        const int first = digits->places() == 11 ? 1 : 0;
        if (first == 1)
            cells.at(0)->setText(g::air.at(25));
        for (int j = first; j < cells.size(); ++j)
            cells.at(j)->setText(g::air.at(std::size_t(15 + j - first)));
    }
    get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->setTextByCode(QString::number(2 * m_pageWidth));
    get<ui::SingleLineEdit>(QStringLiteral("sle_2"))->setTextByCode(QString::number(2 * m_pageHeight));
}

bool LayoutWindow::writeRow(const QString &sql, const QVariantList &args)
{
    g::sqlca.execute(sql, args);
    if (g::sqlca.SQLCode != 0) {
        const QString error = db::faultMessage(g::sqlca);
        g::sqlca.rollback();
        showError(QStringLiteral("保存设置失败：") + error);
        return false;
    }
    if (g::sqlca.SQLNRows == 0) {
        showError(QStringLiteral("没有第%1号打印位置记录，设置未保存。").arg(m_slot));
        return false;
    }
    g::sqlca.commit();
    if (g::sqlca.SQLCode != 0) {
        const QString error = db::faultMessage(g::sqlca);
        g::sqlca.rollback();
        showError(QStringLiteral("保存设置失败：") + error);
        return false;
    }
    return true;
}

void LayoutWindow::setPageSize()
{
    const int w = toWindow(wholeNumber(get<QLineEdit>(QStringLiteral("sle_1"))->text()));
    const int h = toWindow(wholeNumber(get<QLineEdit>(QStringLiteral("sle_2"))->text()));
    applyPageUnits(w, h);
    writeRow(QStringLiteral("UPDATE sescr SET sex = ?, sey = ? WHERE no = ?"), {toStored(w), toStored(h), m_slot});
}

void LayoutWindow::save()
{
    QStringList assignments;
    QVariantList args;
    const QStringList columns = forms::layoutColumns(m_family);
    for (const QString &column : columns) {
        assignments << column + QStringLiteral(" = ?");
        if (column == QStringLiteral("jj")) {
            args << wholeNumber(get<QLineEdit>(QStringLiteral("sle_3"))->text());
            continue;
        }
        // x12w -> pair 12, x then y.
        const int pair = column.mid(1, column.size() - 2).toInt();
        const QRect u = unitGeometry(sampleOf(pair));
        args << toStored(column.startsWith(u'x') ? u.x() : u.y());
    }
    args << m_slot;
    writeRow(QStringLiteral("UPDATE sescr SET %1 WHERE no = ?").arg(assignments.join(QStringLiteral(", "))), args);
}

namespace {
// Opens a window that works on one layout slot. One open for other work (`stale`) closes and the window starts
// afresh; the closing one hands the activation back to its opener afterwards, so the new one is brought to the
// front once more after that.
template <class W, class Stale> void openAfresh(const QString &name, ui::Window *opener, Stale stale)
{
    const auto *open = qobject_cast<W *>(ui::findWindow(name));
    if (!open || !stale(*open)) {
        ui::openWindow(name, opener);
        return;
    }
    ui::findWindow(name)->close();
    if (ui::Window *w = ui::openWindow(name, opener))
        post::later(w, [w] {
            w->raise();
            w->activateWindow();
        });
}
} // namespace

void LayoutWindow::openFontWindow()
{
    // The font window works on this window's slot; one open for another slot starts afresh for this one.
    openAfresh<FontWindow>(QStringLiteral("w_setextenter"), this,
                           [this](const FontWindow &open) { return open.slot() != m_slot; });
}

void LayoutWindow::openForHandOver(const QString &name)
{
    openAfresh<LayoutWindow>(name, nullptr, [](const LayoutWindow &open) {
        return open.m_slot != g::acer || open.m_samplesShown != g::air;
    });
}

// --- w_setprint: the deposit form ---

void LayoutWindow::buildPageToolRow(int noteX, int noteHeight, bool fontButton)
{
    const quint32 centre = ui::AlignCenter;
    buildLabels({{QStringLiteral("st_34"), QStringLiteral("页面尺寸"), 37, 32, 315, 76, false, centre},
                 {QStringLiteral("st_37"), QStringLiteral("长度"), 361, 32, 146, 76, false, centre},
                 {QStringLiteral("st_38"), QStringLiteral("宽度"), 795, 32, 165, 76, false, centre},
                 {QStringLiteral("st_30"), QStringLiteral("金额栏间距"), 23, 144, 393, 76, false, centre}},
                kLightBlue);
    buildLabels({{QStringLiteral("st_36"), QStringLiteral("1英寸=2.54厘米"), noteX, 24, 539, noteHeight, false, 0}},
                ui::kNoColor);
    QList<ui::ControlSpec> row = {edit(QStringLiteral("sle_1"), 521, 20, 20),
                                  edit(QStringLiteral("sle_2"), 969, 24, 30),
                                  button(QStringLiteral("cb_2"), QStringLiteral("设置"), 1239, 24, 247, 70),
                                  button(QStringLiteral("cb_3"), QStringLiteral("保存设置"), 1504, 24, 361, 50)};
    if (fontButton)
        row << button(QStringLiteral("cb_4"), QStringLiteral("字号及转行设定"), 1883, 24, 622, 70);
    row << button(QStringLiteral("cb_1"), QStringLiteral("退出"), fontButton ? 2523 : 1883, 24, 247, 10)
        << edit(QStringLiteral("sle_3"), 430, 136, 60) << titleLine(713, 148, 0);
    build(row);
}

void LayoutWindow::setNumberedSamples(const QList<Sample> &beyondTheGrid)
{
    QList<Sample> samples;
    for (int k = 1; k <= 14; ++k)
        samples << Sample{k, QStringLiteral("st_%1").arg(k)};
    samples << Sample{15, QStringLiteral("uo_1")} << beyondTheGrid;
    setSamples(samples);
}

SetPrint::SetPrint() : SetPrint(QStringLiteral("w_setprint"), forms::Family::DepositForm, 3067) {}

SetPrint::SetPrint(const QString &className, forms::Family family, int designWidth)
    : LayoutWindow(className, QStringLiteral("打印定位"), family, designWidth, 1528)
{
    setDesignPosition(50, 52);
    const quint32 centre = ui::AlignCenter, left = 0, right = ui::AlignRight;
    buildPageToolRow(2789, 108, true);
    const ui::Font bold10{QStringLiteral("宋体"), 10, 700};
    buildLabels({{QStringLiteral("st_21"), QStringLiteral("年"), 1275, 348, 73, 76, false, left},
                 {QStringLiteral("st_22"), QStringLiteral("月"), 1550, 348, 73, 76, false, left},
                 {QStringLiteral("st_23"), QStringLiteral("日"), 1801, 348, 73, 76, false, left},
                 {QStringLiteral("st_35"), QStringLiteral("出票人"), 105, 476, 114, 216, true, right},
                 {QStringLiteral("st_24"), QStringLiteral("全   称"), 215, 472, 329, 76, true, right},
                 {QStringLiteral("st_25"), QStringLiteral("帐   号"), 215, 544, 329, 80, true, centre},
                 {QStringLiteral("st_27"), QStringLiteral("开户银行"), 215, 620, 329, 72, true, right},
                 {QStringLiteral("st_29"), QStringLiteral("收款人"), 1545, 480, 114, 216, true, right},
                 {QStringLiteral("st_39"), QStringLiteral("全    称"), 1655, 476, 329, 76, true, right},
                 {QStringLiteral("st_32"), QStringLiteral("帐    号"), 1655, 548, 329, 80, true, centre},
                 {QStringLiteral("st_20"), QStringLiteral("开户银行"), 1655, 624, 329, 72, true, right},
                 {QStringLiteral("st_31"), QStringLiteral("人民币(大写)"), 101, 820, 229, 128, true, left, bold10},
                 {QStringLiteral("st_26"), QStringLiteral("票据种类"), 101, 1040, 311, 76, true, right},
                 {QStringLiteral("st_28"), QStringLiteral("票据张数"), 101, 1116, 311, 76, true, right},
                 {QStringLiteral("st_33"), QStringLiteral("会计"), 558, 1264, 146, 76, false, centre}},
                kLightBlue);
    const ui::Font kai{QStringLiteral("楷体_GB2312"), 12, 700};
    buildSamples({{QStringLiteral("st_1"), QStringLiteral("1"), 983, 348, 215, 76},
                  {QStringLiteral("st_2"), QStringLiteral("2"), 1381, 348, 110, 76},
                  {QStringLiteral("st_3"), QStringLiteral("3"), 1659, 348, 105, 76},
                  {QStringLiteral("st_4"), QStringLiteral("4"), 594, 476, 919, 76},
                  {QStringLiteral("st_5"), QStringLiteral("5"), 594, 548, 919, 76},
                  {QStringLiteral("st_6"), QStringLiteral("6"), 594, 620, 919, 76},
                  {QStringLiteral("st_7"), QStringLiteral("7"), 2043, 480, 919, 76},
                  {QStringLiteral("st_8"), QStringLiteral("8"), 2043, 552, 919, 76},
                  {QStringLiteral("st_9"), QStringLiteral("9"), 2043, 624, 919, 76},
                  {QStringLiteral("st_10"), QStringLiteral("10"), 384, 820, 1614, 124, true, 0, kai},
                  {QStringLiteral("st_11"), QStringLiteral("11"), 439, 1036, 590, 76},
                  {QStringLiteral("st_12"), QStringLiteral("12"), 443, 1124, 169, 76},
                  {QStringLiteral("st_13"), QStringLiteral("13"), 622, 1124, 402, 76},
                  {QStringLiteral("st_14"), QStringLiteral("14"), 754, 1264, 334, 76}});
    addGrid(10, 2025, 752, 0);
    setNumberedSamples();
    raiseControls({QStringLiteral("st_7"), QStringLiteral("st_8"), QStringLiteral("st_9")});
    wireToolRow(QStringLiteral("cb_4"));
}

// --- w_setprint2: the draft application ---

SetPrint2::SetPrint2() : SetPrint(QStringLiteral("w_setprint2"), forms::Family::DraftApplication, 3067)
{
    const struct {
        const char *name;
        const char *text;
        int x, y, width, height;
    } relabel[] = {{"st_24", "申请人", 160, 472, 384, 76},       {"st_25", "帐号或住址", 160, 544, 384, 80},
                   {"st_27", "用途", 160, 620, 384, 72},         {"st_39", "收款人", 1595, 468, 384, 80},
                   {"st_32", "帐号或住址", 1595, 544, 384, 80}, {"st_20", "代理付款行", 1595, 620, 384, 72},
                   {"st_33", "经办", 558, 1264, 165, 76}};
    for (const auto &r : relabel) {
        const QString name = QString::fromLatin1(r.name);
        get<QLabel>(name)->setText(QString::fromUtf8(r.text));
        setUnitGeometry(name, r.x, r.y, r.width, r.height);
    }
    const QRect title = unitGeometry(QStringLiteral("st_100"));
    setUnitGeometry(QStringLiteral("st_100"), 718, title.y(), title.width(), title.height());
    // The draft application prints no pairs 11 to 13; their samples stay (and are stored back) unseen.
    for (const char *hidden : {"st_35", "st_29", "st_26", "st_28", "st_11", "st_12", "st_13"})
        control(QString::fromLatin1(hidden))->hide();
}

// --- w_setprint3: the wire-transfer voucher ---

SetPrint3::SetPrint3() : SetPrint(QStringLiteral("w_setprint3"), forms::Family::WireTransfer, 3525)
{
    setDesignPosition(9, 60);
    const struct {
        const char *name;
        const char *text; // nullptr keeps the inherited caption
        int x, y, width, height;
        bool bordered;
        quint32 align;
    } moved[] = {
        {"sle_1", nullptr, 585, 20, 247, 92, false, 0},
        {"sle_2", nullptr, 1047, 16, 247, 92, false, 0},
        {"cb_2", nullptr, 1321, 8, 247, 108, false, 0},
        {"cb_3", nullptr, 1586, 8, 361, 108, false, 0},
        {"cb_4", nullptr, 1966, 8, 622, 108, false, 0},
        {"cb_1", nullptr, 2606, 8, 247, 108, false, 0},
        {"st_100", nullptr, 718, 152, 1431, 88, false, 0},
        {"st_39", "1英寸=2.54厘米", 2894, 24, 530, 92, false, 0},
        {"st_21", nullptr, 1458, 348, 73, 76, false, 0},
        {"st_22", nullptr, 1733, 348, 73, 76, false, 0},
        {"st_23", nullptr, 1984, 348, 73, 76, false, 0},
        {"st_28", "汇款人", 27, 472, 114, 220, true, ui::AlignRight},
        {"st_24", "全  称", 137, 472, 329, 76, true, ui::AlignRight},
        {"st_25", "帐号住址", 137, 544, 329, 80, true, ui::AlignCenter},
        {"st_27", "汇出地点", 137, 620, 329, 72, true, ui::AlignRight},
        {"st_35", "省", 841, 624, 78, 68, false, 0},
        {"st_36", "市", 1243, 620, 78, 68, false, 0},
        {"st_37", "县", 1243, 700, 78, 68, false, 0},
        {"st_29", nullptr, 1774, 480, 114, 220, true, ui::AlignRight},
        {"st_38", "全  称", 1883, 480, 329, 76, true, ui::AlignRight},
        {"st_32", "帐号住址", 1883, 552, 329, 80, true, ui::AlignCenter},
        {"st_20", "汇入地点", 1883, 628, 329, 72, true, ui::AlignRight},
        {"st_31", nullptr, 55, 820, 229, 128, true, 0},
        {"st_26", "汇款用途", 101, 1040, 311, 76, true, ui::AlignRight},
    };
    for (const auto &m : moved) {
        const QString name = QString::fromLatin1(m.name);
        setUnitGeometry(name, m.x, m.y, m.width, m.height);
        auto *label = get<QLabel>(name);
        if (!label || !m.text)
            continue;
        label->setText(QString::fromUtf8(m.text));
        setBordered(name, m.bordered);
        label->setAlignment(m.align == ui::AlignCenter  ? Qt::AlignCenter
                            : m.align == ui::AlignRight ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
    }
    get<QLabel>(QStringLiteral("st_28"))->setWordWrap(true);
    get<QLabel>(QStringLiteral("st_35"))->setWordWrap(false);
    get<QLabel>(QStringLiteral("st_35"))->setFont(services::font(QStringLiteral("宋体"), 10, 400));
    // The unit note of the ancestor becomes a label of the picture.
    auto *city = get<QLabel>(QStringLiteral("st_36"));
    QPalette pal = city->palette();
    pal.setColor(QPalette::Window, services::color(kLightBlue));
    city->setPalette(pal);
    city->setAutoFillBackground(true);
    // The unit note stands on the window's own background, enabled; the payee's 全称 is enabled too.
    for (const char *name : {"st_39", "st_38"}) {
        auto *label = get<QLabel>(QString::fromLatin1(name));
        label->setEnabled(true);
    }
    get<QLabel>(QStringLiteral("st_39"))->setAutoFillBackground(false);

    const quint32 left = 0;
    buildLabels({{QStringLiteral("st_60"), QStringLiteral("省"), 841, 624, 78, 68, false, left,
                  {QStringLiteral("宋体"), 10, 400}},
                 {QStringLiteral("st_61"), QStringLiteral("市"), 1243, 620, 78, 68, false, left},
                 {QStringLiteral("st_62"), QStringLiteral("县"), 1243, 700, 78, 68, false, left}},
                kLightBlue);
    buildSamples({{QStringLiteral("st_16"), QStringLiteral("16"), 3067, 628, 443, 76},
                  {QStringLiteral("st_18"), QStringLiteral("18"), 731, 1256, 402, 76}});
    buildLabels({{QStringLiteral("st_40"), QStringLiteral("省"), 2592, 628, 78, 68, false, left},
                 {QStringLiteral("st_41"), QStringLiteral("市"), 2994, 628, 78, 68, false, left},
                 {QStringLiteral("st_42"), QStringLiteral("县"), 2994, 716, 78, 68, false, left}},
                kLightBlue);
    buildSamples({{QStringLiteral("st_17"), QStringLiteral("17"), 425, 1040, 581, 76},
                  {QStringLiteral("st_15"), QStringLiteral("15"), 2665, 708, 329, 76}});
    buildLabels({{QStringLiteral("st_19"), QStringLiteral("长度"), 393, 24, 178, 76, false, ui::AlignCenter},
                 {QStringLiteral("st_43"), QStringLiteral("宽度"), 855, 24, 169, 76, false, ui::AlignCenter}},
                kLightBlue);
    raiseControls({QStringLiteral("st_19"), QStringLiteral("st_43")});

    const struct {
        int pair;
        int x, y, width;
    } samples[] = {{1, 1166, 348, 215},  {2, 1563, 348, 110},  {3, 1842, 348, 105},  {4, 471, 472, 1234},
                   {5, 471, 544, 1234},  {6, 914, 616, 329},   {7, 471, 616, 370},   {8, 919, 700, 329},
                   {9, 1326, 616, 443},  {10, 293, 820, 1719}, {11, 2222, 480, 1234}, {12, 2222, 552, 1234},
                   {13, 2665, 624, 329}, {14, 2222, 624, 370}};
    for (const auto &s : samples) {
        const QString name = QStringLiteral("st_%1").arg(s.pair);
        setUnitGeometry(name, s.x, s.y, s.width, unitGeometry(name).height());
    }
    const QRect grid = unitGeometry(QStringLiteral("uo_1"));
    setUnitGeometry(QStringLiteral("uo_1"), 2149, 812, grid.width(), grid.height());
    setSamples({{16, QStringLiteral("st_15")},
                {17, QStringLiteral("st_16")},
                {18, QStringLiteral("st_17")},
                {19, QStringLiteral("st_18")}});
    raiseControls({QStringLiteral("st_7"), QStringLiteral("st_8"), QStringLiteral("st_9")});
}

// --- w_setprint1: the cheques ---

SetPrint1::SetPrint1() : LayoutWindow(QStringLiteral("w_setprint1"), QStringLiteral("打印设置"),
                                      forms::Family::CashCheque, 3406, 1528)
{
    setDesignPosition(101, 100);
    setBackground(0xA4A0A0); // 160, 160, 164
    const quint32 centre = ui::AlignCenter, left = 0, right = ui::AlignRight;
    buildLabels({{QStringLiteral("st_34"), QStringLiteral("页面尺寸"), 37, 24, 315, 76, false, centre},
                 {QStringLiteral("st_17"), QStringLiteral("长度"), 370, 24, 146, 76, false, centre},
                 {QStringLiteral("st_18"), QStringLiteral("宽度"), 805, 24, 165, 76, false, centre},
                 {QStringLiteral("st_30"), QStringLiteral("金额栏间距"), 37, 128, 393, 76, false, centre}},
                kLightBlue);
    buildLabels({{QStringLiteral("st_50"), QStringLiteral("1英寸=2.54厘米"), 2944, 20, 539, 76, false, right}},
                ui::kNoColor);
    build({edit(QStringLiteral("sle_1"), 530, 16, 10),
           edit(QStringLiteral("sle_2"), 987, 12, 70),
           button(QStringLiteral("cb_2"), QStringLiteral("设置"), 1266, 8, 247, 60),
           button(QStringLiteral("cb_3"), QStringLiteral("保存设置"), 1536, 8, 361, 50),
           button(QStringLiteral("cb_5"), QStringLiteral("字号及转行设定"), 1920, 8, 622, 30),
           button(QStringLiteral("cb_1"), QStringLiteral("退出"), 2565, 8, 247, 40),
           edit(QStringLiteral("sle_3"), 457, 120, 20),
           titleLine(731, 128, ui::AlignRight),
           {QStringLiteral("st_16"), ui::Kind::StaticText, 2190, 128, 247, 76, {}, {QStringLiteral("宋体"), 10, 700},
            kBlue, ui::kNoColor, 0, ui::Disabled | ui::AlignCenter}});
    auto *slotLabel = get<QLabel>(QStringLiteral("st_16"));
    slotLabel->setFrameStyle(QFrame::Box | QFrame::Plain);
    slotLabel->setStyleSheet(QStringLiteral("QLabel { border: 1px solid rgb(255, 0, 0); color: rgb(0, 0, 255); }"));
    const ui::Font bold10{QStringLiteral("宋体"), 10, 700};
    buildLabels({{QStringLiteral("st_21"), QStringLiteral("年"), 219, 632, 73, 76, false, left},
                 {QStringLiteral("st_22"), QStringLiteral("月"), 430, 632, 73, 76, false, left},
                 {QStringLiteral("st_23"), QStringLiteral("日"), 640, 632, 73, 76, false, left},
                 {QStringLiteral("st_24"), QStringLiteral("收款人"), 0, 736, 247, 76, true, left},
                 {QStringLiteral("st_38"), QStringLiteral("金额"), 0, 840, 247, 76, true, left},
                 {QStringLiteral("st_26"), QStringLiteral("用途"), 0, 944, 247, 76, true, left},
                 {QStringLiteral("st_27"), QStringLiteral("会计"), 146, 1044, 215, 76, true, left},
                 {QStringLiteral("st_19"), QStringLiteral("年"), 1170, 228, 73, 76, false, left},
                 {QStringLiteral("st_20"), QStringLiteral("月"), 1499, 228, 73, 76, false, left},
                 {QStringLiteral("st_25"), QStringLiteral("日"), 1829, 228, 73, 76, false, left},
                 {QStringLiteral("st_29"), QStringLiteral("付款行名称"), 2162, 236, 384, 76, true, left},
                 {QStringLiteral("st_31"), QStringLiteral("出票人帐号"), 2007, 340, 384, 76, true, left},
                 {QStringLiteral("st_28"), QStringLiteral("收款人"), 718, 444, 238, 76, true, left},
                 {QStringLiteral("st_32"), QStringLiteral("人民币(大写)"), 722, 564, 229, 112, true, left, bold10},
                 {QStringLiteral("st_33"), QStringLiteral("用途"), 763, 776, 238, 76, true, left}},
                kLightBlue);
    buildSamples({{QStringLiteral("st_1"), QStringLiteral("1"), 14, 632, 201, 76},
                  {QStringLiteral("st_2"), QStringLiteral("2"), 297, 632, 128, 76},
                  {QStringLiteral("st_3"), QStringLiteral("3"), 507, 632, 128, 76},
                  {QStringLiteral("st_4"), QStringLiteral("4"), 247, 736, 475, 76},
                  {QStringLiteral("st_5"), QStringLiteral("5"), 247, 840, 475, 76},
                  {QStringLiteral("st_6"), QStringLiteral("6"), 247, 944, 475, 76},
                  {QStringLiteral("st_7"), QStringLiteral("7"), 379, 1044, 247, 76},
                  {QStringLiteral("st_8"), QStringLiteral("8"), 841, 228, 325, 76},
                  {QStringLiteral("st_9"), QStringLiteral("9"), 1253, 228, 238, 76},
                  {QStringLiteral("st_10"), QStringLiteral("10"), 1582, 228, 238, 76},
                  {QStringLiteral("st_11"), QStringLiteral("11"), 992, 440, 1184, 76},
                  {QStringLiteral("st_12"), QStringLiteral("12"), 2542, 236, 759, 76},
                  {QStringLiteral("st_13"), QStringLiteral("13"), 2391, 340, 914, 76},
                  {QStringLiteral("st_14"), QStringLiteral("14"), 951, 568, 1381, 160},
                  {QStringLiteral("st_15"), QStringLiteral("15"), 1001, 776, 658, 76},
                  {QStringLiteral("st_35"), QStringLiteral("35"), 37, 356, 658, 76},
                  {QStringLiteral("st_36"), QStringLiteral("36"), 37, 452, 658, 76}});
    addGrid(10, 2368, 564, 0);
    setNumberedSamples({{16, QStringLiteral("st_15")}, {17, QStringLiteral("st_35")}, {18, QStringLiteral("st_36")}});
    QStringList onTop;
    for (int k = 1; k <= 14; ++k)
        onTop << QStringLiteral("st_%1").arg(k);
    raiseControls(onTop);
    wireToolRow(QStringLiteral("cb_5"));
}

void SetPrint1::open()
{
    LayoutWindow::open();
    get<QLabel>(QStringLiteral("st_16"))->setText(QString::number(slot()));
}

// --- w_setprint4: the budget voucher ---

SetPrint4::SetPrint4() : LayoutWindow(QStringLiteral("w_setprint4"), QStringLiteral("打印定位"),
                                      forms::Family::BudgetVoucher, 3369, 1528)
{
    setDesignPosition(50, 52);
    const quint32 centre = ui::AlignCenter, left = 0, right = ui::AlignRight;
    buildPageToolRow(2149, 76, false);
    const ui::Font bold10{QStringLiteral("宋体"), 10, 700};
    buildLabels({{QStringLiteral("st_21"), QStringLiteral("年"), 325, 328, 73, 76, false, left},
                 {QStringLiteral("st_22"), QStringLiteral("月"), 599, 328, 73, 76, false, left},
                 {QStringLiteral("st_23"), QStringLiteral("日"), 823, 328, 73, 76, false, left},
                 {QStringLiteral("st_35"), QStringLiteral("付款单位"), 101, 452, 110, 268, true, right},
                 {QStringLiteral("st_24"), QStringLiteral("全   称"), 215, 456, 329, 76, true, right},
                 {QStringLiteral("st_25"), QStringLiteral("帐   号"), 215, 548, 329, 80, true, centre},
                 {QStringLiteral("st_27"), QStringLiteral("开户银行"), 215, 644, 329, 72, true, right},
                 {QStringLiteral("st_29"), QStringLiteral("收款单位"), 1545, 452, 110, 268, true, right},
                 {QStringLiteral("st_39"), QStringLiteral("全    称"), 1655, 456, 329, 76, true, right},
                 {QStringLiteral("st_32"), QStringLiteral("帐    号"), 1655, 548, 329, 80, true, centre},
                 {QStringLiteral("st_20"), QStringLiteral("开户银行"), 1655, 644, 329, 72, true, right},
                 {QStringLiteral("st_31"), QStringLiteral("人民币(大写)"), 101, 820, 229, 128, true, left, bold10},
                 {QStringLiteral("st_26"), QStringLiteral("用途"), 101, 1040, 311, 76, true, right},
                 {QStringLiteral("st_16"), QStringLiteral("类"), 1710, 1044, 174, 76, true, right},
                 {QStringLiteral("st_17"), QStringLiteral("款"), 2231, 1044, 174, 76, true, right},
                 {QStringLiteral("st_18"), QStringLiteral("项"), 2752, 1044, 174, 76, true, right},
                 {QStringLiteral("st_33"), QStringLiteral("记帐员"), 1947, 1228, 238, 76, false, centre}},
                kLightBlue);
    const ui::Font kai{QStringLiteral("楷体_GB2312"), 12, 700};
    buildSamples({{QStringLiteral("st_1"), QStringLiteral("1"), 96, 328, 215, 76},
                  {QStringLiteral("st_2"), QStringLiteral("2"), 430, 328, 110, 76},
                  {QStringLiteral("st_3"), QStringLiteral("3"), 709, 328, 105, 76},
                  {QStringLiteral("st_4"), QStringLiteral("4"), 594, 476, 919, 76},
                  {QStringLiteral("st_5"), QStringLiteral("5"), 594, 548, 919, 76},
                  {QStringLiteral("st_6"), QStringLiteral("6"), 594, 620, 919, 76},
                  {QStringLiteral("st_7"), QStringLiteral("7"), 2043, 480, 919, 76},
                  {QStringLiteral("st_8"), QStringLiteral("8"), 2043, 552, 919, 76},
                  {QStringLiteral("st_9"), QStringLiteral("9"), 2043, 624, 919, 76},
                  {QStringLiteral("st_10"), QStringLiteral("10"), 384, 820, 1614, 124, true, 0, kai},
                  {QStringLiteral("st_11"), QStringLiteral("11"), 416, 1044, 366, 76},
                  {QStringLiteral("st_12"), QStringLiteral("12"), 2587, 296, 366, 76},
                  {QStringLiteral("st_13"), QStringLiteral("13"), 1870, 1044, 366, 76},
                  {QStringLiteral("st_14"), QStringLiteral("14"), 2235, 1228, 334, 76},
                  {QStringLiteral("st_19"), QStringLiteral("19"), 2400, 1044, 366, 76},
                  {QStringLiteral("st_28"), QStringLiteral("28"), 2921, 1044, 366, 76}});
    addGrid(11, 2011, 812, 80);
    setNumberedSamples({{16, QStringLiteral("st_19")}, {17, QStringLiteral("st_28")}});
    raiseControls({QStringLiteral("st_7"), QStringLiteral("st_8"), QStringLiteral("st_9")});
    wireToolRow(QString());
}

} // namespace layout
