#pragma once
#include "platform/export.h"
#include <QString>
#include <QStringList>

namespace forms {

// The amount written three ways: as a value, in Chinese capitals and over per-place digit boxes.
struct AmountText {
    double value = 0;
    // One text per place, index 0 = place 1 (分) up to places - 1 (千万, or 亿 with eleven places):
    // a digit, "￥" in the box just above the highest yuan digit, or empty.
    QStringList places;
    QString capitals;
    // Boxes from the highest place down to 分, the order in which the forms list and print them.
    QStringList highestFirst() const;
};

// The number in an amount box's text ("1,234.56"); an empty or unreadable box is worth 0.
COMMON_EXPORT double amountFromText(const QString &boxText);
// places is 10 (up to 千万) or 11 (up to 亿, the budget voucher).
COMMON_EXPORT AmountText amountInCapitals(double value, int places = 10);

} // namespace forms
