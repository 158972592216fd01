#pragma once
#include "dataview/types.h"
#include "platform/export.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The statement of a data view and its arguments: each :name outside literals becomes a bound ?, and the
// definition's sort becomes the ORDER BY, so the database hands the rows over in their final order.
namespace dw {

// "<key column> = ? AND ...", a column in order per key column of `columns` (named as in `names`), each
// bound to the next of `key` (appended to `args`); a key with no value is found as IS NULL, since "= NULL"
// would find nothing.
COMMON_EXPORT QString keyCondition(const QList<Column> &columns, const QStringList &names, const QVariantList &key,
                                   QVariantList &args);

class COMMON_EXPORT Statement {
public:
    void compile(const Definition &definition);

    // The query as it is run.
    const QString &sql() const { return m_sql; }
    // The query with its order turned round (the last row first), empty when the order is not total.
    const QString &reverseSql() const { return m_reverse; }

    // Rows by their place in the order, for a query of one table ordered by ascending terms that end with the
    // row id (positions() false otherwise). All bind the query's own values first, then theirs into `args`:
    // the terms' values of the row with the key; the count of rows before such values; the rows from them on
    // in order, or those before them last first.
    bool positions() const { return !m_keyset.isEmpty(); }
    QString termValues(const QVariantList &key, QVariantList &args) const;
    QString countBefore(const QVariantList &values, QVariantList &args) const;
    // With `after`, the rows after them (without the row that has them).
    QString rowsFrom(const QVariantList &values, bool before, QVariantList &args, bool after = false) const;
    // The query, or with its order turned round, from a place on: binds the rows to read (-1: all) and the
    // rows passed over. The database passes over them on the order's index without reading the rows.
    QString slice(bool reverse) const;
    // The values for its ?s, in order, converted to the arguments' types.
    QVariantList bind(const QVariantList &arguments) const;

    // A query over the rows of the result without their order: "SELECT <selectList> FROM (<query>)", with
    // "GROUP BY <group> ORDER BY <group>" when a group term is given. It binds the same values.
    QString over(const QString &selectList, const QString &groupTerm = {}) const;
    // A result column as the rows are ordered by it (a text in GBK order), as the select list writes it or
    // by the name given.
    QString orderTerm(int column, const QString &name = {}) const;

private:
    QList<Column> m_columns;
    QList<Type> m_argTypes;
    QString m_base;   // the query with ? and without its ORDER BY
    QString m_sql;
    QString m_reverse;
    QStringList m_keyset;                   // the order's terms, when rows can be found by place
    QString m_head, m_condition, m_from; // the query up to its WHERE, its condition, its FROM part
    QString within(const QString &head, const QString &condition) const;
    QString beyond(const QVariantList &values, bool before, QVariantList &args, bool after = false) const;
    QList<int> m_argOrder; // which argument each ? binds
    QStringList m_selectItems;
};
} // namespace dw
