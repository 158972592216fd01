// Small platform services: GBK widths, the registry store, units, colours, pictures by name, the instance lock.
#include "fixture.h"

#include "platform/gbk.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QtTest>
#include <unistd.h>

class tst_services : public QObject {
    Q_OBJECT
private slots:
    void gbkLength_data();
    void gbkLength();
    void registryWritesAndFails();
    void unitsRoundTrip();
    void colourValues_data();
    void colourValues();
    void pictureNames();
    void picturesAsDrawn();
    void instanceLock();
    void instanceLockFolder_data();
    void instanceLockFolder();
};

void tst_services::gbkLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("cut");
    QTest::addColumn<QString>("left");
    QTest::newRow("ascii") << "abc" << 3 << 2 << "ab";
    QTest::newRow("cjk") << "张三丰" << 6 << 4 << "张三";
    QTest::newRow("no half character") << "a张三" << 5 << 2 << "a";
    QTest::newRow("full-width blank is two") << "\u3000" << 2 << 2 << "\u3000";
    QTest::newRow("empty") << "" << 0 << 3 << "";
}

void tst_services::gbkLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(int, cut);
    QFETCH(QString, left);
    QCOMPARE(gbk::byteLength(text), bytes);
    QCOMPARE(gbk::leftBytes(text, cut), left);
    QCOMPARE(gbk::trimBlanks("  " + text + " "), text); // a full-width blank is text, not a blank
}

void tst_services::registryWritesAndFails()
{
    Fixture f(false);
    QCOMPARE(registry::setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\X", "UsageCount",
                                registry::ValueType::DWord, 2),
             1);
    QCOMPARE(registry::value("HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\X", "UsageCount").toInt(), 2);
    QCOMPARE(registry::setValue("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\tolvane", "DatabaseFile",
                                registry::ValueType::String, "/a/b c/nardelo.db"),
             1);
    QCOMPARE(registry::value("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\tolvane", "DatabaseFile").toString(),
             QString("/a/b c/nardelo.db"));

    // Entries that hold their values already leave the store file as it is; a changed one is written.
    const QList<registry::Entry> entries = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\X", "UsageCount", registry::ValueType::DWord, 2},
        {"HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\tolvane", "DatabaseFile", registry::ValueType::String,
         "/a/b c/nardelo.db"},
    };
    QFile store(registry::storePath());
    QVERIFY(store.open(QIODevice::Append));
    store.write("; not rewritten\n");
    store.close();
    QCOMPARE(registry::setValues(entries), 1);
    QVERIFY(store.open(QIODevice::ReadOnly));
    QVERIFY(store.readAll().contains("; not rewritten"));
    store.close();
    QList<registry::Entry> changed = entries;
    changed[1].value = QString("/d/nardelo.db");
    QCOMPARE(registry::setValues(changed), 1);
    QCOMPARE(registry::value(changed[1].key, changed[1].valueName).toString(), QString("/d/nardelo.db"));
    QCOMPARE(registry::value(entries[0].key, entries[0].valueName).toInt(), 2);

    // A store that cannot be written: its path is a folder.
    const QString blocked = f.dir() + "/blocked.ini";
    QDir().mkpath(blocked);
    registry::setStorePath(blocked);
    QCOMPARE(registry::setValue("HKEY_CURRENT_USER\\Software\\X", "Y", registry::ValueType::String, "z"), -1);
}

void tst_services::unitsRoundTrip()
{
    QCOMPARE(units::toPixelsX(3579), 795);
    QCOMPARE(units::toPixelsY(1744), 436);
    const QRect r = units::toPixels(2505, 632, 96, 92);
    const QRect next = units::toPixels(2597, 632, 96, 92);
    QVERIFY(r.right() < next.left() + 1); // neighbouring digit boxes do not overlap
    QCOMPARE(units::toUnitsX(units::toPixelsX(900)), 900);
}

void tst_services::colourValues_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("blue") << qint64(16711680) << QColor(0, 0, 255);
    QTest::newRow("light blue") << qint64(15780518) << QColor(0xA6, 0xCA, 0xF0);
    QTest::newRow("teal") << qint64(8421376) << QColor(0, 128, 128);
    // System colours: the window background is the ground of text and data, not the button face.
    QTest::newRow("button face") << qint64(67108864) << QApplication::palette().color(QPalette::Button);
    QTest::newRow("window background") << qint64(1073741824) << QApplication::palette().color(QPalette::Base);
    QTest::newRow("window text") << qint64(33554432) << QApplication::palette().color(QPalette::WindowText);
}

