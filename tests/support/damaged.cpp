#include "damaged.h"

#include "dataview/statement.h"
#include "platform/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace damage {

void fillRegister(const QString &path, int rows)
{
    const QString name = QStringLiteral("damaged-fill");
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        if (!d.open() || !db::registerGbkCollation(d) || !d.transaction())
            qFatal("cannot fill the test database");
        QSqlQuery q(d);
        q.prepare("INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr, fkrm) "
                  "VALUES (?, '现金支票', ?, ?, '中国银行', ?, '货款', ?, '中国工商银行', '9558', 'system', '张三')");
        for (int i = 1; i <= rows; ++i) {
            q.addBindValue(kFrom.addDays(i / 3).toString(Qt::ISODate));
            q.addBindValue(QString::number(10000000 + i));
            q.addBindValue(QStringLiteral("收款单位%1有限公司").arg(i % 7));
            q.addBindValue(QStringLiteral("6222%1").arg(i));
            q.addBindValue(i + 0.5);
            if (!q.exec())
                qFatal("fill: %s", qPrintable(q.lastError().text()));
        }
        if (!d.commit())
            qFatal("fill: commit failed");
    }
    QSqlDatabase::removeDatabase(name);
}

Read readOf(const dw::Definition &definition, const QVariantList &arguments)
{
    dw::Statement statement;
    statement.compile(definition);
    return {statement.sql(), statement.bind(arguments)};
}

int readableRows(const QString &path, const Read &read)
{
    const QString name = QStringLiteral("damaged-probe");
    int rows = 0;
    bool failed = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        if (!d.open() || !db::registerGbkCollation(d))
            qFatal("cannot open the probe");
        QSqlQuery q(d);
        q.setForwardOnly(true);
        failed = !q.prepare(read.sql);
        for (const QVariant &value : read.values)
            q.addBindValue(value);
        failed = failed || !q.exec();
        while (!failed && q.next())
            ++rows;
        failed = failed || q.lastError().isValid();
    }
    QSqlDatabase::removeDatabase(name);
    return failed ? rows : -1;
}

void damagePage(const QString &path, int page)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(qint64(page - 1) * kPageSize)
        || f.write(QByteArray(kPageSize, char(0xa5))) != kPageSize)
        qFatal("cannot damage the file");
}

Damaged damagedCopy(const QString &good, const QString &dir, const QList<Read> &reads, int fromPage, int least,
                    int most)
{
    const int pages = int(QFileInfo(good).size() / kPageSize);
    for (int page = fromPage; page <= pages; ++page) {
        const QString candidate = QDir(dir).filePath(QStringLiteral("damaged-%1.db").arg(page));
        QFile::remove(candidate);
        if (!QFile::copy(good, candidate))
            qFatal("cannot copy the register");
        damagePage(candidate, page);
        QList<int> readable;
        for (const Read &read : reads)
            if (const int rows = readableRows(candidate, read); rows >= least && rows <= most)
                readable << rows;
        if (readable.size() == reads.size())
            return {candidate, readable, page};
        QFile::remove(candidate);
    }
    return {};
}
} // namespace damage
