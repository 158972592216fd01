#include "dataview/statement.h"

#include "dataview/rows.h"
#include "platform/transaction.h"

#include <QSqlDatabase>
#include <algorithm>
#include <sqlite3.h>

namespace dw {

namespace {
// The mark that ends a literal or quoted name opened by `c` ('text', "name", `name`, [name]); none when `c`
// opens none.
QChar closingQuote(QChar c)
{
    if (c == u'[')
        return u']';
    return c == u'\'' || c == u'"' || c == u'`' ? c : QChar();
}

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
        if (const QChar closing = closingQuote(c); !closing.isNull()) {
            quote = closing;
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

// The statement with each comment outside literals and quoted names made one blank: a comment means nothing,
// and one left in would hide what the statements made from it add after it.
QString withoutComments(const QString &sql)
{
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (const QChar closing = closingQuote(c); !closing.isNull()) {
            quote = closing;
        } else if (c == u'-' && sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? sql.size() : end;
            out += u' ';
            if (end >= 0)
                out += u'\n';
            continue;
        } else if (c == u'/' && sql.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 1;
            out += u' ';
            continue;
        }
        out += c;
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
// cannot be turned round by (NULLS FIRST or LAST), and for what cannot be compared as written: a result
// column by its number (as an expression it is a constant) or a name in [brackets] or `backticks`.
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
    bool number = false;
    text.toLongLong(&number);
    return !number && !text.contains(u'[') && !text.contains(u'`');
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
    QString table; // the table's own name
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
    OneTable one{t.at(i).text, t.at(from).at, -1, t.at(i).text};
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
    m_firstNeverNull = false;
    const QString bound = bindArguments(definition, withoutComments(definition.sql));
    const QString ownOrder = splitOrder(bound);
    bool sorted = false;
    const bool understood = orderTerms(definition, ownOrder, sorted);
    identify(definition, sorted, understood);
}

QString Statement::bindArguments(const Definition &definition, const QString &sql)
{
    // Each :name outside quoted literals becomes ? and binds its argument, so an argument may appear more than
    // once.
    QString bound;
    m_argOrder.clear();
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
    return bound;
}

QString Statement::splitOrder(const QString &bound)
{
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
    return ownOrder;
}

namespace {
QString nameOf(const QString &expr) { return expr.trimmed().section(u' ', 0, 0).section(u'.', -1); }
} // namespace

bool Statement::orderTerms(const Definition &definition, const QString &ownOrder, bool &sorted)
{
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
    sorted = !m_order.isEmpty();
    bool understood = true; // every term can be compared and turned round
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
    return understood;
}

void Statement::identify(const Definition &definition, bool sorted, bool understood)
{
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
    m_table = one.table;
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

void Statement::learn(const QSqlDatabase &connection)
{
    // A first term that is a column declared NOT NULL, or the row id under another name, never has rows
    // without a value to look for: asking for them would walk the table, which has no index on that.
    m_firstNeverNull = false;
    sqlite3 *handle = db::sqliteHandle(connection);
    if (!m_identified || !handle || m_order.size() < 2 || !m_order.first().collation.isEmpty())
        return;
    QString column = m_order.first().expression.trimmed();
    const QString alias = m_id.left(m_id.size() - 6); // "<name>.rowid"
    if (column.startsWith(alias + u'.', Qt::CaseInsensitive))
        column = column.mid(alias.size() + 1);
    if (column.isEmpty() || !std::all_of(column.cbegin(), column.cend(),
                                         [](QChar c) { return c.isLetterOrNumber() || c == u'_'; }))
        return;
    const char *type = nullptr;
    int notNull = 0, primaryKey = 0;
    if (sqlite3_table_column_metadata(handle, nullptr, m_table.toUtf8().constData(), column.toUtf8().constData(),
                                      &type, nullptr, &notNull, &primaryKey, nullptr)
        != SQLITE_OK)
        return;
    if (notNull) {
        m_firstNeverNull = true;
        return;
    }
    // The row id under another name: the one column of the key, declared INTEGER.
    sqlite3_stmt *keys = nullptr;
    if (primaryKey && type && qstricmp(type, "INTEGER") == 0
        && sqlite3_prepare_v2(handle, "SELECT count(*) FROM pragma_table_info(?) WHERE pk > 0", -1, &keys, nullptr)
               == SQLITE_OK) {
        const QByteArray table = m_table.toUtf8();
        sqlite3_bind_text(keys, 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
        m_firstNeverNull = sqlite3_step(keys) == SQLITE_ROW && sqlite3_column_int(keys, 0) == 1;
    }
    sqlite3_finalize(keys);
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

QList<Statement::Range> Statement::beyond(const Edge &edge, bool before, bool after) const
{
    // Before: every term equal up to one that comes earlier; from: the same with later, or every term equal.
    // Built from the identity outwards. No value comes first in an ascending term, last in a descending one.
    const qsizetype last = m_order.size() - 1;
    QVariantList inner;
    QString condition = m_id + (before ? QStringLiteral(" < ") : after ? QStringLiteral(" > ") : QStringLiteral(" >= "))
                        + edgeValue(last, edge, inner);
    if (last == 0)
        return {{condition, inner}};
    for (qsizetype i = last - 1; i >= 1; --i) {
        const OrderTerm &term = m_order.at(i);
        const QString t = term.compared();
        const bool none = edge.nulls.value(i);
        QVariantList own;
        // Whether rows on this side of the edge row hold greater values of the term.
        const bool greater = before == term.descending;
        QString apart;
        if (none)
            apart = greater ? t + QStringLiteral(" IS NOT NULL") : QStringLiteral("0");
        else
            apart = greater ? t + QStringLiteral(" > ") + edgeValue(i, edge, own)
                            : QStringLiteral("(%1 IS NULL OR %1 < ").arg(t) + edgeValue(i, edge, own) + u')';
        const QString equal = none ? t + QStringLiteral(" IS NULL") : t + QStringLiteral(" = ") + edgeValue(i, edge, own);
        condition = u'(' + apart + QStringLiteral(" OR (") + equal + QStringLiteral(" AND ") + condition
                    + QStringLiteral("))");
        inner = own + inner;
    }

    // The first term bounds where the database starts and stops on the order's index: its rows equal to the
    // edge's and beyond it in one range, and the rows with no value, which lie at the low end, in one of
    // their own where they are on this side.
    const OrderTerm &first = m_order.first();
    const QString t = first.compared();
    const bool greater = before == first.descending;
    if (edge.nulls.value(0)) {
        QList<Range> ranges{{t + QStringLiteral(" IS NULL AND ") + condition, inner}};
        // Every value: from the least on, which the database finds past the rows with none.
        if (greater)
            ranges.append({QStringLiteral("%1 >= (SELECT min(%1) %2)").arg(t, m_from), {}});
        return ranges;
    }
    QVariantList own;
    const QString bound = t + (greater ? QStringLiteral(" >= ") : QStringLiteral(" <= ")) + edgeValue(0, edge, own);
    const QString apart = t + (greater ? QStringLiteral(" > ") : QStringLiteral(" < ")) + edgeValue(0, edge, own);
    const QString equal = t + QStringLiteral(" = ") + edgeValue(0, edge, own);
    QList<Range> ranges{{bound + QStringLiteral(" AND (") + apart + QStringLiteral(" OR (") + equal
                             + QStringLiteral(" AND ") + condition + QStringLiteral("))"),
                         own + inner}};
    if (!greater && !m_firstNeverNull)
        ranges.append({t + QStringLiteral(" IS NULL"), {}});
    return ranges;
}

QString Statement::countBefore(const Edge &edge, QVariantList &args) const
{
    // One count per range, added: each range read on its own index.
    const QVariantList own = args;
    args.clear();
    QStringList counts;
    for (const Range &range : beyond(edge, true, false)) {
        counts << within(QStringLiteral("SELECT count(*) ") + m_from, range.condition);
        args << own << range.args;
    }
    if (counts.size() == 1)
        return counts.first();
    return QStringLiteral("SELECT (") + counts.join(QStringLiteral(") + (")) + u')';
}

QString Statement::rowsFrom(const Edge &edge, bool before, QVariantList &args, bool after) const
{
    const QList<Range> ranges = beyond(edge, before, after);
    const QVariantList own = args;
    args.clear();
    QStringList order;
    if (ranges.size() == 1) {
        for (const OrderTerm &t : m_order)
            order << t.text(before);
        args << own << ranges.first().args;
        return within(m_select + u' ' + m_from, ranges.first().condition) + QStringLiteral(" ORDER BY ")
               + order.join(QStringLiteral(", "));
    }
    // The ranges read side by side, each in the order from its own index, and merged: the order's terms ride
    // along as result columns after the identity, which the rows read leave out.
    QStringList terms;
    for (qsizetype i = 0; i < m_order.size(); ++i) {
        const QString name = QStringLiteral("order_%1_").arg(i + 1);
        terms << m_order.at(i).compared() + QStringLiteral(" AS ") + name;
        order << name + (m_order.at(i).descending != before ? QStringLiteral(" DESC") : QString());
    }
    const QString head = m_select + QStringLiteral(", ") + terms.join(QStringLiteral(", ")) + u' ' + m_from;
    QStringList parts;
    for (const Range &range : ranges) {
        parts << within(head, range.condition);
        args << own << range.args;
    }
    return parts.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
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
