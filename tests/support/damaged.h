#pragma once
#include "dataview/types.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

// Registers whose file is damaged at a chosen place: payments entered day by day (so the register's order by
// date follows the order of the table's pages), then one page of the file overwritten with bytes no page
// holds, so that a read stops part-way through the rows.
namespace damage {
constexpr int kPageSize = 4096;
// The date of the first payment; three are entered a day.
inline const QDate kFrom{2020, 1, 1};

void fillRegister(const QString &path, int rows);
// A statement with its values bound.
struct Read {
    QString sql;
    QVariantList values = {};
};
// A view's statement as its buffer runs it.
Read readOf(const dw::Definition &definition, const QVariantList &arguments = {});
// Rows a read returns before it fails; -1 when it does not fail.
int readableRows(const QString &path, const Read &read);
void damagePage(const QString &path, int page);

struct Damaged {
    QString path;
    QList<int> readable; // per read, the rows it returns before the damage
    int page = 0;        // the page damaged (1-based)
};
// A copy of `good` in `dir` damaged at the first page from `fromPage` on whose damage each of the reads fails
// after `least` to `most` rows; no path when there is no such page.
Damaged damagedCopy(const QString &good, const QString &dir, const QList<Read> &reads, int fromPage, int least,
                    int most);
} // namespace damage
