#include "dataview/statement.h"

#include "dataview/rows.h"
#include "platform/transaction.h"

#include <algorithm>

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

// The words and marks of a statement's top level (see topLevel), each with where it starts.
struct Token {
    QString text;
    qsizetype at = 0;
};

QList<Token> tokens(const QString &top)
{
    QList<Token> out;
    for (qsizetype i = 0; i < top.size();) {
        const QChar c = top.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c.isLetterOrNumber() || c == u'_' || c == u'.') {
            qsizetype end = i;
            while (end < top.size() && (top.at(end).isLetterOrNumber() || top.at(end) == u'_' || top.at(end) == u'.'))
                ++end;
            out.append({top.mid(i, end - i), i});
            i = end;
        } else {
            out.append({QString(c), i});
            ++i;
        }
    }
    return out;
}

bool is(const Token &t, const char *word) { return t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0; }

QStringList selectItems(const QString &sql)
{
    const QString top = topLevel(sql);
    const QList<Token> t = tokens(top);
    if (t.isEmpty() || !is(t.first(), "SELECT"))
        return {};
    qsizetype first = 1;
    if (first < t.size() && (is(t.at(first), "DISTINCT") || is(t.at(first), "ALL")))
        ++first;
    qsizetype start = first < t.size() ? t.at(first).at : top.size(), end = top.size();
    for (qsizetype i = first; i < t.size(); ++i)
        if (is(t.at(i), "FROM")) {
            end = t.at(i).at;
            break;
        }
    QStringList items;
    for (qsizetype i = start; i <= end; ++i) {
        if (i == end || top.at(i) == u',') {
            // "<expression> AS <name>": the expression.
            QString item = sql.mid(start, i - start).trimmed();
            const QList<Token> words = tokens(topLevel(item));
            if (words.size() >= 3 && is(words.at(words.size() - 2), "AS"))
                item = item.left(words.at(words.size() - 2).at).trimmed();
            items << item;
            start = i + 1;
        }
    }
    return items;
}

// The term of an ORDER BY as written: its direction and collation taken apart. False for what the order
// cannot be turned round by (NULLS FIRST or LAST).
bool parseTerm(const QString &written, OrderTerm &term)
{
    QString text = written.trimmed();
    QList<Token> words = tokens(topLevel(text));
    if (std::any_of(words.cbegin(), words.cend(), [](const Token &t) { return is(t, "NULLS"); }))
        return false;
    if (!words.isEmpty() && (is(words.last(), "ASC") || is(words.last(), "DESC"))) {
        term.descending = is(words.last(), "DESC");
        text = text.left(words.last().at).trimmed();
        words.removeLast();
    }
    if (words.size() >= 2 && is(words.at(words.size() - 2), "COLLATE")) {
        term.collation = words.last().text;
        text = text.left(words.at(words.size() - 2).at).trimmed();
    }
    term.expression = text;
    return true;
}

// The top-level ORDER BY terms as written.
QStringList splitTerms(const QString &order)
{
    QStringList terms;
    const QString top = topLevel(order);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= order.size() && !order.isEmpty(); ++i) {
        if (i < order.size() && top.at(i) != u',')
            continue;
        terms << order.mid(start, i - start).trimmed();
        start = i + 1;
    }
    return terms;
}

// A query of one table ("SELECT <list> FROM <table> [[AS] <alias>] [WHERE <condition>]"): the name its rows
// are known by and where its FROM and its WHERE start (-1: none). Empty for any other query.
struct OneTable {
    QString name;
    qsizetype from = -1, where = -1;
};

OneTable oneTable(const QString &sql)
{
    const QList<Token> t = tokens(topLevel(sql));
    if (t.isEmpty() || !is(t.first(), "SELECT"))
        return {};
    static const char *const kOther[] = {"DISTINCT", "GROUP", "HAVING", "LIMIT", "UNION", "INTERSECT",
                                         "EXCEPT", "WINDOW", "JOIN", "VALUES"};
    qsizetype from = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        for (const char *word : kOther)
            if (is(t.at(i), word))
                return {};
        if (from < 0 && is(t.at(i), "FROM"))
            from = i;
    }
    qsizetype i = from + 1;
    // A table by its name: not a query in parentheses, nor a quoted name (both blank at the top level).
    if (from < 0 || i >= t.size() || !t.at(i).text.at(0).isLetter() || t.at(i).text.contains(u'.')
        || !sql.mid(t.at(from).at + 4, t.at(i).at - t.at(from).at - 4).trimmed().isEmpty())
        return {};
    OneTable one{t.at(i).text, t.at(from).at};
    ++i;
    if (i < t.size() && is(t.at(i), "AS"))
        ++i;
    if (i < t.size() && !is(t.at(i), "WHERE")) {
        if (!t.at(i).text.at(0).isLetter())
            return {};
        one.name = t.at(i++).text;
    }
    if (i < t.size()) {
        if (!is(t.at(i), "WHERE"))
            return {};
        one.where = t.at(i).at;
    }
    return one;
}
} // namespace