void tst_services::colourValues()
{
    QFETCH(qint64, value);
    QFETCH(QColor, colour);
    QCOMPARE(services::color(value), colour);
}

void tst_services::pictureNames()
{
    QCOMPARE(services::pictureResource("001\\k01.bmp"), QString(":/001/k01.svg"));
    QCOMPARE(services::pictureResource("001\\login.gif"), QString(":/001/login.svg"));
    QVERIFY(services::picture("001\\no-such-picture.bmp").isNull());
}

// Every picture shown at its drawn size comes from the build's raster: it must be the drawing, pixel for pixel.
// Another size is drawn for it; asking again gives the same pixmap.
void tst_services::picturesAsDrawn()
{
    int rasters = 0;
    for (QDirIterator it(":/raster", QDirIterator::Subdirectories); it.hasNext();) {
        const QString raster = it.next();
        if (!raster.endsWith(".argb"))
            continue;
        ++rasters;
        const QString name = raster.mid(QString(":/raster/").size()).replace(u'/', u'\\');
        const QImage drawn = services::drawPicture(services::pictureResource(name));
        QVERIFY2(!drawn.isNull(), qPrintable(name));
        QCOMPARE(services::picture(name).toImage(), drawn);
        const QSize other = drawn.size() / 2 + QSize(1, 1);
        QCOMPARE(services::picture(name, other).toImage(),
                 services::drawPicture(services::pictureResource(name), other));
        QCOMPARE(services::picture(name).cacheKey(), services::picture(name).cacheKey());
    }
    QVERIFY(rasters > 0);
    QVERIFY(services::picture("001\\no-such-picture.bmp", QSize(10, 10)).isNull());
}

void tst_services::instanceLock()
{
    Fixture f(false);
    QVERIFY(!services::anotherInstanceRunning());
    QVERIFY(services::acquireInstanceLock());
    QVERIFY(!services::anotherInstanceRunning()); // our own lock is not another instance
    services::releaseInstanceLock();
    // Another holder of the per-user lock (as a running instance would be) is seen.
    QLockFile other(f.dir() + "/instance.lock");
    QVERIFY(other.tryLock(0));
    QVERIFY(services::anotherInstanceRunning());
    QVERIFY(!services::acquireInstanceLock());
    other.unlock();
    QVERIFY(!services::anotherInstanceRunning());
}

void tst_services::instanceLockFolder_data()
{
    QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR: "set", "missing" (a folder that is not there), "unset"
    QTest::addColumn<bool>("inRuntime");
    QTest::newRow("runtime folder") << "set" << true;
    QTest::newRow("runtime folder missing") << "missing" << false;
    QTest::newRow("no runtime folder") << "unset" << false;
}

void tst_services::instanceLockFolder()
{
    // The per-user lock lives in the user's runtime folder, else in the temp folder; this test's own folders.
    QFETCH(QString, runtime);
    QFETCH(bool, inRuntime);
    Fixture f(false);
    const QString runtimeDir = f.dir() + "/run", tempDir = f.dir() + "/tmp";
    QDir().mkpath(runtimeDir);
    QDir().mkpath(tempDir);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTemp = qgetenv("TMPDIR");
    if (runtime == "unset")
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime == "set" ? runtimeDir : f.dir() + "/gone"));
    qputenv("TMPDIR", QFile::encodeName(tempDir));
    services::setInstanceLockPath({});

    const QString expected =
        QDir(inRuntime ? runtimeDir : tempDir).filePath(QStringLiteral("quillanx-%1.lock").arg(::getuid()));
    QCOMPARE(services::instanceLockPath(), expected);
    QVERIFY(services::acquireInstanceLock());
    QVERIFY(QFile::exists(expected));
    services::releaseInstanceLock();

    for (const auto &[name, value] : {std::pair{"XDG_RUNTIME_DIR", oldRuntime}, {"TMPDIR", oldTemp}})
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    services::setInstanceLockPath(f.dir() + "/instance.lock");
}

QTEST_MAIN(tst_services)
#include "tst_services.moc"
