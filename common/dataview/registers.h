#pragma once
#include "dataview/types.h"
#include "platform/export.h"

#include <QList>
#include <QString>
#include <QStringList>

// The columns of the payment register `xjzp` and the receipt register `jzd`, said once for every view over them:
// the register editors, the lists, the letter and the search's grid made at run time. A column's type says what
// it holds (`line` the key, `rq` a date, `an` an amount), texts are as wide as the schema's width table says, and
// the cheque number and the accounts are identifiers: figures shown whole or not at all.
namespace dw {

// The column of a register; for a name that is no register's column, a text without a width.
COMMON_EXPORT Column registerColumn(const QString &table, const QString &name);
// Whether a table and column are a register's.
COMMON_EXPORT bool isRegisterColumn(const QString &table, const QString &name);
// The columns named, in that order; all but the key written by an update when `updatable`.
COMMON_EXPORT QList<Column> registerColumns(const QString &table, const QStringList &names, bool updatable);
// A view over the register that reads the columns named, in that order: its statement "SELECT <names> FROM
// <table>" followed by `rest` (an ORDER BY), and its columns as registerColumns gives them. The names are said once.
COMMON_EXPORT void selectRegisterColumns(Definition &definition, const QString &table, const QStringList &names,
                                         bool updatable, const QString &rest = {});
} // namespace dw
