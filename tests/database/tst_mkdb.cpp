// The database build tool's command line: help is help, and no option is taken for a file name.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_mkdb : public QObject {
    Q_OBJECT
private slots:
    void optionsAreNeverFiles_data();
    void optionsAreNeverFiles();
    void buildsTheFileNamed();
};

void tst_mkdb::optionsAreNeverFiles_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("--help") << "--help" << 0;
    QTest::newRow("-h") << "-h" << 0;
    QTest::newRow("an unknown option") << "--force" << 2;
    QTest::newRow("a path that begins with -") << "-nardelo.db" << 2;
}

void tst_mkdb::optionsAreNeverFiles()
{
    QFETCH(QString, argument);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QProcess mkdb;
    mkdb.setWorkingDirectory(dir.path());
    mkdb.start(MKDB, {argument});
    QVERIFY(mkdb.waitForFinished(30000));
    QCOMPARE(mkdb.exitCode(), exitCode);
    const QByteArray said = exitCode == 0 ? mkdb.readAllStandardOutput() : mkdb.readAllStandardError();
    QVERIFY2(said.startsWith("usage: mkdb PATH"), said.constData());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
}

void tst_mkdb::buildsTheFileNamed()
{
    QTemporaryDir dir;
    QProcess mkdb;
    mkdb.setWorkingDirectory(dir.path());
    mkdb.start(MKDB, {"DATABASE/nardelo.db"});
    QVERIFY(mkdb.waitForFinished(30000));
    QCOMPARE(mkdb.exitCode(), 0);
    QVERIFY(QFileInfo(dir.filePath("DATABASE/nardelo.db")).size() > 0);
}

QTEST_MAIN(tst_mkdb)
#include "tst_mkdb.moc"
