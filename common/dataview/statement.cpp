#include "dataview/statement.h"

#include "dataview/rows.h"
#include "platform/transaction.h"

#include <QRegularExpression>

namespace dw {

namespace {
// The text with every character inside a literal, a quoted name or parentheses replaced by a blank, so that
// keywords and commas found in it are those of the statement itself. Lengths stay as they are.
QString topLevel(const QString &sql)
{
    QString out = sql;
    QChar quote;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out[i] = u' ';
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            out[i] = u' ';
        } else if (c == u'(') {
            ++depth;
            out[i] = u' ';
        } else if (c == u')') {
            depth = qMax(0, depth - 1);
            out[i] = u' ';
        } else if (depth > 0) {
            out[i] = u' ';
        }
    }
    return out;
}

const QRegularExpression &fromWord()
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\b"), QRegularExpression::CaseInsensitiveOption);
    return from;
}

QStringList selectItems(const QString &sql)
{
    const QString top = topLevel(sql);
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+(DISTINCT\\s+|ALL\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto h = head.match(top);
    if (!h.hasMatch())
        return {};
    const auto f = fromWord().match(top, h.capturedEnd());
    const qsizetype end = f.hasMatch() ? f.capturedStart() : top.size();
    QStringList items;
    qsizetype start = h.capturedEnd();
    static const QRegularExpression alias(QStringLiteral("\\s+AS\\s+\\w+\\s*$"), QRegularExpression::CaseInsensitiveOption);
    for (qsizetype i = start; i <= end; ++i) {
        if (i == end || top.at(i) == u',') {
            QString item = sql.mid(start, i - start).trimmed();
            item.remove(alias);
            items << item;
            start = i + 1;
        }
    }
    return items;
}
} // namespace

