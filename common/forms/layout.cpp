#include "forms/layout.h"

#include "platform/gbk.h"

#include <algorithm>

namespace forms {

int familyBase(Family family)
{
    switch (family) {
    case Family::CashCheque:
        return 0;
    case Family::TransferCheque:
        return 7;
    case Family::DraftApplication:
        return 14;
    case Family::WireTransfer:
        return 21;
    case Family::DepositForm:
        return 28;
    case Family::BudgetVoucher:
        return 35;
    }
    return 0;
}

int slotOf(Family family, int format)
{
    return format >= 1 && format <= 7 ? familyBase(family) + format : 0;
}

int pairCount(Family family)
{
    switch (family) {
    case Family::CashCheque:
    case Family::TransferCheque:
        return 18;
    case Family::WireTransfer:
        return 19;
    case Family::BudgetVoucher:
        return 17;
    case Family::DraftApplication:
    case Family::DepositForm:
        return 15;
    }
    return 15;
}

int digitPlaces(Family family)
{
    return family == Family::BudgetVoucher ? 11 : 10;
}

bool readsFontRow(Family family)
{
    return family != Family::BudgetVoucher;
}

int firstCheckedFormat(const std::array<bool, 7> &checked)
{
    const auto it = std::find(checked.begin(), checked.end(), true);
    return it == checked.end() ? 0 : int(it - checked.begin()) + 1;
}

namespace {

bool isCheque(Family family)
{
    return family == Family::CashCheque || family == Family::TransferCheque;
}

// Pair k in the order of layoutColumns: the pair numbers, with 0 standing for jj.
QList<int> columnPairs(Family family)
{
    QList<int> pairs;
    const int count = pairCount(family);
    const int jjAfter = isCheque(family) ? 15 : count;
    for (int k = 1; k <= count; ++k) {
        pairs << k;
        if (k == jjAfter)
            pairs << 0;
    }
    return pairs;
}

} // namespace

QStringList layoutColumns(Family family)
{
    QStringList columns;
    for (int k : columnPairs(family)) {
        if (k == 0)
            columns << QStringLiteral("jj");
        else
            columns << QStringLiteral("x%1w").arg(k) << QStringLiteral("y%1w").arg(k);
    }
    return columns;
}

LayoutRow readLayoutRow(db::Transaction &sqlca, Family family, int slot)
{
    // One target per column of the widest row (19 pairs and jj); the select fills as many as it names.
    std::array<int, 39> v{};
    sqlca.selectInto(QStringLiteral("SELECT %1 FROM sescr WHERE no = ?").arg(layoutColumns(family).join(u", ")),
                     {slot},
                     {v[0],  v[1],  v[2],  v[3],  v[4],  v[5],  v[6],  v[7],  v[8],  v[9],  v[10], v[11], v[12],
                      v[13], v[14], v[15], v[16], v[17], v[18], v[19], v[20], v[21], v[22], v[23], v[24], v[25],
                      v[26], v[27], v[28], v[29], v[30], v[31], v[32], v[33], v[34], v[35], v[36], v[37], v[38]});
    LayoutRow row;
    if (sqlca.SQLCode != 0)
        return row;
    std::size_t i = 0;
    for (int k : columnPairs(family)) {
        if (k == 0) {
            row.jj = v[i++];
        } else {
            row.pair[k].setX(v[i++]);
            row.pair[k].setY(v[i++]);
        }
    }
    return row;
}

FontRow readFontRow(db::Transaction &sqlca, int slot)
{
    FontRow row;
    sqlca.selectInto(QStringLiteral("SELECT sefont1, sefont2, sefont3, senter1, senter2, senter3, senter4, "
                                    "sehigh1, sehigh2, sehigh3, sehigh4 FROM sefonent WHERE seno = ?"),
                     {slot},
                     {row.font[1], row.font[2], row.font[3], row.enter[1], row.enter[2], row.enter[3], row.enter[4],
                      row.high[1], row.high[2], row.high[3], row.high[4]});
    return row;
}

QPair<QString, QString> splitLongField(const QString &text, int length)
{
    const QString trimmed = gbk::trimBlanks(text);
    const QString first = gbk::leftBytes(trimmed, std::max(length, 0));
    return {first, trimmed.mid(first.size())};
}

QList<QPoint> digitRowPositions(QPoint first, int jj, int places)
{
    QList<QPoint> positions;
    for (int j = 0; j < places; ++j)
        positions << QPoint(first.x() + j * jj, first.y());
    return positions;
}

QList<Field> fieldTable(Family family)
{
    constexpr int digits = -1;
    switch (family) {
    case Family::CashCheque:
    case Family::TransferCheque:
        return {
            {1, 1, 0, 1, QStringLiteral("stub year")},
            {2, 1, 0, 2, QStringLiteral("stub month")},
            {3, 1, 0, 3, QStringLiteral("stub day")},
            {4, 3, 1, 4, QStringLiteral("stub payee")},
            {5, 1, 0, 5, QStringLiteral("stub amount")},
            {6, 1, 2, 6, QStringLiteral("stub purpose")},
            {7, 1, 0, 7, QStringLiteral("stub operator")},
            {8, 1, 0, 8, QStringLiteral("issue year in capitals")},
            {9, 1, 0, 9, QStringLiteral("issue month in capitals")},
            {10, 1, 0, 10, QStringLiteral("issue day in capitals")},
            {11, 1, 3, 11, QStringLiteral("payee")},
            {12, 1, 0, 12, QStringLiteral("paying bank")},
            {13, 1, 0, 13, QStringLiteral("drawer account")},
            {14, 2, 0, 14, QStringLiteral("amount in capitals")},
            {15, 1, digits, 15, QStringLiteral("amount digits")},
            {16, 1, 4, 25, QStringLiteral("purpose")},
            {17, 1, 0, 12, QStringLiteral("stub account name")},
            {18, 1, 0, 13, QStringLiteral("stub account number")},
        };
    case Family::DraftApplication:
        return {
            {1, 1, 0, 1, QStringLiteral("year")},
            {2, 1, 0, 2, QStringLiteral("month")},
            {3, 1, 0, 3, QStringLiteral("day")},
            {4, 1, 1, 4, QStringLiteral("applicant")},
            {5, 1, 0, 5, QStringLiteral("applicant account")},
            {6, 1, 2, 6, QStringLiteral("purpose")},
            {7, 1, 3, 7, QStringLiteral("payee")},
            {8, 1, 0, 8, QStringLiteral("payee account")},
            {9, 1, 4, 9, QStringLiteral("agent paying bank")},
            {10, 2, 0, 10, QStringLiteral("amount in capitals")},
            {14, 1, 0, 14, QStringLiteral("operator")},
            {15, 1, digits, 15, QStringLiteral("amount digits")},
        };
    case Family::WireTransfer:
        return {
            {1, 1, 0, 1, QStringLiteral("year")},
            {2, 1, 0, 2, QStringLiteral("month")},
            {3, 1, 0, 3, QStringLiteral("day")},
            {4, 1, 1, 4, QStringLiteral("remitter")},
            {5, 1, 0, 5, QStringLiteral("remitter account")},
            {6, 3, 0, 6, QStringLiteral("remitting city")},
            {7, 3, 0, 7, QStringLiteral("remitting province")},
            {8, 3, 0, 8, QStringLiteral("remitting county")},
            {9, 3, 2, 9, QStringLiteral("remitting bank")},
            {10, 2, 0, 10, QStringLiteral("amount in capitals")},
            {11, 1, 3, 11, QStringLiteral("payee")},
            {12, 1, 0, 12, QStringLiteral("payee account")},
            {13, 3, 0, 13, QStringLiteral("receiving city")},
            {14, 3, 0, 14, QStringLiteral("receiving province")},
            {15, 1, digits, 15, QStringLiteral("amount digits")},
            {16, 3, 0, 25, QStringLiteral("receiving county")},
            {17, 3, 4, 26, QStringLiteral("receiving bank")},
            {18, 1, 0, 27, QStringLiteral("purpose")},
            {19, 1, 0, 28, QStringLiteral("operator")},
        };
    case Family::DepositForm:
        return {
            {1, 1, 0, 1, QStringLiteral("year")},
            {2, 1, 0, 2, QStringLiteral("month")},
            {3, 1, 0, 3, QStringLiteral("day")},
            {4, 1, 1, 4, QStringLiteral("drawer")},
            {5, 1, 0, 5, QStringLiteral("drawer account")},
            {6, 1, 2, 6, QStringLiteral("drawer bank")},
            {7, 1, 3, 7, QStringLiteral("payee")},
            {8, 1, 0, 8, QStringLiteral("payee account")},
            {9, 1, 4, 9, QStringLiteral("payee bank")},
            {10, 2, 0, 10, QStringLiteral("amount in capitals")},
            {11, 1, 0, 11, QStringLiteral("kind of bill")},
            {12, 1, 0, 12, QStringLiteral("number of bills")},
            {13, 1, 0, 13, QStringLiteral("bill number")},
            {14, 1, 0, 14, QStringLiteral("operator")},
            {15, 1, digits, 15, QStringLiteral("amount digits")},
        };
    case Family::BudgetVoucher:
        return {
            {1, 1, 0, 1, QStringLiteral("year")},
            {2, 1, 0, 2, QStringLiteral("month")},
            {3, 1, 0, 3, QStringLiteral("day")},
            {4, 1, 0, 4, QStringLiteral("payee")},
            {5, 1, 0, 5, QStringLiteral("payee account")},
            {6, 1, 0, 6, QStringLiteral("payee bank")},
            {7, 1, 0, 7, QStringLiteral("payer")},
            {8, 1, 0, 8, QStringLiteral("payer account")},
            {9, 1, 0, 9, QStringLiteral("payer bank")},
            {10, 2, 0, 10, QStringLiteral("amount in capitals")},
            {11, 1, 0, 11, QStringLiteral("purpose")},
            {12, 1, 0, 12, QStringLiteral("voucher number")},
            {13, 1, 0, 13, QStringLiteral("budget class")},
            {14, 3, 0, 14, QStringLiteral("mark")},
            {15, 1, digits, 15, QStringLiteral("amount digits")},
            {16, 1, 0, 27, QStringLiteral("budget section")},
            {17, 1, 0, 26, QStringLiteral("budget item")},
        };
    }
    return {};
}

} // namespace forms