QString OrderTerm::compared() const
{
    return collation.isEmpty() ? expression : expression + QStringLiteral(" COLLATE ") + collation;
}

QString OrderTerm::text(bool reverse) const
{
    return compared() + (descending != reverse ? QStringLiteral(" DESC") : QString());
}

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

    // Split off the query's own ORDER BY (its last one at the top level): the base serves the aggregates, the
    // order follows the sort.
    const QList<Token> words = tokens(topLevel(bound));
    QString ownOrder;
    m_base = bound.trimmed();
    for (qsizetype i = words.size() - 2; i >= 0; --i)
        if (is(words.at(i), "ORDER") && is(words.at(i + 1), "BY")) {
            m_base = bound.left(words.at(i).at).trimmed();
            ownOrder = bound.mid(words.at(i + 1).at + 2).trimmed();
            break;
        }
    m_selectItems = selectItems(m_base);

    // The order as data: the sort's columns first, then the query's own terms. A term on a sorted column
    // decides nothing more (equal GBK bytes are equal texts), and leaving it out lets an index give the whole
    // order.
    m_order.clear();
    for (const QString &name : definition.sort)
        for (int c = 0; c < m_columns.size(); ++c)
            if (m_columns.at(c).name.compare(name, Qt::CaseInsensitive) == 0) {
                const QString expr = c < m_selectItems.size() ? m_selectItems.at(c) : m_columns.at(c).name;
                m_order.append({expr, m_columns.at(c).type == Type::Text ? QLatin1String(db::kGbkCollation)
                                                                         : QString()});
            }
    const bool sorted = !m_order.isEmpty();
    auto nameOf = [](const QString &expr) { return expr.trimmed().section(u' ', 0, 0).section(u'.', -1); };
    bool understood = true; // every term can be turned round
    for (const QString &written : splitTerms(ownOrder)) {
        OrderTerm term;
        const bool parsed = parseTerm(written, term);
        if (!parsed)
            term = {written};
        bool onSorted = false;
        for (const QString &name : definition.sort)
            onSorted = onSorted || nameOf(term.expression).compare(name, Qt::CaseInsensitive) == 0;
        if (!sorted || !onSorted) {
            m_order << term;
            understood = understood && parsed;
        }
    }

    // The order ends with what tells every row apart. A query of one table: its row id, the order of entry (an
    // index in the order of the terms holds it, so the database need not sort), which each row read brings
    // along, so that the rows next to one held are found from that row itself. Another query: the key
    // columns, which make the order total only where the view says the key is unique.
    const OneTable one = oneTable(m_base);
    m_identified = false;
    m_select.clear();
    m_from.clear();
    m_condition.clear();
    m_id.clear();
    bool total = false;
    if (!one.name.isEmpty()) {
        m_id = one.name + QStringLiteral(".rowid");
        m_order.append({m_id});
        total = understood;
    } else if (sorted || definition.uniqueKey) {
        for (int c = 0; c < m_columns.size(); ++c) {
            if (!m_columns.at(c).key)
                continue;
            bool present = false;
            for (const OrderTerm &t : std::as_const(m_order))
                present = present || nameOf(t.expression).compare(m_columns.at(c).name, Qt::CaseInsensitive) == 0;
            if (!present)
                m_order.append({c < m_selectItems.size() ? m_selectItems.at(c) : m_columns.at(c).name});
        }
        total = understood && definition.uniqueKey;
    }

    // Rows found by identity: besides one table, a select list that binds nothing and whose columns are those
    // of the definition ("SELECT *" only where nothing is sorted by a column of it).
    const QString items = one.from >= 0 ? m_base.left(one.from) : QString();
    const bool star = m_selectItems.contains(QStringLiteral("*"));
    m_identified = total && !one.name.isEmpty() && !items.contains(u'?')
                   && (star ? m_selectItems.size() == 1 && !sorted : m_selectItems.size() == m_columns.size());
    if (m_identified) {
        m_select = items.trimmed() + QStringLiteral(", ") + m_id;
        m_from = m_base.mid(one.from, one.where >= 0 ? one.where - one.from : -1).trimmed();
        m_condition = one.where >= 0 ? m_base.mid(one.where + 5).trimmed() : QString();
    }
    m_sql = ordered(false);
    m_reverse = total ? ordered(true) : QString();
}

