#pragma once
#include "dataview/types.h"
#include "platform/export.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlDatabase;

// The statement of a data view and its arguments: each :name outside literals becomes a bound ?, and the
// definition's sort becomes the ORDER BY, so the database hands the rows over in their final order.
namespace dw {

// "<key column> = ? AND ...", a column in order per key column of `columns` (named as in `names`), each
// bound to the next of `key` (appended to `args`); a key with no value is found as IS NULL, since "= NULL"
// would find nothing.
COMMON_EXPORT QString keyCondition(const QList<Column> &columns, const QStringList &names, const QVariantList &key,
                                   QVariantList &args);

// One term of a view's order: an expression over the query's table, the collation it compares by (empty: its
// own) and its direction.
struct OrderTerm {
    QString expression;
    QString collation = {};
    bool descending = false;
    // The term as an ORDER BY writes it, turned round or not.
    QString text(bool reverse = false) const;
    // The expression compared as the order compares it.
    QString compared() const;
};

// A row held, as the statements find it again: its identity (the row id) and which of the order's terms have
// no value there. Its other values stay in the database.
struct Edge {
    QVariant id;
    QList<bool> nulls;
};

class COMMON_EXPORT Statement {
public:
    // A statement it cannot read as written (a term by a column's number, names in brackets or backticks) keeps
    // its order as written and is read by place; comments are left out.
    void compile(const Definition &definition);
    // What the database says of the order's first term: whether it can be without a value (see beyond).
    void learn(const QSqlDatabase &connection);

    // The query as it is run. With identified(), each row also brings its identity, after the result columns.
    const QString &sql() const { return m_sql; }
    // The query with its order turned round (the last row first), empty when the order is not total.
    const QString &reverseSql() const { return m_reverse; }
    // The order, ending with what identifies a row when the order is total.
    const QList<OrderTerm> &order() const { return m_order; }

    // Rows found by their identity: a query of one table, whose order ends with its row id, which each row
    // read brings after the result columns (identified() false otherwise: rows are then found by place). All
    // bind the query's own values first, then theirs into `args`.
    bool identified() const { return m_identified; }
    // The row id of a query of one table ("<table>.rowid"), empty for a query of several.
    const QString &identity() const { return m_id; }
    // "SELECT id, <term> IS NULL, ..." of the row of the result with the key (the first such in the table;
    // empty when the select list does not name the key columns); and the same nulls of the row with an
    // identity.
    QString locate(const QVariantList &key, QVariantList &args) const;
    QString edgeOf(const QVariant &id, QVariantList &args) const;
    // The count of rows before the edge row; the rows after it (with `after`), from it on, or before it, last
    // first. `args` holds the query's own values on entry; each range (see beyond) binds them again.
    QString countBefore(const Edge &edge, QVariantList &args) const;
    QString rowsFrom(const Edge &edge, bool before, QVariantList &args, bool after = false) const;
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
    QString m_base; // the query with ? and without its ORDER BY
    QString m_sql;
    QString m_reverse;
    QList<OrderTerm> m_order;
    bool m_identified = false;
    // Of a query of one table: its select list with the identity, its FROM part, its condition, the identity.
    QString m_select, m_from, m_condition, m_id;
    bool m_firstNeverNull = false;
    QString m_table; // of a query of one table, its own name
    // The compile's parts: the statement with its arguments as ?; its base and its own ORDER BY; the order's
    // terms (false where one cannot be compared or turned round; `sorted` where the sort gave some); the
    // identity the order ends with, and the queries run.
    QString bindArguments(const Definition &definition, const QString &sql);
    QString splitOrder(const QString &bound);
    bool orderTerms(const Definition &definition, const QString &ownOrder, bool &sorted);
    void identify(const Definition &definition, bool sorted, bool understood);
    QString within(const QString &head, const QString &condition) const;
    QString ordered(bool reverse) const;
    // The edge's value of term i, taken from its row in the database (the identity itself bound).
    QString edgeValue(qsizetype i, const Edge &edge, QVariantList &args) const;
    // The rows on one side of the edge as ranges of the order's first term the database seeks to: those with
    // its value and beyond, and those without one where they lie on that side (never for a term that always
    // has one). Each with the values it binds.
    struct Range {
        QString condition;
        QVariantList args;
    };
    QList<Range> beyond(const Edge &edge, bool before, bool after) const;
    QString nulls() const;
    QList<int> m_argOrder; // which argument each ? binds
    QStringList m_selectItems;
};
} // namespace dw
