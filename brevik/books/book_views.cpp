#include "books/book_views.h"

#include "dataview/registers.h"

namespace brevik::views {
namespace {
using dw::Type;

constexpr qint64 kCurrentRow = 12315646; // light yellow
constexpr qint64 kOtherRow = 1087434968; // pale green

dw::Column text(const char *name, int width, bool key = false)
{
    return {QString::fromLatin1(name), Type::Text, width, key, true};
}

// A text that is a figure: an account, a cheque number, a code.
dw::Column identifier(const char *name, int width, bool key = false)
{
    dw::Column c = text(name, width, key);
    c.identifier = true;
    return c;
}

dw::Cell cell(const char *name, const char *header, int width, int tabOrder,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, const char *format = "")
{
    return dw::Cell{.name = QString::fromLatin1(name), .header = QString::fromUtf8(header), .width = width,
                    .alignment = alignment, .tabOrder = tabOrder, .format = QString::fromLatin1(format)};
}

dw::Cell rowNumber(const char *header, int width)
{
    return dw::Cell{.name = QStringLiteral("rownum"), .header = QString::fromUtf8(header), .width = width,
                    .alignment = Qt::AlignCenter, .compute = dw::rowNumber()};
}

dw::Definition grid(const char *name, const char *sql, const char *table)
{
    dw::Definition d;
    d.name = QString::fromLatin1(name);
    d.sql = QString::fromLatin1(sql);
    d.updateTable = QString::fromLatin1(table);
    d.font = {QStringLiteral("宋体"), 12, 400};
    d.headerHeight = 72;
    d.rowHeight = 76;
    return d;
}

// The payee and payer books show the same cells; only the name and bank headers differ.
QList<dw::Cell> bookCells(const char *nameHeader, const char *bankHeader)
{
    // Together no wider than the books' grid, so no row needs scrolling across.
    return {rowNumber("编号", 219),
            cell("bs", "助记码", 260, 10),
            cell("skrname", nameHeader, 1000, 20),
            cell("skrbank", bankHeader, 700, 30),
            cell("skrcode", "银行帐号", 580, 40),
            cell("prov", "省", 200, 50),
            cell("city", "市", 200, 60),
            cell("xian", "县", 200, 70)};
}

// The register editors mark the current row by the background of every data cell.
void markCurrentRow(dw::Definition &d)
{
    for (dw::Cell &c : d.cells)
        if (!c.compute) {
            c.currentRowBackground = kCurrentRow;
            c.otherRowBackground = kOtherRow;
        }
}
} // namespace

dw::Definition gates()
{
    dw::Definition d = grid("gates", "SELECT id, name, passwd FROM pass ORDER BY id", "pass");
    d.columns = {{QStringLiteral("id"), Type::Long, 0, true, true}, text("name", 10), text("passwd", 8)};
    d.cells = {cell("id", "编号", 400, 10), cell("name", "用户名", 900, 20),
               cell("passwd", "密码", 900, 30, Qt::AlignLeft | Qt::AlignVCenter, "'*****'")};
    return d;
}

dw::Definition dwbank()
{
    dw::Definition d = grid("dwbank", "SELECT code, bankcode, bankoffice, printbank FROM bankoffice ORDER BY code",
                            "bankoffice");
    d.columns = {{QStringLiteral("code"), Type::Long, 0, true, true}, identifier("bankcode", 25), text("bankoffice", 30),
                 text("printbank", 30)};
    d.cells = {cell("code", "编号", 300, 10), cell("bankcode", "银行帐号", 900, 20),
               cell("bankoffice", "开户名", 1000, 30), cell("printbank", "打印行名", 1000, 40)};
    return d;
}

dw::Definition dwskrbk()
{
    dw::Definition d = grid("dwskrbk", "SELECT code, skrname, skrbank, skrcode, prov, city, xian, bs FROM skrbook",
                            "skrbook");
    d.columns = {{QStringLiteral("code"), Type::Long, 0, true, false},
                 text("skrname", 60),
                 text("skrbank", 40),
                 identifier("skrcode", 25),
                 text("prov", 10),
                 text("city", 10),
                 text("xian", 10),
                 identifier("bs", 6)};
    d.cells = bookCells("收款人全称", "收款人开户行");
    d.sort = {QStringLiteral("skrname")};
    return d;
}

dw::Definition dwfkbk()
{
    dw::Definition d = grid("dwfkbk", "SELECT code, bs, skrname, skrbank, skrcode, prov, city, xian FROM fkrbook",
                            "fkrbook");
    // A payer row's key is its name, bank and account: a save writes the row by its row id, and only while
    // another program has left those as read.
    d.columns = {{QStringLiteral("code"), Type::Long, 0, false, false},
                 identifier("bs", 6),
                 text("skrname", 60, true),
                 text("skrbank", 40, true),
                 identifier("skrcode", 25, true),
                 text("prov", 10),
                 text("city", 10),
                 text("xian", 10)};
    d.cells = bookCells("付款人全称", "付款人开户行");
    d.sort = {QStringLiteral("skrname")};
    return d;
}

dw::Definition cnbs1()
{
    dw::Definition d = grid("cnbs1", "SELECT i_id, cid, ctext, ccode FROM bs_1", "bs_1");
    d.columns = {{QStringLiteral("i_id"), Type::Long, 0, true, false}, identifier("cid", 6), text("ctext", 60),
                 text("ccode", 15)};
    d.cells = {rowNumber("行号", 219), cell("cid", "编号", 300, 10),
               cell("ctext", "文字名称(备注)", 1300, 20), cell("ccode", "备注", 500, 30)};
    d.sort = {QStringLiteral("cid")};
    return d;
}

dw::Definition prsz()
{
    dw::Definition d = grid("prsz", "SELECT prid, psname, bz FROM prsz WHERE prid <= 7 ORDER BY prid", "prsz");
    d.columns = {{QStringLiteral("prid"), Type::Long, 0, true, false}, text("psname", 6), text("bz", 14)};
    d.cells = {cell("prid", "编号", 300, 0, Qt::AlignCenter), cell("psname", "打印格式名", 700, 10),
               cell("bz", "备    注", 1000, 20)};
    return d;
}

dw::Definition dwgate()
{
    dw::Definition d = grid("dwgate", "SELECT ltdname, prov, city, xian FROM myname", "myname");
    d.style = dw::Style::FreeForm;
    // The table has no key and holds one row: the row is found by its values as read.
    d.columns = {text("ltdname", 32, true), text("prov", 10, true), text("city", 10, true), text("xian", 10, true)};
    // Each field's header is the label the operator reads beside it, as a refused input or save names it.
    auto field = [](const char *name, const char *header, int tabOrder, int x, int y, int width) {
        dw::Cell c = cell(name, header, width, tabOrder);
        c.x = x;
        c.y = y;
        c.height = 84;
        return c;
    };
    d.cells = {field("ltdname", "单位名称", 10, 420, 180, 1500), field("prov", "省、自治区", 20, 420, 420, 400),
               field("city", "市", 30, 1280, 420, 400), field("xian", "县", 40, 1840, 420, 300)};
    auto label = [](const char *text, int x, int y, int width) {
        return dw::Label{QString::fromUtf8(text), x, y, width, 84};
    };
    d.labels = {label("单位名称", 80, 180, 320), label("单位地址", 80, 420, 320), label("省、自治区", 840, 420, 420),
                label("市", 1700, 420, 120), label("县", 2160, 420, 80)};
    return d;
}

dw::Definition inbank()
{
    dw::Definition d = grid("inbank", "", "jzd");
    dw::selectRegisterColumns(d, QStringLiteral("jzd"),
                              {QStringLiteral("line"), QStringLiteral("rq"), QStringLiteral("et"),
                               QStringLiteral("zphm"), QStringLiteral("xkr"), QStringLiteral("an"),
                               QStringLiteral("fkhm"), QStringLiteral("fkzh"), QStringLiteral("shbank"),
                               QStringLiteral("shcode"), QStringLiteral("kpr"), QStringLiteral("bz")},
                              true, QStringLiteral("ORDER BY rq, shbank"));
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    d.cells = {rowNumber("编号", 439),
               cell("rq", "日期", 352, 20, left, "yy.mm.dd"),
               cell("et", "支票类型", 430, 30),
               cell("zphm", "支票号码", 553, 40, Qt::AlignCenter),
               cell("xkr", "销售商名称", 1723, 50),
               cell("an", "金额", 439, 60, right, "###,###.00"),
               cell("fkhm", "付款行名", 1207, 70),
               cell("fkzh", "付款行帐号", 1207, 80),
               cell("shbank", "收款行名", 969, 90),
               cell("shcode", "收款行帐号", 951, 100),
               cell("kpr", "开票人", 402, 110),
               cell("bz", "备注", 489, 120)};
    markCurrentRow(d);
    return d;
}

dw::Definition gobank()
{
    dw::Definition d = grid("gobank", "", "xjzp");
    dw::selectRegisterColumns(d, QStringLiteral("xjzp"),
                              {QStringLiteral("line"), QStringLiteral("rq"), QStringLiteral("bz"),
                               QStringLiteral("zphm"), QStringLiteral("xkr"), QStringLiteral("shbank"),
                               QStringLiteral("shcode"), QStringLiteral("et"), QStringLiteral("an"),
                               QStringLiteral("fkhm"), QStringLiteral("fkzh"), QStringLiteral("kpr")},
                              true, QStringLiteral("ORDER BY rq, fkhm"));
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    d.cells = {rowNumber("编号", 233),
               cell("rq", "日期", 297, 10, left, "yy.mm.dd"),
               cell("bz", "支票类型", 375, 20),
               cell("zphm", "支票号码", 439, 30),
               cell("xkr", "收款人全称", 1102, 40),
               cell("shbank", "收款人开户行", 512, 50),
               cell("shcode", "收款人帐号", 626, 60),
               cell("et", "用途", 512, 70),
               cell("an", "金额", 398, 80, right, "###,###.00"),
               cell("fkhm", "付款行名", 626, 90),
               cell("fkzh", "付款人帐号", 626, 100),
               cell("kpr", "开票人", 352, 110)};
    markCurrentRow(d);
    return d;
}
} // namespace brevik::views
