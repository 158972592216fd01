#pragma once
#include "platform/export.h"
#include <QList>
#include <QString>
#include <QVariant>

// The registry store: one per-user INI file. Both roots (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER) map into it.
namespace registry {
enum class ValueType { String, DWord };

// Creates the key when missing. Returns 1 on success, -1 when the store cannot be written.
COMMON_EXPORT int setValue(const QString &key, const QString &valueName, ValueType type, const QVariant &value);

struct Entry {
    QString key;
    QString valueName;
    ValueType type;
    QVariant value;
};
// Several entries in one write of the store: 1 when all were written, -1 when the store cannot be written.
COMMON_EXPORT int setValues(const QList<Entry> &entries);
// Reads a value back; an invalid QVariant when absent.
COMMON_EXPORT QVariant value(const QString &key, const QString &valueName);

// Where the store lives; by default in the user's configuration folder. Tests point it into a temp folder.
COMMON_EXPORT QString storePath();
COMMON_EXPORT void setStorePath(const QString &path);
} // namespace registry
