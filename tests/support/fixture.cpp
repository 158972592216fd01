#include "fixture.h"

#include "globals.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/window.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

static void initPictures()
{
    // The pictures live in the program's library; naming them also keeps the library linked into tests
    // that use none of its other symbols.
    Q_INIT_RESOURCE(pictures);
}

Fixture::Fixture(bool withDatabase)
{
    initPictures();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    g::resetAll();
    registry::setStorePath(m_dir.filePath(QStringLiteral("registry.ini")));
    services::setInstanceLockPath(m_dir.filePath(QStringLiteral("instance.lock")));
    services::setClock([] { return fixedNow(); });
    services::installFontSubstitutes();
    services::installGridCellStyle();
    services::installBusyCursor();
    services::installTranslations();
    msg::setResponder([this](const msg::Call &call) {
        boxes << call;
        return answers.isEmpty() ? call.defaultButton : answers.takeFirst();
    });
    services::setHaltHandler([this](bool closeWindows) { halts << closeWindows; });
    services::setExternalRecorder([](const services::ExternalCall &) { return qint64(4242); });
    if (withDatabase) {
        const QString error = db::createDatabase(databasePath());
        if (!error.isEmpty())
            qFatal("cannot build the test database: %s", qPrintable(error));
    }
}

Fixture::~Fixture()
{
    // Popups of combo boxes are top-level too but owned by their box: delete only what is still alive.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!w->parentWidget())
            windows << w;
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
    g::resetAll();
    services::releaseInstanceLock();
    msg::setResponder({});
    services::setHaltHandler({});
    services::setExternalRecorder({});
    services::setBeepRecorder({});
    services::setClock({});
    if (QSqlDatabase::contains(QStringLiteral("fixture-direct"))) {
        QSqlDatabase::database(QStringLiteral("fixture-direct"), false).close();
        QSqlDatabase::removeDatabase(QStringLiteral("fixture-direct"));
    }
    QDir::setCurrent(m_oldCwd);
}

QString Fixture::databasePath() const { return m_dir.filePath(QStringLiteral("DATABASE/nardelo.db")); }

bool Fixture::connect()
{
    registry::setValue(QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\tolvane"),
                       QStringLiteral("DatabaseFile"), registry::ValueType::String, databasePath());
    g::sqlca.AutoCommit = false;
    g::sqlca.DBParm = QStringLiteral("ConnectString='DSN=tolvane;UID=dba;PWD=h40392KT'");
    g::sqlca.connect();
    return g::sqlca.SQLCode == 0;
}

namespace {
QSqlDatabase direct(const QString &path)
{
    const QString name = QStringLiteral("fixture-direct");
    QSqlDatabase d = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                  : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (d.databaseName() != path) {
        d.close();
        d.setDatabaseName(path);
    }
    if (!d.isOpen() && d.open())
        db::registerGbkCollation(d); // the books' and registers' indexes are in GBK order
    return d;
}
} // namespace

void Fixture::exec(const QString &sql, const QVariantList &args)
{
    QSqlQuery q(direct(databasePath()));
    q.prepare(sql);
    for (const QVariant &a : args)
        q.addBindValue(a);
    if (!q.exec())
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

QVariant Fixture::scalar(const QString &sql, const QVariantList &args)
{
    QSqlQuery q(direct(databasePath()));
    q.prepare(sql);
    for (const QVariant &a : args)
        q.addBindValue(a);
    if (!q.exec() || !q.next())
        return {};
    return q.value(0);
}

void closeOpenWindows()
{
    for (ui::Window *w : ui::openWindows())
        delete w;
}

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QInputMethodEvent e;
            e.setCommitString(QString(c));
            QApplication::sendEvent(widget, &e);
        }
    }
}

ui::Window *openActive(const QString &name, ui::Window *opener)
{
    ui::Window *w = ui::openWindow(name, opener);
    if (w) {
        QApplication::setActiveWindow(w);
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(w);
    }
    return w;
}
