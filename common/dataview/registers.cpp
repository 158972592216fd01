#include "dataview/registers.h"

#include "platform/transaction.h"

namespace dw {

namespace {
bool isRegister(const QString &table)
{
    return table.compare(u"xjzp", Qt::CaseInsensitive) == 0 || table.compare(u"jzd", Qt::CaseInsensitive) == 0;
}

Column described(const QString &table, const QString &name)
{
    const QString n = name.toLower();
    if (n == u"line")
        return {name, Type::Long, 0, true};
    if (n == u"rq")
        return {name, Type::Date};
    if (n == u"an")
        return {name, Type::Number};
    const bool identifier = n == u"zphm" || n == u"shcode" || n == u"fkzh";
    return {name, Type::Text, db::columnWidth(table, name), false, false, identifier};
}
} // namespace

bool isRegisterColumn(const QString &table, const QString &name)
{
    if (!isRegister(table))
        return false;
    const Column c = described(table, name);
    return c.type != Type::Text || c.limit > 0;
}

Column registerColumn(const QString &table, const QString &name)
{
    return isRegisterColumn(table, name) ? described(table, name) : Column{name};
}

QList<Column> registerColumns(const QString &table, const QStringList &names, bool updatable)
{
    QList<Column> columns;
    for (const QString &name : names) {
        Column c = registerColumn(table, name);
        c.updatable = updatable && !c.key;
        columns << c;
    }
    return columns;
}

void selectRegisterColumns(Definition &definition, const QString &table, const QStringList &names, bool updatable,
                           const QString &rest)
{
    definition.sql = QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), table);
    if (!rest.isEmpty())
        definition.sql += QLatin1Char(' ') + rest;
    definition.columns = registerColumns(table, names, updatable);
}
} // namespace dw
