#pragma once
// What the pieces of the transaction share: the connection (transaction.cpp), its pool of read connections
// (readpool.cpp), its recovery after faults (recovery.cpp) and its fault texts (faulttexts.cpp).
#include <QString>
#include <QStringList>

struct sqlite3;

namespace db::internal {
// Whether the file at the path is no longer the one the connection has open (renamed, replaced or deleted).
bool hasMoved(sqlite3 *handle);
// Faults after which the open connection may still fail when their cause is gone: pages of a damaged file kept
// in its cache, a file opened read-only as a fallback.
bool keptByTheConnection(int dbCode);
// SQLite's URI of a database file, opened in `mode` (rw: never created; ro: read only).
QString fileUri(const QString &file, const char *mode);
// Whether the file's header says it is in the write-ahead log (bytes 18 and 19 are 2).
bool headerInLog(const QString &file);
// Whether the program may write the path (its effective user: access() asks for the real one).
bool writable(const QString &path);
// A file in the log in a read-only folder without its -shm, which SQLite cannot make there: it is opened
// immutable, read as the file alone holds it.
bool opensImmutable(const QString &file);
// Whether a connection made afresh would refuse writing the same way: the file read-only, or its folder, where
// the journal or the log's files cannot be made.
bool readOnlyAgain(const QString &file);
// Gives the log's files beside the database write permission for their owner (see recovery.cpp).
void shareLogFiles(const QString &file, bool inLog);
// The -wal and -shm beside the file that the program may not write (another account's), where the file and its
// folder may be written; empty otherwise.
QStringList logFilesRefusingWrites(const QString &file);
// The text of a file missing at its path.
QString noFile(const QString &file);
} // namespace db::internal
