#pragma once
#include "platform/export.h"
#include <QDate>
#include <QString>

namespace forms {

// The issue date of the cheques in capitals, by the rule for filling bills: a 零 before months
// 壹, 贰 and 壹拾 and before days 壹 to 玖, 壹拾, 贰拾 and 叁拾, so that no digit can be added in front.
struct DateCapitals {
    QString year;  // 2026 -> 贰零贰陆
    QString month; // 3 -> 零叁, 10 -> 零壹拾, 11 -> 壹拾壹
    QString day;   // 5 -> 零伍, 10 -> 零壹拾, 15 -> 壹拾伍, 20 -> 零贰拾, 31 -> 叁拾壹
};

COMMON_EXPORT DateCapitals dateInCapitals(const QDate &date);
// From the texts of the date boxes in figures (year, month, day), as the form open reads them.
COMMON_EXPORT DateCapitals dateInCapitals(const QString &year, const QString &month, const QString &day);

} // namespace forms
