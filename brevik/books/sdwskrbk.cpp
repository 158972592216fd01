#include "books/sdwskrbk.h"

namespace brevik {
namespace {
constexpr qint64 kCurrentRow = 12315646; // light yellow
constexpr qint64 kOtherRow = 1087434968; // pale green
} // namespace

dw::Definition sdwskrbk()
{
    using dw::Type;
    dw::Definition d;
    d.name = QStringLiteral("sdwskrbk");
    d.sql = QStringLiteral("SELECT skrbook.code, skrbook.skrname, skrbook.skrbank, skrbook.skrcode, skrbook.prov, "
                           "skrbook.city, skrbook.xian, skrbook.bs FROM skrbook WHERE skrbook.skrname LIKE :dnname");
    d.arguments = {{QStringLiteral("dnname"), Type::Text}};
    d.columns = {
        {QStringLiteral("code"), Type::Long, 0, true},
        {QStringLiteral("skrname"), Type::Text, 60},
        {QStringLiteral("skrbank"), Type::Text, 40},
        {QStringLiteral("skrcode"), Type::Text, 25, false, false, true},
        {QStringLiteral("prov"), Type::Text, 10},
        {QStringLiteral("city"), Type::Text, 10},
        {QStringLiteral("xian"), Type::Text, 10},
        {QStringLiteral("bs"), Type::Text, 6, false, false, true},
    };
    // The book's cells mark the current row by their background; the row number does not.
    auto book = [](const char *column, const char *header, int width) {
        return dw::Cell{.name = QString::fromLatin1(column), .header = QString::fromUtf8(header), .width = width,
                        .currentRowBackground = kCurrentRow, .otherRowBackground = kOtherRow};
    };
    d.cells = {
        {.name = QStringLiteral("rownum"), .header = QStringLiteral("行号"), .width = 219,
         .alignment = Qt::AlignCenter, .compute = dw::rowNumber()},
        book("bs", "助记码", 210),
        book("skrname", "收款人全称", 1390),
        book("skrbank", "收款人开户行", 750),
        book("skrcode", "银行帐号", 896),
        book("prov", "省", 325),
        book("city", "市", 329),
        book("xian", "县", 311),
    };
    d.sort = {QStringLiteral("skrname")};
    d.font = {QStringLiteral("宋体"), 12, 400};
    return d;
}
} // namespace brevik