void Statement::compile(const Definition &definition)
{
    m_columns = definition.columns;
    m_argTypes.clear();
    for (const Argument &a : definition.arguments)
        m_argTypes << a.type;

    // Each :name outside quoted literals becomes ? and binds its argument, so an argument may appear more than
    // once.
    QString bound;
    m_argOrder.clear();
    const QString &sql = definition.sql;
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u':' && i + 1 < sql.size() && (sql.at(i + 1).isLetter() || sql.at(i + 1) == u'_')) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == u'_'))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            int index = -1;
            for (int a = 0; a < definition.arguments.size(); ++a)
                if (definition.arguments.at(a).name.compare(name, Qt::CaseInsensitive) == 0)
                    index = a;
            if (index >= 0) {
                bound += u'?';
                m_argOrder << index;
                i = end - 1;
                continue;
            }
        }
        bound += c;
    }

    // Split off the query's own ORDER BY: the base serves the aggregates, the order follows the sort.
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"), QRegularExpression::CaseInsensitiveOption);
    const QString top = topLevel(bound);
    qsizetype at = -1, after = -1;
    for (auto it = orderBy.globalMatch(top); it.hasNext();) {
        const auto m = it.next();
        at = m.capturedStart();
        after = m.capturedEnd();
    }
    QString ownOrder;
    if (at >= 0) {
        m_base = bound.left(at).trimmed();
        ownOrder = bound.mid(after).trimmed();
    } else {
        m_base = bound.trimmed();
    }
    m_selectItems = selectItems(m_base);

    QStringList terms;
    for (const QString &name : definition.sort) {
        for (int c = 0; c < m_columns.size(); ++c)
            if (m_columns.at(c).name.compare(name, Qt::CaseInsensitive) == 0)
                terms << orderTerm(c + 1);
    }
    const bool sorted = !terms.isEmpty();
    // The query's own terms decide between rows the sort leaves equal. A term on a sorted column decides
    // nothing more (equal GBK bytes are equal texts), and leaving it out lets an index give the whole order.
    auto names = [](const QString &term) {
        QString name = term.trimmed().section(u' ', 0, 0);
        return name.section(u'.', -1);
    };
    const QString ownTop = topLevel(ownOrder);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= ownOrder.size() && !ownOrder.isEmpty(); ++i) {
        if (i < ownOrder.size() && ownTop.at(i) != u',')
            continue;
        const QString term = ownOrder.mid(start, i - start).trimmed();
        start = i + 1;
        bool onSorted = false;
        for (const QString &name : definition.sort)
            onSorted = onSorted || names(term).compare(name, Qt::CaseInsensitive) == 0;
        if (!sorted || !onSorted)
            terms << term;
    }
    // Between rows equal in every term, the order of entry decides: a query of one table without an order of
    // its own reads its rows in the table's order, and the row id is that order (an index in the sort's order
    // holds it too, so the database need not sort). Otherwise the key columns decide.
    static const QRegularExpression oneTable(
        QStringLiteral("\\bFROM\\s+(\\w+)(?:\\s+(?:AS\\s+)?(?!WHERE\\b|GROUP\\b)(\\w+))?\\s*(?:\\bWHERE\\b|$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString baseTop = topLevel(m_base);
    const auto single = oneTable.match(baseTop);
    // A query of one table ordered by its own terms keeps the order of entry between equal rows too (an index
    // in the order of the terms gives them so), which makes the order total and so readable from the end. One
    // without any order (a search, the letter) is ordered by the row id alone: the order its rows are entered
    // in, and readable from the end too.
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    const bool ofTable = single.hasMatch() && select.match(baseTop).hasMatch(); // not of a WITH's own rows
    if (ofTable && (!sorted || ownOrder.isEmpty())) {
        const QString name = single.captured(2).isEmpty() ? single.captured(1) : single.captured(2);
        terms << name + QStringLiteral(".rowid");
    } else if (sorted) {
        for (int c = 0; c < m_columns.size(); ++c) {
            if (!m_columns.at(c).key)
                continue;
            bool present = false;
            for (const QString &t : std::as_const(terms))
                present = present || names(t).compare(m_columns.at(c).name, Qt::CaseInsensitive) == 0;
            if (!present)
                terms << (c < m_selectItems.size() ? m_selectItems.at(c) : m_columns.at(c).name);
        }
    }
    m_sql = terms.isEmpty() ? m_base : m_base + QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));

    // The same rows from the last: every term turned round. Only a total order turns round exactly.
    m_reverse.clear();
    m_keyset.clear();
    const bool total = sorted || (single.hasMatch() && !terms.isEmpty());
    static const QRegularExpression direction(QStringLiteral("\\s+(ASC|DESC)$"), QRegularExpression::CaseInsensitiveOption);
    QStringList reversed;
    bool ascending = true;
    for (const QString &term : std::as_const(terms)) {
        if (term.contains(QStringLiteral("NULLS"), Qt::CaseInsensitive))
            return;
        const auto m = direction.match(term.trimmed());
        ascending = ascending && !m.hasMatch();
        const bool descending = m.hasMatch() && m.captured(1).compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0;
        reversed << (m.hasMatch() ? term.trimmed().left(m.capturedStart()) : term.trimmed())
                        + (descending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    }
    if (total)
        m_reverse = m_base + QStringLiteral(" ORDER BY ") + reversed.join(QStringLiteral(", "));

    // Places in the order: a one-table query of ascending terms ending with the row id, with no value bound
    // before its FROM and nothing after its WHERE.
    static const QRegularExpression where(QStringLiteral("\\bWHERE\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tail(QStringLiteral("\\b(GROUP|HAVING|LIMIT|UNION|DISTINCT)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto f = fromWord().match(baseTop);
    // The key columns must be named by the select list ("SELECT *" names none) to be found by.
    if (terms.isEmpty() || !single.hasMatch() || !f.hasMatch() || !ascending || !terms.last().endsWith(QStringLiteral(".rowid"))
        || m_base.left(f.capturedStart()).contains(u'?') || baseTop.contains(tail)
        || m_selectItems.size() != m_columns.size() || m_selectItems.contains(QStringLiteral("*")))
        return;
    m_keyset = terms;
    const auto w = where.match(baseTop, f.capturedStart());
    m_head = w.hasMatch() ? m_base.left(w.capturedStart()).trimmed() : m_base;
    m_condition = w.hasMatch() ? m_base.mid(w.capturedEnd()).trimmed() : QString();
    m_from = m_base.mid(f.capturedStart(), w.hasMatch() ? w.capturedStart() - f.capturedStart() : -1).trimmed();
}

QString Statement::within(const QString &head, const QString &condition) const
{
    return m_condition.isEmpty() ? QStringLiteral("%1 WHERE %2").arg(head, condition)
                                 : QStringLiteral("%1 WHERE (%2) AND (%3)").arg(head, m_condition, condition);
}

QString keyCondition(const QList<Column> &columns, const QStringList &names, const QVariantList &key,
                     QVariantList &args)
{
    QStringList parts;
    qsizetype k = 0;
    for (int c = 0; c < columns.size() && c < names.size(); ++c) {
        if (!columns.at(c).key)
            continue;
        const QVariant v = key.value(k++);
        parts << names.at(c) + (v.isNull() ? QStringLiteral(" IS NULL") : QStringLiteral(" = ?"));
        if (!v.isNull())
            args << v;
    }
    return parts.join(QStringLiteral(" AND "));
}

QString Statement::termValues(const QVariantList &key, QVariantList &args) const
{
    const QString head = QStringLiteral("SELECT %1 %2").arg(m_keyset.join(QStringLiteral(", ")), m_from);
    return within(head, keyCondition(m_columns, m_selectItems, key, args));
}

QString Statement::beyond(const QVariantList &values, bool before, QVariantList &args, bool after) const
{
    // Before: every term equal up to one that is less (no value is least); from: the same with greater, or
    // every term equal. Built from the row id outwards.
    QString condition = m_keyset.last() + (before ? QStringLiteral(" < ?") : after ? QStringLiteral(" > ?") : QStringLiteral(" >= ?"));
    QVariantList inner{values.last()};
    for (qsizetype i = m_keyset.size() - 2; i >= 0; --i) {
        const QString &t = m_keyset.at(i);
        const QVariant &v = values.at(i);
        QVariantList own;
        QString apart;
        if (v.isNull()) {
            apart = before ? QStringLiteral("0") : t + QStringLiteral(" IS NOT NULL");
        } else {
            apart = before ? QStringLiteral("(%1 IS NULL OR %1 < ?)").arg(t) : t + QStringLiteral(" > ?");
            own << v;
        }
        const QString equal = v.isNull() ? t + QStringLiteral(" IS NULL") : t + QStringLiteral(" = ?");
        if (!v.isNull())
            own << v;
        condition = QStringLiteral("(%1 OR (%2 AND %3))").arg(apart, equal, condition);
        inner = own + inner;
    }
    // From a value on, the first term also bounds the index range.
    if (!before && !values.first().isNull()) {
        condition = QStringLiteral("%1 >= ? AND %2").arg(m_keyset.first(), condition);
        inner.prepend(values.first());
    }
    args << inner;
    return condition;
}

QString Statement::countBefore(const QVariantList &values, QVariantList &args) const
{
    return within(QStringLiteral("SELECT count(*) ") + m_from, beyond(values, true, args));
}

QString Statement::rowsFrom(const QVariantList &values, bool before, QVariantList &args, bool after) const
{
    QStringList order;
    for (const QString &t : m_keyset)
        order << t + (before ? QStringLiteral(" DESC") : QString());
    return within(m_head, beyond(values, before, args, after)) + QStringLiteral(" ORDER BY ")
           + order.join(QStringLiteral(", "));
}

QString Statement::slice(bool reverse) const
{
    return (reverse ? m_reverse : m_sql) + QStringLiteral(" LIMIT ? OFFSET ?");
}

QString Statement::orderTerm(int column, const QString &name) const
{
    if (column < 1 || column > m_columns.size())
        return {};
    const Column &c = m_columns.at(column - 1);
    // The select list's own expression, so the term means the same inside the query as the result column.
    const QString expr = !name.isEmpty() ? name
                         : column - 1 < m_selectItems.size() ? m_selectItems.at(column - 1)
                                                             : c.name;
    return c.type == Type::Text ? expr + QStringLiteral(" COLLATE ") + QLatin1String(db::kGbkCollation) : expr;
}

QVariantList Statement::bind(const QVariantList &arguments) const
{
    QVariantList values;
    for (int index : m_argOrder)
        values << typedValue(arguments.value(index), m_argTypes.at(index));
    return values;
}

QString Statement::over(const QString &selectList, const QString &groupTerm) const
{
    QString sql = QStringLiteral("SELECT %1 FROM (%2)").arg(selectList, m_base);
    if (!groupTerm.isEmpty())
        sql += QStringLiteral(" GROUP BY %1 ORDER BY %1").arg(groupTerm);
    return sql;
}
} // namespace dw
