#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace registry {
namespace {
QString &overridePath()
{
    static QString p;
    return p;
}

// QSettings groups use '/', and both roots share one tree.
QString settingsKey(const QString &key, const QString &valueName)
{
    QString k = key;
    k.replace(u'\\', u'/');
    QString name = valueName;
    name.replace(u'\\', u'/');
    return k + u'/' + name;
}
} // namespace

QString storePath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/registry.ini");
}

void setStorePath(const QString &path) { overridePath() = path; }

int setValue(const QString &key, const QString &valueName, ValueType type, const QVariant &value)
{
    return setValues({{key, valueName, type, value}});
}

int setValues(const QList<Entry> &entries)
{
    const QString path = storePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // One settings object and one sync: the store file is read and rewritten at most once, whatever the number of
    // entries.
    QSettings store(path, QSettings::IniFormat);
    if (!store.isWritable())
        return -1;
    // An entry that already holds its value is left alone, so a start that changes nothing rewrites nothing
    // (the store keeps values as text: 2 and "2" are the same entry).
    for (const Entry &e : entries) {
        const QString name = settingsKey(e.key, e.valueName);
        const QVariant value = e.type == ValueType::DWord ? QVariant(e.value.toUInt()) : QVariant(e.value.toString());
        const QVariant stored = store.value(name);
        if (!stored.isValid() || stored.toString() != value.toString())
            store.setValue(name, value);
    }
    store.sync();
    return store.status() == QSettings::NoError ? 1 : -1;
}

QVariant value(const QString &key, const QString &valueName)
{
    QSettings store(storePath(), QSettings::IniFormat);
    return store.value(settingsKey(key, valueName));
}
} // namespace registry
