#include "pickers/cnbs2.h"

namespace pickers {
namespace {
constexpr qint64 kCurrentRow = 12315646; // light yellow
constexpr qint64 kOtherRow = 1087434968; // pale green

// "行号" of the remarks list is the remark code read as a whole number; a code that is not one shows nothing
// rather than a made-up 0.
QVariant codeAsNumber(const dw::Buffer &buffer, int row)
{
    bool ok = false;
    const qint64 n = buffer.itemString(row, QStringLiteral("cid")).trimmed().toLongLong(&ok);
    return ok ? QVariant(n) : QVariant();
}
} // namespace

dw::Definition cnbs2()
{
    using dw::Type;
    dw::Definition d;
    d.name = QStringLiteral("cnbs2");
    d.sql = QStringLiteral("SELECT bs_1.i_id, bs_1.cid, bs_1.ctext, bs_1.ccode FROM bs_1 WHERE bs_1.ctext LIKE :itext");
    d.arguments = {{QStringLiteral("itext"), Type::Text}};
    d.columns = {
        {QStringLiteral("i_id"), Type::Long, 0, true},
        {QStringLiteral("cid"), Type::Text, 6, false, false, true},
        {QStringLiteral("ctext"), Type::Text, 60},
        {QStringLiteral("ccode"), Type::Text, 15},
    };
    auto book = [](const char *column, const char *header, int width) {
        return dw::Cell{.name = QString::fromLatin1(column), .header = QString::fromUtf8(header), .width = width,
                        .currentRowBackground = kCurrentRow, .otherRowBackground = kOtherRow};
    };
    d.cells = {
        {.name = QStringLiteral("rownum"), .header = QStringLiteral("行号"), .width = 288,
         .alignment = Qt::AlignCenter, .compute = codeAsNumber},
        book("cid", "编号", 366),
        book("ctext", "文字名称(备注)", 1870),
        book("ccode", "备注", 654),
    };
    d.sort = {QStringLiteral("cid")};
    d.font = {QStringLiteral("宋体"), 12, 400};
    return d;
}
} // namespace pickers
