#include "books/lists_reports.h"

#include "dataview/registers.h"

namespace brevik {
namespace {
using dw::ReportText;

const ui::Font kText{QStringLiteral("宋体"), 12, 400};
const ui::Font kTitle{QStringLiteral("黑体"), 18, 700};

// Band texts sit a little below the band's top; the bands are laid out in thousandths of a centimetre.
constexpr int kTop = 40;

ReportText text(int x, int width, dw::ReportExpression value, Qt::Alignment align = Qt::AlignLeft, int y = kTop)
{
    return {x, y, width, 0, std::move(value), align, kText};
}

// An amount, a date, a number or a page count: drawn whole, smaller where it must be (dataview/fit.h).
ReportText figure(int x, int width, dw::ReportExpression value, Qt::Alignment align = Qt::AlignLeft, int y = kTop)
{
    ReportText t = text(x, width, std::move(value), align, y);
    t.figure = true;
    return t;
}

// A fixed text of the list (a caption, the dash between the dates): drawn whole, never cut.
ReportText label(int x, int y, const char *caption, int width = 2000)
{
    ReportText t = text(x, width, dw::literal(QString::fromUtf8(caption)), Qt::AlignLeft, y);
    t.fixed = true;
    return t;
}

// What the two lists share: the title, the date range found in the rows, today's date in the footer.
struct Heading {
    const char *title;
    int titleX, titleWidth;
    dw::ReportBar titleBar;
    int rangeY, firstX, lastX;
    const char *rangeFormat;
};

// The "--" between the dates has a box of its own before the last date, wider than the dash in the list's
// type, and is centred in it: it touches neither date.
constexpr int kDashBox = 640;

void addHeading(dw::ReportDefinition &r, const Heading &h)
{
    r.header.texts << ReportText{h.titleX, 211, h.titleWidth, 800, dw::literal(QString::fromUtf8(h.title)),
                                 Qt::AlignHCenter, kTitle, false, false, true};
    r.header.bars << h.titleBar;
    const QString format = QString::fromLatin1(h.rangeFormat);
    const int dashX = h.lastX - kDashBox;
    ReportText dash = label(dashX, h.rangeY, "--", kDashBox);
    dash.alignment = Qt::AlignHCenter;
    r.header.texts << figure(h.firstX, dashX - h.firstX, dw::minOf(QStringLiteral("rq"), format), Qt::AlignLeft,
                             h.rangeY)
                   << dash
                   << figure(h.lastX, 2407, dw::maxOf(QStringLiteral("rq"), format), Qt::AlignLeft, h.rangeY);
}

QList<dw::Column> registerColumns(const char *table, std::initializer_list<const char *> names)
{
    QStringList columns;
    for (const char *n : names)
        columns << QString::fromLatin1(n);
    return dw::registerColumns(QString::fromLatin1(table), columns, false);
}
} // namespace

dw::ReportDefinition cabank()
{
    dw::ReportDefinition r;
    r.data.name = QStringLiteral("cabank");
    r.data.sql = QStringLiteral("SELECT xjzp.line, xjzp.rq, xjzp.zphm, xjzp.xkr, xjzp.et, xjzp.an, xjzp.bz, xjzp.fkhm "
                                "FROM xjzp WHERE +xjzp.rq >= :cepa AND +xjzp.rq <= :cepd "
                                "ORDER BY xjzp.fkhm ASC, xjzp.rq ASC, xjzp.line ASC");
    r.data.arguments = {{QStringLiteral("cepa"), dw::Type::Date}, {QStringLiteral("cepd"), dw::Type::Date}};
    r.data.columns = registerColumns("xjzp", {"line", "rq", "zphm", "xkr", "et", "an", "bz", "fkhm"});
    r.data.sort = {QStringLiteral("fkhm"), QStringLiteral("rq")};
    r.groupBy = QStringLiteral("fkhm");
    r.paper = QPageSize::A4;

    r.header.height = 2698;
    addHeading(r, {"支出明细表", 7963, 4021, {6693, 1005, 6588, 79}, 1296, 7355, 10133, "YYYY.MM.DD"});
    r.header.texts << label(105, 2090, "编号") << label(1825, 2090, "日期") << label(3757, 2090, "支票号码")
                   << label(6297, 2090, "收款人全称", 4000) << label(11932, 2090, "用途") << label(14684, 2090, "金额")
                   << label(17145, 2090, "备注");
    r.header.bars << dw::ReportBar{26, 2619, 19552, 79};

    r.groupHeader.height = 529;
    r.groupHeader.texts << text(1746, 8440, dw::columnValue(QStringLiteral("fkhm")))
                        << figure(13070, 3995, dw::sumOf(QStringLiteral("an"), dw::Scope::Group, QStringLiteral("#,##0.00")),
                                Qt::AlignRight);

    r.detail.height = 687;
    r.detail.texts << figure(0, 1613, dw::runningNumber())
                   << figure(1746, 1905, dw::columnValue(QStringLiteral("rq"), QStringLiteral("YY.MM.DD")), Qt::AlignHCenter)
                   << figure(3704, 2460, dw::columnValue(QStringLiteral("zphm")), Qt::AlignHCenter)
                   << text(6244, 5556, dw::columnValue(QStringLiteral("xkr")))
                   << text(11879, 2672, dw::columnValue(QStringLiteral("et")))
                   << figure(14631, 2354, dw::columnValue(QStringLiteral("an"), QStringLiteral("##,###,###,###.00")),
                           Qt::AlignRight)
                   << text(17065, 2354, dw::columnValue(QStringLiteral("bz")));

    r.summary.height = 449;
    ReportText total = label(8281, kTop, "合计", 873);
    total.font = {QStringLiteral("Arial"), 12, 400};
    total.opaque = true;
    r.summary.texts << total
                    << figure(12700, 5371, dw::sumOf(QStringLiteral("an"), dw::Scope::All, QStringLiteral("#,##0.00")),
                            Qt::AlignRight);

    r.footer.height = 449;
    r.footer.texts << figure(26, 4021, dw::pageText(QStringLiteral("第 %1 页,共 %2页 "))) << label(13864, kTop, "打印日期：", 16166 - 13864)
                   << figure(16166, 4286, dw::todayText(QStringLiteral("yyyy-mm-dd")));
    return r;
}

dw::ReportDefinition eabank()
{
    dw::ReportDefinition r;
    r.data.name = QStringLiteral("eabank");
    r.data.sql = QStringLiteral("SELECT jzd.line, jzd.rq, jzd.zphm, jzd.xkr, jzd.an, jzd.kpr, jzd.bz, jzd.fkhm, jzd.shbank "
                                "FROM jzd WHERE +jzd.rq >= :qyz AND +jzd.rq <= :qyd "
                                "ORDER BY jzd.shbank ASC, jzd.rq ASC, jzd.line ASC");
    r.data.arguments = {{QStringLiteral("qyz"), dw::Type::Date}, {QStringLiteral("qyd"), dw::Type::Date}};
    r.data.columns = registerColumns("jzd", {"line", "rq", "zphm", "xkr", "an", "kpr", "bz", "fkhm", "shbank"});
    r.data.sort = {QStringLiteral("shbank"), QStringLiteral("rq")};
    r.groupBy = QStringLiteral("shbank");
    // The printer's default paper.

    r.header.height = 3016;
    addHeading(r, {"收入明细表", 7620, 4339, {7117, 1243, 5450, 105}, 1428, 6985, 10107, "yyyy.mm.dd"});
    r.header.texts << label(502, 2434, "编号") << label(2037, 2434, "日期") << label(3757, 2434, "支票号码")
                   << label(8731, 2434, "销售商名称", 4000) << label(14657, 2434, "金额") << label(17488, 2434, "备注");
    r.header.bars << dw::ReportBar{26, 2963, 19050, 79};

    r.groupHeader.height = 502;
    r.groupHeader.texts << text(3571, 8440, dw::columnValue(QStringLiteral("shbank")))
                        << figure(12858, 3704, dw::sumOf(QStringLiteral("an"), dw::Scope::Group, QStringLiteral("#,##0.00")),
                                Qt::AlignRight);

    r.detail.height = 608;
    r.detail.texts << figure(105, 1217, dw::runningNumber())
                   << figure(1455, 1931, dw::columnValue(QStringLiteral("rq"), QStringLiteral("YY.MM.DD")), Qt::AlignHCenter)
                   << figure(3492, 2196, dw::columnValue(QStringLiteral("zphm")), Qt::AlignHCenter)
                   << text(5767, 8202, dw::columnValue(QStringLiteral("xkr")))
                   << figure(14049, 2540, dw::columnValue(QStringLiteral("an"), QStringLiteral("###,###.00")), Qt::AlignRight)
                   << text(16695, 2487, dw::columnValue(QStringLiteral("bz")));

    r.summary.height = 449;
    r.summary.texts << figure(12964, 3704, dw::sumOf(QStringLiteral("an"), dw::Scope::All, QStringLiteral("#,##0.00")),
                            Qt::AlignRight);

    r.footer.height = 582;
    r.footer.texts << figure(26, 4021, dw::pageText(QStringLiteral("第%1页,共%2页"))) << label(11668, kTop, "打印日期：", 13917 - 11668)
                   << figure(13917, 5291, dw::todayText(QStringLiteral("yyyy.mm.dd")));
    return r;
}
} // namespace brevik
