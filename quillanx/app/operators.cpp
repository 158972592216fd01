#include "app/operators.h"

#include "globals.h"
#include "platform/gbk.h"

StoredOperator lookUpOperator(const QString &userName)
{
    QString name, password;
    g::sqlca.selectInto(QStringLiteral("SELECT name, passwd FROM pass WHERE name = ?"), {userName}, {name, password});
    return {gbk::trimBlanks(name), gbk::trimBlanks(password)};
}

bool passwordAccepted(const QString &typedPassword, const StoredOperator &stored)
{
    const QString typed = gbk::trimBlanks(typedPassword);
    return !typed.isEmpty() && typed == stored.password;
}