QString Statement::ordered(bool reverse) const
{
    const QString query = m_identified ? within(m_select + u' ' + m_from, {}) : m_base;
    if (m_order.isEmpty())
        return query;
    QStringList terms;
    for (const OrderTerm &t : m_order)
        terms << t.text(reverse);
    return query + QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
}

QString Statement::within(const QString &head, const QString &condition) const
{
    if (condition.isEmpty())
        return m_condition.isEmpty() ? head : QStringLiteral("%1 WHERE %2").arg(head, m_condition);
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

QString Statement::nulls() const
{
    QStringList parts;
    for (qsizetype i = 0; i + 1 < m_order.size(); ++i)
        parts << QStringLiteral("(%1) IS NULL").arg(m_order.at(i).expression);
    return parts.isEmpty() ? QString() : QStringLiteral(", ") + parts.join(QStringLiteral(", "));
}

QString Statement::locate(const QVariantList &key, QVariantList &args) const
{
    if (m_selectItems.size() != m_columns.size())
        return {}; // the key columns have no names to be found by
    const QString head = QStringLiteral("SELECT %1%2 %3").arg(m_id, nulls(), m_from);
    return within(head, keyCondition(m_columns, m_selectItems, key, args))
           + QStringLiteral(" ORDER BY ") + m_id + QStringLiteral(" LIMIT 1");
}

QString Statement::edgeOf(const QVariant &id, QVariantList &args) const
{
    // The row held is in the result: its identity alone finds it.
    args << id;
    return QStringLiteral("SELECT 0%1 %2 WHERE %3 = ?").arg(nulls(), m_from, m_id);
}

QString Statement::edgeValue(qsizetype i, const Edge &edge, QVariantList &args) const
{
    args << edge.id;
    if (i + 1 == m_order.size())
        return QStringLiteral("?");
    // The same expression over the same row, under the same name, so the value never leaves the database.
    return QStringLiteral("(SELECT %1 %2 WHERE %3 = ?)").arg(m_order.at(i).expression, m_from, m_id);
}

QString Statement::beyond(const Edge &edge, bool before, QVariantList &args, bool after) const
{
    // Before: every term equal up to one that comes earlier; from: the same with later, or every term equal.
    // Built from the identity outwards. No value comes first in an ascending term, last in a descending one.
    const qsizetype last = m_order.size() - 1;
    QVariantList inner;
    QString condition = m_id + (before ? QStringLiteral(" < ") : after ? QStringLiteral(" > ") : QStringLiteral(" >= "))
                        + edgeValue(last, edge, inner);
    for (qsizetype i = last - 1; i >= 0; --i) {
        const OrderTerm &term = m_order.at(i);
        const QString t = term.compared();
        const bool none = edge.nulls.value(i);
        QVariantList own;
        // Whether rows on this side of the edge row hold greater values of the term.
        const bool greater = before == term.descending;
        QString apart;
        if (none)
            apart = greater ? QStringLiteral("%1 IS NOT NULL").arg(t) : QStringLiteral("0");
        else
            apart = greater ? QStringLiteral("%1 > %2").arg(t, edgeValue(i, edge, own))
                            : QStringLiteral("(%1 IS NULL OR %1 < %2)").arg(t, edgeValue(i, edge, own));
        const QString equal = none ? t + QStringLiteral(" IS NULL") : t + QStringLiteral(" = ") + edgeValue(i, edge, own);
        condition = QStringLiteral("(%1 OR (%2 AND %3))").arg(apart, equal, condition);
        inner = own + inner;
    }
    // From a row on, the first term also bounds the index range.
    if (!before && last > 0 && !edge.nulls.value(0) && !m_order.first().descending) {
        QVariantList own;
        condition = QStringLiteral("%1 >= %2 AND %3").arg(m_order.first().compared(), edgeValue(0, edge, own), condition);
        inner = own + inner;
    }
    args << inner;
    return condition;
}

QString Statement::countBefore(const Edge &edge, QVariantList &args) const
{
    return within(QStringLiteral("SELECT count(*) ") + m_from, beyond(edge, true, args));
}

QString Statement::rowsFrom(const Edge &edge, bool before, QVariantList &args, bool after) const
{
    QStringList order;
    for (const OrderTerm &t : m_order)
        order << t.text(before);
    return within(m_select + u' ' + m_from, beyond(edge, before, args, after)) + QStringLiteral(" ORDER BY ")
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
