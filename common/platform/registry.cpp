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
    // One settings object and one sync: the store file is read and rewritten once, whatever the number of entries.
    QSettings store(path, QSettings::IniFormat);
    if (!store.isWritable())
        return -1;
    for (const Entry &e : entries)
        store.setValue(settingsKey(e.key, e.valueName),
                       e.type == ValueType::DWord ? QVariant(e.value.toUInt()) : QVariant(e.value.toString()));
    store.sync();
    return store.status() == QSettings::NoError ? 1 : -1;
}

QVariant value(const QString &key, const QString &valueName)
{
    QSettings store(storePath(), QSettings::IniFormat);
    return store.value(settingsKey(key, valueName));
}
} // namespace registry
