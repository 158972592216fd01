#include "books/sdwfkbk.h"

namespace brevik {
namespace {
constexpr qint64 kCurrentRow = 12315646; // light yellow
constexpr qint64 kOtherRow = 1087434968; // pale green
} // namespace

dw::Definition sdwfkbk()
{
    using dw::Type;
    dw::Definition d;
    d.name = QStringLiteral("sdwfkbk");
    d.sql = QStringLiteral("SELECT fkrbook.code, fkrbook.bs, fkrbook.skrname, fkrbook.skrbank, fkrbook.skrcode, "
                           "fkrbook.prov, fkrbook.city, fkrbook.xian FROM fkrbook "
                           "WHERE fkrbook.skrname LIKE :skrname1 ORDER BY fkrbook.code");
    d.arguments = {{QStringLiteral("skrname1"), Type::Text}};
    d.columns = {
        {QStringLiteral("code"), Type::Long, 0, true},
        {QStringLiteral("bs"), Type::Text, 6, false, false, true},
        {QStringLiteral("skrname"), Type::Text, 60},
        {QStringLiteral("skrbank"), Type::Text, 40},
        {QStringLiteral("skrcode"), Type::Text, 25, false, false, true},
        {QStringLiteral("prov"), Type::Text, 10},
        {QStringLiteral("city"), Type::Text, 10},
        {QStringLiteral("xian"), Type::Text, 10},
    };
    auto cell = [](const char *column, const char *header, int width) {
        return dw::Cell{.name = QString::fromLatin1(column), .header = QString::fromUtf8(header), .width = width};
    };
    dw::Cell name = cell("skrname", "付款人全称", 1381);
    // Only the full name marks the current row in this list.
    name.currentRowBackground = kCurrentRow;
    name.otherRowBackground = kOtherRow;
    d.cells = {
        {.name = QStringLiteral("rownum"), .header = QStringLiteral("行号"), .width = 215,
         .alignment = Qt::AlignCenter, .compute = dw::rowNumber()},
        cell("bs", "助记码", 215),
        name,
        cell("skrbank", "付款人开户行", 727),
        cell("skrcode", "银行帐号", 919),
        cell("prov", "省", 325),
        cell("city", "市", 320),
        cell("xian", "县", 283),
    };
    // No sort: the payers come in the order they were entered, the table's own. The statement says so, so that
    // the order is total: a record's place in it can be counted, and the last rows read from the end.
    d.font = {QStringLiteral("宋体"), 12, 400};
    return d;
}
} // namespace brevik
