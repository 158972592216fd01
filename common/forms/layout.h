#pragma once
#include "platform/export.h"
#include "platform/transaction.h"
#include <QList>
#include <QPair>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>

namespace forms {

// The six form families; each has seven layout slots (family base + print format 1..7).
enum class Family { CashCheque, TransferCheque, DraftApplication, WireTransfer, DepositForm, BudgetVoucher };

COMMON_EXPORT int familyBase(Family family);
// Slot of print format 1..7; 0 for a format outside 1..7.
COMMON_EXPORT int slotOf(Family family, int format);
COMMON_EXPORT int pairCount(Family family);   // 18, 15, 19, 15, 17 (cheques share 18)
COMMON_EXPORT int digitPlaces(Family family); // 10, or 11 on the budget voucher
COMMON_EXPORT bool readsFontRow(Family family);
// First checked format (1..7) among the seven radios' checked states; 0 when none is checked.
COMMON_EXPORT int firstCheckedFormat(const std::array<bool, 7> &checked);

// One row of sescr: pair k at pair[k] (k = 1..19), the digit spacing and the page size.
struct LayoutRow {
    std::array<QPoint, 20> pair{};
    int jj = 0;
    int sex = 0;
    int sey = 0;
};

// One row of sefonent: font[1..3] in points, enter[1..4] split lengths, high[1..4] second-line offsets.
struct FontRow {
    std::array<int, 4> font{};
    std::array<int, 5> enter{};
    std::array<int, 5> high{};
};

// The sescr columns of the family's pairs and jj, in the order its print and its layout window read and
// write them: pairs in order with jj after the last, except the cheques, whose jj stands after pair 15.
COMMON_EXPORT QStringList layoutColumns(Family family);
// Reads the row of the slot as the family's print does (its pairs and jj); values not read stay 0.
COMMON_EXPORT LayoutRow readLayoutRow(db::Transaction &sqlca, Family family, int slot);
COMMON_EXPORT FontRow readFontRow(db::Transaction &sqlca, int slot);

// Long-field split: trims ASCII blanks, then the first line holds at most `length` GBK bytes without
// splitting a character; the rest goes to the second line.
COMMON_EXPORT QPair<QString, QString> splitLongField(const QString &text, int length);

// The digit row: box j (0 = highest place) at (x + j * jj, y).
COMMON_EXPORT QList<QPoint> digitRowPositions(QPoint first, int jj, int places);

// A field of a family's field table: which pair it prints at, in which font, with which split
// (0 none, 1..4 long field n, -1 the digit row), and which sample-text slot of `air` carries it.
struct Field {
    int pair;
    int font;
    int split;
    int airSlot;
    QString what; // the field's name, for the layout windows' sample fields
};
// The field table of a family in pair order: the printed fields only (the draft application prints no
// pair 11 to 13). The digit row's airSlot is 15, the 千万 box; the budget voucher's 亿 box comes in slot 25.
COMMON_EXPORT QList<Field> fieldTable(Family family);

} // namespace forms
