// The words the operator reads after a statement failed: what happened and what they can do.
#include "platform/transaction.h"

#include <QSqlError>

#include <sqlite3.h>

namespace db {
QString faultAdvice(int dbCode, int lockWaitMs)
{
    if (dbCode <= 0)
        return {};
    if (dbCode == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("数据库文件在程序打开它之后被替换了（被改名、移走或换成了另一个文件），这次的数据没有"
                              "写入。再试一次时程序会打开现在的 nardelo.db；如仍不成功，请退出并重新启动程序。");
    // Extended codes carry the primary one in their low byte.
    const int primary = dbCode & 0xff;
    // The log files another account's program left, not the file and folder, may be what refuses.
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM)
        if (const QStringList logs = Transaction::logFilesRefusingWrites(); !logs.isEmpty())
            return QStringLiteral("数据库文件旁的 %1 属于另一个用户，本程序不能写入，这次的数据没有写入。请让管理员"
                                  "给%2加上本用户的写入权限，然后再试一次。")
                .arg(logs.join(u'、'), logs.size() > 1 ? QStringLiteral("这些文件") : QStringLiteral("这个文件"));
    switch (primary) {
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件是只读的，不能写入。请让管理员给 DATABASE 文件夹和其中的 nardelo.db "
                              "加上写入权限，然后再试一次。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("打不开数据库文件，或不能在它的文件夹里建立临时文件（文件夹可能是只读的，文件可能已被"
                              "移走）。请检查 DATABASE 文件夹和其中的 nardelo.db 是否存在并可以写入，然后再试一次。");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有使用数据库文件的权限。请让管理员检查 DATABASE 文件夹和 nardelo.db 的权限。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正被另一个程序占用，等了 %1 秒仍未放开。请关闭正在使用这个数据库的其他程序"
                              "（或等它做完），然后再试一次。")
            .arg(qMax(1, (lockWaitMs + 999) / 1000));
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，数据写不进去。请在数据库所在的磁盘上腾出空间，然后再试一次。");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错（磁盘故障、空间不足或文件被移走）。请检查磁盘，然后再试一次。");
    case SQLITE_NOTADB:
        return QStringLiteral("这个文件不是本系统的数据库，或已经损坏。请先退出程序，再从备份恢复 DATABASE "
                              "文件夹中的 nardelo.db。");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已经损坏。请先退出程序，再从备份恢复 DATABASE 文件夹中的 nardelo.db。");
    default:
        return {};
    }
}

QString indexFaultNotice(int dbCode)
{
    if ((dbCode & 0xff) != SQLITE_FULL)
        return {};
    return QStringLiteral("磁盘已满，数据库的索引没有建成。程序可以照常使用，只是查询和列表会慢一些。请在数据库"
                          "所在的磁盘上腾出空间，下次启动时程序会再建索引。");
}

int engineCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() ? error.nativeErrorCode().toInt() : -1;
}

QString engineText(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

QString faultMessage(const Transaction &transaction)
{
    return faultMessage(transaction.SQLDBCode, transaction.SQLErrText, transaction.lockWaitMs);
}

QString faultMessage(int dbCode, const QString &engineText, int lockWaitMs)
{
    const QString advice = faultAdvice(dbCode, lockWaitMs);
    if (advice.isEmpty())
        return engineText;
    return advice + QChar(13) + engineText;
}
} // namespace db
