#include "cases.h"

#include "app/quillan.h"
#include "datasets.h"
#include "memory.h"
#include "globals.h"
#include "platform/controls.h"
#include "dataview/dataview.h"
#include "dataview/freeform.h"
#include "dataview/fit.h"
#include "dataview/print.h"
#include "dataview/report.h"
#include "platform/messagebox.h"
#include "platform/printjob.h"
#include "platform/registry.h"
#include "platform/transaction.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QBuffer>
#include <QDataStream>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlDriver>
#include <QTableView>
#include <QTemporaryDir>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <sqlite3.h>

namespace bench {
namespace {
using Clock = std::chrono::steady_clock;


double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QString ms(double value) { return QString::number(value, 'f', 2); }

// Counts the paint events of a widget and everything in it.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(QWidget *target) : m_target(target) { qApp->installEventFilter(this); }
    ~PaintWatcher() override { qApp->removeEventFilter(this); }

    // Runs the event loop until the target has painted, then until nothing more is pending (an activation's
    // re-read, posted calls). False when nothing painted within the time.
    bool waitPainted(int timeoutMs = 600'000)
    {
        const int before = m_paints;
        QElapsedTimer timer;
        timer.start();
        while (m_paints == before && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::processEvents(QEventLoop::AllEvents, timeoutMs);
        return m_paints != before;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (w == m_target || m_target->isAncestorOf(w))
                ++m_paints;
        }
        return false;
    }

private:
    QWidget *m_target;
    int m_paints = 0;
};

// What the benchmark asks of a data view, whatever its presentation: its rows and the statement it reads.
int rowCountOf(QWidget *view)
{
    if (auto *grid = qobject_cast<dw::DataView *>(view))
        return grid->rowCount();
    if (auto *report = qobject_cast<dw::ReportView *>(view))
        return report->rowCount();
    if (auto *form = qobject_cast<dw::FreeFormView *>(view))
        return form->rowCount();
    return -1;
}

// The rows behind a view, whatever its presentation.
const dw::Buffer *bufferOf(QWidget *view)
{
    if (auto *grid = qobject_cast<dw::DataView *>(view))
        return &grid->buffer();
    if (auto *report = qobject_cast<dw::ReportView *>(view))
        return &report->buffer();
    if (auto *form = qobject_cast<dw::FreeFormView *>(view))
        return &form->buffer();
    return nullptr;
}

const dw::Definition *definitionOf(QWidget *view)
{
    const dw::Buffer *rows = bufferOf(view);
    return rows ? &rows->definition() : nullptr;
}

// Where the operator's keys go inside a view: its focused part.
QWidget *keyTarget(QWidget *view)
{
    view->setFocus(Qt::OtherFocusReason);
    QWidget *focused = QApplication::focusWidget();
    if (focused && (focused == view || view->isAncestorOf(focused)))
        return focused;
    return view->focusProxy() ? view->focusProxy() : view;
}

void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &up);
}

// The rows a view has read so far.
int rowCountOfRead(QWidget *view)
{
    const dw::Buffer *rows = bufferOf(view);
    return rows ? rows->fetchedCount() : -1;
}

// ---- Bare SQLite: the same statement on the same connection, without the data view engine.

sqlite3 *connectionHandle() { return g::sqlca.sqliteHandle(); }

struct Statement {
    QString sql;
    QList<dw::Argument> arguments;
    QVariantList values;
};

// Steps the statement, handing each row to `row` until it returns false. Returns the rows read, -1 on error.
int forEachRow(const Statement &s, const std::function<bool(sqlite3_stmt *)> &row, QString &error)
{
    sqlite3 *db = connectionHandle();
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = s.sql.toUtf8();
    if (!db || sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        error = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no SQLite connection");
        sqlite3_finalize(stmt);
        return -1;
    }
    for (int i = 0; i < s.values.size(); ++i) {
        int index = i < s.arguments.size()
                        ? sqlite3_bind_parameter_index(stmt, (u':' + s.arguments.at(i).name).toUtf8().constData())
                        : 0;
        if (index == 0)
            index = i + 1;
        const QVariant &v = s.values.at(i);
        const QByteArray text = v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate).toUtf8()
                                                              : v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++rows;
        if (!row(stmt))
            break;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
        rows = -1;
    }
    sqlite3_finalize(stmt);
    return rows;
}

qint64 countRows(const QString &table)
{
    qint64 n = -1;
    QString error;
    forEachRow({QStringLiteral("SELECT count(*) FROM ") + table, {}, {}},
               [&n](sqlite3_stmt *stmt) { n = sqlite3_column_int64(stmt, 0); return false; }, error);
    return n;
}

// Another program's write: a connection of its own that inserts one row and commits, failing at once on a
// lock rather than waiting. The milliseconds it took, or its error.
QString anotherProgramWrites()
{
    sqlite3 *db = nullptr;
    const QByteArray path = QDir::current().filePath(QStringLiteral("DATABASE/nardelo.db")).toUtf8();
    QString result;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
        && db::registerGbkCollation(db)) {
        const auto start = Clock::now();
        char *error = nullptr;
        if (sqlite3_exec(db, "INSERT INTO xjzp (rq, bz, zphm, xkr, an) VALUES ('2026-03-05', '现金支票', 'OTHER', "
                             "'另一个程序', 1)",
                         nullptr, nullptr, &error)
            == SQLITE_OK)
            result = ms(msSince(start));
        else
            result = QString::fromUtf8(error ? error : "error");
        sqlite3_free(error);
    } else {
        result = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    return result;
}

struct Bare {
    double firstMs = -1, allMs = -1;
    int rows = -1;
    QString error;
};

// The first screenful and all rows, every value of every row read as SQLite holds it; after one read that
// warms the caches, as the window's own read did.
Bare bareRead(const Statement &s)
{
    Bare bare;
    qint64 checksum = 0;
    int limit = 0;
    const auto touch = [&](sqlite3_stmt *stmt) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                checksum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                checksum += qint64(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT:
                checksum += qint64(sqlite3_column_text(stmt, c)[0]) + sqlite3_column_bytes(stmt, c);
                break;
            default:
                break;
            }
        }
        return --limit != 0;
    };
    limit = -1;
    bare.rows = forEachRow(s, touch, bare.error);
    if (bare.rows < 0)
        return bare;
    limit = kScreenRows;
    auto start = Clock::now();
    forEachRow(s, touch, bare.error);
    bare.firstMs = msSince(start);
    limit = -1;
    start = Clock::now();
    forEachRow(s, touch, bare.error);
    bare.allMs = msSince(start);
    if (checksum == 42)
        std::fputs("", stderr); // keeps the reads from being optimised away
    return bare;
}

// ---- The process's world: the benchmark's own settings store and lock, boxes answered and noted.

QStringList &notes()
{
    static QStringList n;
    return n;
}

void setUpWorld(const QString &folder, const QString &cache)
{
    QDir::setCurrent(folder);
    registry::setStorePath(QDir(cache).filePath(QStringLiteral("registry.ini")));
    services::setInstanceLockPath(QDir(cache).filePath(QStringLiteral("instance.lock")));
    services::setHaltHandler([](bool) { notes() << QStringLiteral("halted"); });
    msg::setResponder([](const msg::Call &call) {
        notes() << QStringLiteral("box \"%1: %2\"").arg(call.title, call.text.simplified());
        return call.defaultButton;
    });
}

// Connected as the start-up connects, logged in as the administrator, the main window on the screen: what the
// operator has before opening any of the measured windows.
bool logIn()
{
    registry::setValue(Quillan::dataSourceKey(), QStringLiteral("DatabaseFile"), registry::ValueType::String,
                       QDir::current().filePath(QStringLiteral("DATABASE/nardelo.db")));
    g::sqlca.DBMS = QStringLiteral("ODBC");
    g::sqlca.AutoCommit = false;
    g::sqlca.DBParm = Quillan::connectParameters();
    g::sqlca.connect();
    if (g::sqlca.SQLCode != 0) {
        notes() << QStringLiteral("connect failed: ") + g::sqlca.SQLErrText;
        return false;
    }
    g::name = QStringLiteral("system");
    if (ui::Window *main = ui::openWindow(QStringLiteral("w_main"))) {
        PaintWatcher painted(main);
        painted.waitPainted(10'000);
    }
    return true;
}

void report(Figures figures)
{
    if (!notes().isEmpty())
        figures[QStringLiteral("note")] = notes().join(QStringLiteral(", "));
    QStringList parts;
    for (auto it = figures.cbegin(); it != figures.cend(); ++it)
        parts << it.key() + u'=' + QString(it.value()).replace(u';', u',');
    std::printf("RESULT %s\n", parts.join(u';').toUtf8().constData());
    std::fflush(stdout);
}

// ---- The windows.

// What the operator does once the window is open (choose dates, a search, ...): the values the window's
// statement is retrieved with, and the button that retrieves (none where the window reads on its own).
struct Acted {
    QVariantList values;
    QPushButton *button = nullptr;
};
using Act = std::function<Acted(ui::Window *)>;

struct WindowCase {
    QString window;
    QString view;
    Act act;
    bool scrolls = true; // false where the result is a single row
};

Acted noAct(ui::Window *) { return {}; }

Act listOf(const QDate &from, const QDate &to)
{
    return [from, to](ui::Window *w) {
        w->get<ui::EditMask>(QStringLiteral("em_2"))->setDate(from);
        w->get<ui::EditMask>(QStringLiteral("em_1"))->setDate(to);
        return Acted{{from, to}, w->get<QPushButton>(QStringLiteral("cb_3"))};
    };
}

Act searchFor(const QString &field, const QString &comparison, const QString &value)
{
    return [=](ui::Window *w) {
        w->get<ui::DropDownList>(QStringLiteral("ddlb_1"))->selectItem(field);
        w->get<ui::DropDownList>(QStringLiteral("ddlb_2"))->selectItem(comparison);
        w->get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->setText(value);
        return Acted{{value}, w->get<QPushButton>(QStringLiteral("cb_1"))};
    };
}

Acted allOfTheBook(ui::Window *) { return {{QStringLiteral("%")}, nullptr}; }

bool windowCaseFor(const QString &id, int registerRows, WindowCase &c)
{
    const QString dw1 = QStringLiteral("dw_1");
    const QHash<QString, WindowCase> cases = {
        {QStringLiteral("editor-pay"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("editor-rec"), {QStringLiteral("inbank"), dw1, noAct}},
        {QStringLiteral("list-pay-1y"), {QStringLiteral("w_cabank"), dw1, listOf(lastYearStart(), lastDay())}},
        {QStringLiteral("list-pay-10y"), {QStringLiteral("w_cabank"), dw1, listOf(firstDay(), lastDay())}},
        {QStringLiteral("list-rec-1y"), {QStringLiteral("w_cdbank"), dw1, listOf(lastYearStart(), lastDay())}},
        {QStringLiteral("list-rec-10y"), {QStringLiteral("w_cdbank"), dw1, listOf(firstDay(), lastDay())}},
        {QStringLiteral("search-many"),
         {QStringLiteral("w_search"), QStringLiteral("dw_scrth"),
          searchFor(QStringLiteral("金额"), QStringLiteral(">"), QString::number(kSmallAmount))}},
        {QStringLiteral("search-one"),
         {QStringLiteral("w_search"), QStringLiteral("dw_scrth"),
          searchFor(QStringLiteral("支票号码"), QStringLiteral("="), paymentChequeNumber(registerRows / 2)), false}},
        {QStringLiteral("letter"), {QStringLiteral("w_ywwts"), dw1, noAct}},
        {QStringLiteral("picker-payee"), {QStringLiteral("w_temp1"), dw1, allOfTheBook}},
        {QStringLiteral("picker-payer"), {QStringLiteral("w_temp"), dw1, allOfTheBook}},
        {QStringLiteral("picker-remarks"), {QStringLiteral("w_tempbs"), dw1, allOfTheBook}},
        {QStringLiteral("print-list"), {QStringLiteral("w_cabank"), dw1, listOf(lastYearStart(), lastDay())}},
        {QStringLiteral("print-list-10y"), {QStringLiteral("w_cabank"), dw1, listOf(firstDay(), lastDay())}},
        {QStringLiteral("editor-pay-ok"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("editor-pay-add"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("picker-payee-again"), {QStringLiteral("w_temp1"), dw1, allOfTheBook}},
        {QStringLiteral("picker-payer-again"), {QStringLiteral("w_temp"), dw1, allOfTheBook}},
        {QStringLiteral("picker-remarks-again"), {QStringLiteral("w_tempbs"), dw1, allOfTheBook}},
        {QStringLiteral("editor-pay-add-after-use"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-5-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-10-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-25-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-50-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-75-page-up"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-middle"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-ok-edit"), {QStringLiteral("gobank"), dw1, noAct}},
        {QStringLiteral("jump-ok-delete"), {QStringLiteral("gobank"), dw1, noAct}},
    };
    if (!cases.contains(id))
        return false;
    c = cases.value(id);
    return true;
}

struct Opened {
    ui::Window *window = nullptr;
    QWidget *view = nullptr;
    Statement statement;
};

// Opens the window through the registry and does what the operator does, until the first screen is painted.
// Where the operator retrieves with a button, the window is first painted as the operator sees it before
// acting; "act" is then the click until its result is painted (the search itself), and "first" the opening
// plus the act.
Opened openAndAct(const WindowCase &c, Figures &f)
{
    Opened o;
    const auto start = Clock::now();
    o.window = ui::openWindow(c.window);
    if (!o.window) {
        notes() << QStringLiteral("window %1 did not open").arg(c.window);
        return o;
    }
    o.view = o.window->control(c.view);
    QWidget *shown = o.view ? o.view : o.window;
    std::optional<PaintWatcher> painted(shown);
    const Acted acted = c.act(o.window);
    o.statement.values = acted.values;
    double opening = 0;
    if (acted.button) {
        if (!painted->waitPainted())
            notes() << QStringLiteral("window never painted");
        opening = msSince(start);
        painted.emplace(shown);
        const auto click = Clock::now();
        acted.button->click();
        if (!painted->waitPainted())
            notes() << QStringLiteral("result never painted");
        const double act = msSince(click);
        f[QStringLiteral("act")] = ms(act);
        f[QStringLiteral("first")] = ms(opening + act);
    } else {
        if (!painted->waitPainted())
            notes() << QStringLiteral("first screen never painted");
        f[QStringLiteral("first")] = ms(msSince(start));
    }
    if (const dw::Definition *d = o.view ? definitionOf(o.view) : nullptr) {
        // The statement the view really runs: its order (texts in GBK order) is the database's work too.
        dw::Statement statement;
        statement.compile(*d);
        o.statement.sql = statement.sql();
        o.statement.values = statement.bind(o.statement.values);
    }
    return o;
}

// One page down, ten times from the top; the mean of each key's handling and repaint ("page"). Then on down
// to the hundredth page, past the rows of the first read, where each page may read rows on demand: the mean of
// pages 91 to 100 ("page100").
void scrollPages(QWidget *view, Figures &f)
{
    QWidget *target = keyTarget(view);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2000); // the focus change
    PaintWatcher painted(view);
    auto *area = qobject_cast<QAbstractScrollArea *>(view);
    if (!area)
        area = view->findChild<QAbstractScrollArea *>();
    // At the end there is no page further down, and nothing to paint: a view shorter than that stops there.
    auto atEnd = [area] {
        if (!area || area->verticalScrollBar()->value() < area->verticalScrollBar()->maximum())
            return false;
        auto *table = qobject_cast<QAbstractItemView *>(area);
        return !table || !table->model() || !table->model()->canFetchMore({});
    };
    auto pages = [&](int count) {
        double total = 0;
        for (int i = 0; i < count; ++i) {
            if (atEnd())
                return -1.0;
            const auto start = Clock::now();
            press(target, Qt::Key_PageDown);
            painted.waitPainted(10'000);
            total += msSince(start);
        }
        return total / count;
    };
    if (const double near = pages(kPages); near >= 0)
        f[QStringLiteral("page")] = ms(near);
    if (pages(90 - kPages) >= 0)
        if (const double far = pages(10); far >= 0)
            f[QStringLiteral("page100")] = ms(far);
    // Back to the top, so that Ctrl+End after this goes the whole way as the operator's would.
    press(target, Qt::Key_Home, Qt::ControlModifier);
    if (area && area->verticalScrollBar()->value() > 0)
        area->verticalScrollBar()->setValue(0);
    painted.waitPainted(2000);
}

// To the last row as the operator gets there (Ctrl+End; the scroll bar's end for a report), then the count.
void readToLastRow(QWidget *view, Figures &f)
{
    QWidget *target = keyTarget(view);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2000); // the focus change
    PaintWatcher painted(view);
    const auto start = Clock::now();
    press(target, Qt::Key_End, Qt::ControlModifier);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(view))
        area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    painted.waitPainted(2000);
    const int rows = rowCountOf(view);
    f[QStringLiteral("last")] = ms(msSince(start));
    f[QStringLiteral("rows")] = QString::number(rows);
}

void addBare(const Statement &s, Figures &f)
{
    const Bare bare = bareRead(s);
    if (!bare.error.isEmpty())
        notes() << QStringLiteral("bare read failed: ") + bare.error;
    if (bare.rows < 0)
        return;
    f[QStringLiteral("bfirst")] = ms(bare.firstMs);
    f[QStringLiteral("ball")] = ms(bare.allMs);
    f[QStringLiteral("brows")] = QString::number(bare.rows);
}

int runWindowCase(const WindowCase &c, Figures &f)
{
    Opened o = openAndAct(c, f);
    if (!o.view)
        return 1;
    if (c.scrolls)
        scrollPages(o.view, f);
    readToLastRow(o.view, f);
    f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
    delete o.window;
    addBare(o.statement, f);
    return 0;
}

// The text a picker's search finds a record from the middle of its book by, in the picker's order.
QString middleOfTheBook(const QString &id)
{
    const QString query =
        id == u"picker-payee-again"
            ? QStringLiteral("SELECT skrname FROM skrbook WHERE skrname IS NOT NULL ORDER BY skrname COLLATE gbk")
        : id == u"picker-payer-again"
            ? QStringLiteral("SELECT skrname FROM fkrbook ORDER BY code")
            : QStringLiteral("SELECT ctext FROM bs_1 ORDER BY cid COLLATE gbk");
    const QString table = query.section(u' ', 3, 3);
    QString text;
    g::sqlca.selectInto(query + QStringLiteral(" LIMIT 1 OFFSET (SELECT count(*) / 2 FROM %1)").arg(table), {}, {text});
    return text;
}

// A picker made active again after a search: a record from the middle of the book searched for and clicked,
// another window active, then the picker again (timed); the record must stay current.
void activateAgain(const QString &id, ui::Window *picker, dw::DataView *view,
                   const std::function<void(const std::function<void()> &)> &timed)
{
    picker->get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->setText(middleOfTheBook(id));
    picker->get<QPushButton>(QStringLiteral("cb_2"))->click();
    view->setCurrentRow(1);
    const QVariantList key = view->buffer().keyOf(1);
    QWidget *main = ui::findWindow(QStringLiteral("w_main"));
    QApplication::setActiveWindow(main);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2000);
    timed([&] { QApplication::setActiveWindow(picker); });
    if (view->buffer().keyOf(view->currentRow()) != key)
        notes() << QStringLiteral("the searched record was not current after the activation");
}

// What the operator has done before the first Add of the session: the ten-year payment list and the receipt
// register read to their ends, the payee picker searched, each window closed again.
void useOtherWindows(int registerRows)
{
    for (const char *id : {"list-pay-10y", "editor-rec", "picker-payee"}) {
        WindowCase c;
        windowCaseFor(QString::fromLatin1(id), registerRows, c);
        Figures ignored;
        Opened o = openAndAct(c, ignored);
        if (o.view)
            readToLastRow(o.view, ignored);
        delete o.window;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2000);
}

// The milliseconds from the start of an act until the view has painted its result.
double untilPainted(QWidget *view, const std::function<void()> &act)
{
    PaintWatcher painted(view);
    const auto start = Clock::now();
    act();
    painted.waitPainted(60'000);
    return msSince(start);
}

// The operator's act in an open window, timed until its result is painted ("act"): OK after editing one cell
// and Add in the payment register editor (the session's first Add, also after other windows were used), and a
// picker made active again after a search (its current record must stay). The rows the view then holds, read
// from the first, show what the act read.
int runEditCase(const QString &id, const WindowCase &c, int registerRows, Figures &f)
{
    if (id == u"editor-pay-add-after-use")
        useOtherWindows(registerRows);
    Opened o = openAndAct(c, f);
    auto *view = qobject_cast<dw::DataView *>(o.view);
    if (!view)
        return 1;
    auto timed = [&](const std::function<void()> &act) { f[QStringLiteral("act")] = ms(untilPainted(view, act)); };
    if (id.endsWith(u"-again")) {
        activateAgain(id, o.window, view, timed);
    } else if (id == u"editor-pay-ok") {
        view->setItem(5, QStringLiteral("kpr"), QStringLiteral("李"));
        timed([&] { o.window->get<QPushButton>(QStringLiteral("cb_3"))->click(); });
    } else {
        timed([&] { o.window->get<QPushButton>(QStringLiteral("cb_1"))->click(); });
    }
    f[QStringLiteral("rows")] = QString::number(view->buffer().knownCount());
    notes() << QStringLiteral("%1 rows read after the act").arg(view->buffer().fetchedCount());
    f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
    delete o.window;
    return 0;
}

// Jumps into the rows between in the payment register editor, each timed until painted: Page Up twenty times
// after Ctrl+End ("act" the slowest press); the scroll bar dragged to the middle ("act"), then to nineteen
// other places ("page" the slowest, "peak" the memory after all twenty; the notes: after 180 more); OK after an edit or a delete in the
// middle ("act"). The rows read from the first on show that none were read up to the place.
int runJumpCase(const QString &id, const WindowCase &c, Figures &f)
{
    Opened o = openAndAct(c, f);
    auto *view = qobject_cast<dw::DataView *>(o.view);
    if (!view)
        return 1;
    QWidget *target = keyTarget(view);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2000);
    auto timed = [view](const std::function<void()> &act) { return untilPainted(view, act); };
    QScrollBar *bar = view->grid()->verticalScrollBar();
    if (id.endsWith(u"page-up")) {
        timed([&] { press(target, Qt::Key_End, Qt::ControlModifier); });
        // "jump-N-page-up": then the scroll bar's middle click to N% of the rows, and a click on a row in the
        // middle of the screen; Page Up then reads back past the first row the jump read.
        if (const int percent = id.section(u'-', 1, 1).toInt(); percent > 0) {
            timed([&] { bar->setValue(int(qint64(bar->maximum()) * percent / 100)); });
            QWidget *rows = view->grid()->viewport();
            const QPoint at(rows->width() / 3, rows->height() / 2);
            timed([&] {
                for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                    QMouseEvent click(type, at, rows->mapToGlobal(at), Qt::LeftButton,
                                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(rows, &click);
                }
            });
            target = keyTarget(view);
        }
        QList<double> presses;
        for (int i = 0; i < 20; ++i)
            presses << timed([&] { press(target, Qt::Key_PageUp); });
        QList<double> sorted = presses;
        std::sort(sorted.begin(), sorted.end());
        f[QStringLiteral("act")] = ms(sorted.last());
        f[QStringLiteral("median")] = ms((sorted.at(9) + sorted.at(10)) / 2);
        QStringList each;
        for (const double t : presses)
            each << QString::number(t, 'f', 0);
        notes() << QStringLiteral("presses %1 ms (median %2)").arg(each.join(u' '), f.value(QStringLiteral("median")));
    } else if (id == u"jump-middle") {
        timed([&] { press(target, Qt::Key_End, Qt::ControlModifier); }); // the scroll bar spans every row
        resetPeak();
        f[QStringLiteral("act")] = ms(timed([&] { bar->setValue(bar->maximum() / 2); }));
        double slowest = 0;
        for (int i = 1; i < 20; ++i) {
            const int at = int(qint64(bar->maximum()) * ((i * 7) % 19 + 1) / 21);
            slowest = std::max(slowest, timed([&] { bar->setValue(at); }));
        }
        f[QStringLiteral("page")] = ms(slowest);
        f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
        // 180 more places (none kept beyond the last few): the memory stays where twenty left it.
        for (int i = 20; i < 200; ++i) {
            const int at = int(qint64(bar->maximum()) * ((i * 37) % 199 + 1) / 201);
            slowest = std::max(slowest, timed([&] { bar->setValue(at); }));
        }
        notes() << QStringLiteral("VmHWM after 20 jumps %1 MB, after 200 %2 MB (slowest of 200 %3 ms)")
                       .arg(f.value(QStringLiteral("peak")), QString::number(memoryMb("VmHWM:"), 'f', 0), ms(slowest));
    } else {
        timed([&] { press(target, Qt::Key_End, Qt::ControlModifier); });
        const int middle = view->buffer().knownCount() / 2;
        view->setCurrentRow(middle);
        if (id == u"jump-ok-edit")
            view->setItem(middle, QStringLiteral("kpr"), QStringLiteral("李"));
        else
            o.window->get<QPushButton>(QStringLiteral("cb_2"))->click();
        f[QStringLiteral("act")] = ms(timed([&] { o.window->get<QPushButton>(QStringLiteral("cb_3"))->click(); }));
        if (view->currentRow() != middle)
            notes() << QStringLiteral("OK landed on row %1, not %2").arg(view->currentRow()).arg(middle);
    }
    f[QStringLiteral("rows")] = QString::number(view->buffer().knownCount());
    notes() << QStringLiteral("%1 rows read from the first").arg(view->buffer().fetchedCount());
    if (!f.contains(QStringLiteral("peak")))
        f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
    delete o.window;
    return 0;
}

// The pages of a PDF file written by Qt: its "/Type /Page" objects (not "/Pages"). Scanned as bytes: a ten-year
// list at 1M rows is a PDF of over 100 MB.
int pdfPages(const QString &file)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = pdf.readAll();
    const QByteArrayView data(bytes);
    int pages = 0;
    for (qsizetype at = data.indexOf("/Type"); at >= 0; at = data.indexOf("/Type", at + 5)) {
        qsizetype i = at + 5;
        while (i < data.size() && std::isspace(static_cast<unsigned char>(data[i])))
            ++i;
        if (data.sliced(i).startsWith("/Page") && i + 5 < data.size() && data[i + 5] != 's')
            ++pages;
    }
    return pages;
}

// The honest limit of a list's print is the same job painted by Qt alone, in a process of its own
// (plainpaint.cpp); what is left to the print beyond it is the engine's own work: its layout, formatting and
// fitting. The texts as the print draws them, fitted on a device of the printer's resolution (untimed): the plain paint
// draws the same glyphs, not the texts before they were cut or drawn smaller.
dw::PrintedDocument asPrinted(const dw::PrintedDocument &document)
{
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter probe(&sink);
    probe.setResolution(QPrinter(QPrinter::HighResolution).resolution());
    dw::PrintedDocument fitted = document;
    for (dw::PrintedPage &page : fitted.pages)
        for (dw::PrintedText &t : page.texts) {
            if (t.fixed || t.text.isEmpty())
                continue;
            const QFont font = services::font(t.font.face, t.font.points, t.font.weight);
            const qreal width = t.rect.width() * probe.logicalDpiX() / 2540.0;
            const dw::FittedText f = dw::fitText(t.text, t.figure, font, QFontMetricsF(font, &probe), width, &probe);
            t.text = f.text;
            if (f.font != font) {
                t.font.points = qMax(1, qRound(f.font.pointSizeF()));
                t.rect.translate(0, qRound(f.shift * 2540.0 / probe.logicalDpiY()));
            }
        }
    return fitted;
}

// The pages file the plain paint reads (tools/bench/plainpaint.cpp): the database, the statement and its values,
// the margins and the fonts, then each page's bars and texts as the print draws them.
bool writePages(const dw::PrintedDocument &fitted, const Statement &s, int margin, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    QStringList names, values;
    for (int i = 0; i < s.values.size(); ++i) {
        const QVariant &v = s.values.at(i);
        names << (i < s.arguments.size() ? s.arguments.at(i).name : QString());
        values << (v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString());
    }
    QList<ui::Font> fonts;
    auto same = [](const ui::Font &a, const ui::Font &b) {
        return a.points == b.points && a.weight == b.weight && a.face == b.face && a.italic == b.italic &&
               a.underline == b.underline;
    };
    auto indexOf = [&](const ui::Font &font) {
        const auto it = std::find_if(fonts.cbegin(), fonts.cend(), [&](const ui::Font &f) { return same(f, font); });
        return qint32(it - fonts.cbegin());
    };
    for (const dw::PrintedPage &page : fitted.pages)
        for (const dw::PrintedText &t : page.texts)
            if (indexOf(t.font) == fonts.size())
                fonts << t.font;
    out << QDir::current().filePath(QStringLiteral("DATABASE/nardelo.db")) << s.sql << names << values
        << qint32(margin) << qint32(fonts.size());
    for (const ui::Font &f : fonts)
        out << f.face << qint32(f.points) << qint32(f.weight) << f.italic << f.underline;
    for (const dw::PrintedPage &page : fitted.pages) {
        out << qint32(page.bars.size());
        for (const QRect &bar : page.bars)
            out << bar;
        const qint32 texts = qint32(std::count_if(page.texts.cbegin(), page.texts.cend(),
                                                  [](const dw::PrintedText &t) { return !t.text.isEmpty(); }));
        out << texts;
        for (const dw::PrintedText &t : page.texts) {
            if (t.text.isEmpty())
                continue;
            out << t.rect << qint32(int(t.alignment | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip)
                << indexOf(t.font) << quint32(t.text.size() * 2);
            out.writeRawData(reinterpret_cast<const char *>(t.text.utf16()), int(t.text.size() * 2));
        }
    }
    return out.status() == QDataStream::Ok && file.flush();
}

// The time from its making until the first progress dialog shows.
class DialogWatcher : public QObject {
public:
    DialogWatcher() : m_start(Clock::now()) { qApp->installEventFilter(this); }
    ~DialogWatcher() override { qApp->removeEventFilter(this); }
    double shownMs = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (shownMs < 0 && e->type() == QEvent::Show && qobject_cast<QProgressDialog *>(watched))
            shownMs = msSince(m_start);
        return false;
    }

private:
    Clock::time_point m_start;
};

int runPrintCase(const WindowCase &c, int plainPages, const QString &pagesFile, Figures &f)
{
    if (print::systemHasPrinter()) {
        notes() << QStringLiteral("skipped: a printer is installed and the list would go to it");
        return 0;
    }
    Opened o = openAndAct(c, f);
    if (!o.view)
        return 1;
    f.remove(QStringLiteral("first"));
    f.remove(QStringLiteral("act"));
    if (plainPages > 0) {
        // The pages as the list lays them out, for the plain paint's process to draw (untimed).
        auto *list = qobject_cast<dw::ReportView *>(o.view);
        if (!list)
            return 1;
        const dw::PrintedDocument document = asPrinted(list->layoutDocument(QSizeF(210, 297), services::today()));
        if (document.pages.size() != plainPages)
            notes() << QStringLiteral("the plain paint lays out %1 pages, the print %2")
                           .arg(document.pages.size())
                           .arg(plainPages);
        f = {{QStringLiteral("pages"), QString::number(document.pages.size())}};
        if (!writePages(document, o.statement, list->definition().margin, pagesFile)) {
            notes() << QStringLiteral("cannot write ") + pagesFile;
            return 1;
        }
        delete o.window;
        return 0;
    }

    // The rows are left as the query left them (the first ones read): the print reads the rest.
    double before = memoryMb("VmRSS:");
    resetPeak();
    auto start = Clock::now();
    const double cpuStart = cpuMs();
    DialogWatcher dialog;
    o.window->get<QPushButton>(QStringLiteral("cb_1"))->click();
    f[QStringLiteral("first")] = ms(msSince(start));
    f[QStringLiteral("cpu")] = ms(cpuMs() - cpuStart);
    f[QStringLiteral("peak")] = QString::number(std::max(0.0, memoryMb("VmHWM:") - before), 'f', 0);
    if (dialog.shownMs >= 0)
        f[QStringLiteral("act")] = ms(dialog.shownMs);
    f[QStringLiteral("rows")] = QString::number(rowCountOf(o.view));
    const QString printed = print::lastOutputFile();
    const int pages = pdfPages(printed);
    f[QStringLiteral("pages")] = QString::number(pages);
    f[QStringLiteral("mb")] = QString::number(QFileInfo(printed).size() / 1e6, 'f', 1);
    QFile::remove(printed);
    delete o.window;
    return 0;
}
// A cash cheque saved (存盘) while `open` is open with its first screen read and the rest not, or with nothing
// open: the click until the save returns. The save writes a scratch copy of the data set, so the cached one
// stays as built. With a window open, another program first writes one row too, without waiting for a lock.
int runSaveCase(const QString &open, int registerRows, Figures &f)
{
    Opened o;
    if (!open.isEmpty()) {
        WindowCase c;
        windowCaseFor(open, registerRows, c);
        o = openAndAct(c, f);
        if (!o.view)
            return 1;
        f[QStringLiteral("rows")] = QString::number(rowCountOfRead(o.view));
        f.remove(QStringLiteral("act"));
        f[QStringLiteral("other")] = anotherProgramWrites();
    }
    ui::Window *cheque = ui::openWindow(QStringLiteral("w_xjzp"));
    if (!cheque) {
        notes() << QStringLiteral("the cash cheque did not open");
        return 1;
    }
    PaintWatcher(cheque).waitPainted(10'000);
    cheque->get<ui::SingleLineEdit>(QStringLiteral("sle_12"))->setText(QStringLiteral("XJ990001"));
    cheque->get<ui::SingleLineEdit>(QStringLiteral("sle_4"))->setText(QStringLiteral("北京市某某贸易有限公司"));
    cheque->get<ui::SingleLineEdit>(QStringLiteral("em_1"))->setText(QStringLiteral("1234.56"));
    cheque->get<QAbstractButton>(QStringLiteral("rb_1"))->click(); // a format chosen enables the save
    const qint64 before = countRows(QStringLiteral("xjzp"));
    const auto start = Clock::now();
    cheque->get<QPushButton>(QStringLiteral("cb_1"))->click();
    f[QStringLiteral("act")] = ms(msSince(start));
    if (countRows(QStringLiteral("xjzp")) != before + 1)
        notes() << QStringLiteral("the cheque was not saved");
    if (o.view)
        f[QStringLiteral("rows")] += u'/' + QString::number(rowCountOfRead(o.view));
    f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
    delete cheque;
    delete o.window;
    return 0;
}
} // namespace

const QList<Case> &allCases()
{
    static const QList<Case> cases = {
        {QStringLiteral("empty"), QStringLiteral("empty Qt window shown (reference)"), false},
        {QStringLiteral("startup"), QStringLiteral("start-up to login window"), false},
        {QStringLiteral("editor-pay"), QStringLiteral("payment register editor"), true},
        {QStringLiteral("editor-rec"), QStringLiteral("receipt register editor"), true},
        {QStringLiteral("list-pay-1y"), QStringLiteral("payment list, one year"), true},
        {QStringLiteral("list-pay-10y"), QStringLiteral("payment list, ten years"), true},
        {QStringLiteral("list-rec-1y"), QStringLiteral("receipt list, one year"), true},
        {QStringLiteral("list-rec-10y"), QStringLiteral("receipt list, ten years"), true},
        {QStringLiteral("search-many"), QStringLiteral("search, 98% of rows"), true},
        {QStringLiteral("search-one"), QStringLiteral("search, one cheque number"), true},
        {QStringLiteral("letter"), QStringLiteral("business entrustment letter"), true},
        {QStringLiteral("picker-payee"), QStringLiteral("payee picker"), true},
        {QStringLiteral("picker-payer"), QStringLiteral("payer picker"), true},
        {QStringLiteral("picker-remarks"), QStringLiteral("remarks picker"), true},
        {QStringLiteral("print-list"), QStringLiteral("print payment list, one year"), true},
        {QStringLiteral("print-list-10y"), QStringLiteral("print payment list, ten years"), true},
        {QStringLiteral("save-alone"), QStringLiteral("save a cash cheque, nothing open"), true},
        {QStringLiteral("save-list-open"), QStringLiteral("save, ten-year payment list open half read"), true},
        {QStringLiteral("save-editor-open"), QStringLiteral("save, payment register editor open half read"), true},
        {QStringLiteral("editor-pay-ok"), QStringLiteral("payment register editor: OK after one cell"), true},
        {QStringLiteral("editor-pay-add"), QStringLiteral("payment register editor: Add"), true},
        {QStringLiteral("picker-payee-again"), QStringLiteral("payee picker: activation after a search"), true},
        {QStringLiteral("picker-payer-again"), QStringLiteral("payer picker: activation after a search"), true},
        {QStringLiteral("picker-remarks-again"), QStringLiteral("remarks picker: activation after a search"), true},
        {QStringLiteral("editor-pay-add-after-use"),
         QStringLiteral("payment register editor: first Add, other windows used before"), true},
        {QStringLiteral("jump-page-up"), QStringLiteral("payment register: Page Up x20 after Ctrl+End"), true},
        {QStringLiteral("jump-5-page-up"), QStringLiteral("payment register: Page Up x20 after a jump to 5%"), true},
        {QStringLiteral("jump-10-page-up"), QStringLiteral("payment register: Page Up x20 after a jump to 10%"), true},
        {QStringLiteral("jump-25-page-up"), QStringLiteral("payment register: Page Up x20 after a jump to 25%"), true},
        {QStringLiteral("jump-50-page-up"), QStringLiteral("payment register: Page Up x20 after a jump to 50%"), true},
        {QStringLiteral("jump-75-page-up"), QStringLiteral("payment register: Page Up x20 after a jump to 75%"), true},
        {QStringLiteral("jump-middle"), QStringLiteral("payment register: scroll bar to the middle (x20)"), true},
        {QStringLiteral("jump-ok-edit"), QStringLiteral("payment register: OK after an edit in the middle"), true},
        {QStringLiteral("jump-ok-delete"), QStringLiteral("payment register: OK after a delete in the middle"), true},
    };
    return cases;
}

QString plainPagesFile(const QString &cache) { return QDir(cache).filePath(QStringLiteral("plain.pages")); }

int runCase(int &argc, char **argv, const QString &id, const QString &folder, const QString &cache,
            int registerRows, int plainPages)
{
    const auto processStart = Clock::now();
    // Lists print to PDF here: a printer of the machine would get them otherwise.
    if (id.startsWith(u"print-"))
        qputenv("CUPS_SERVER", "/nonexistent/bench.sock");
    QApplication app(argc, argv);
    Figures f;

    if (id == u"empty") {
        QWidget window;
        window.resize(800, 600);
        PaintWatcher painted(&window);
        const auto shown = Clock::now();
        window.show();
        painted.waitPainted();
        f[QStringLiteral("first")] = ms(msSince(processStart));
        f[QStringLiteral("show")] = ms(msSince(shown));
        f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
        report(f);
        return 0;
    }

    // Cases that write work on a copy of the data set: the cached one is shared by every run.
    std::optional<QTemporaryDir> scratch;
    const bool saves = id.startsWith(u"save-");
    const bool writes = saves || id == u"editor-pay-ok" || id == u"editor-pay-add" || id.startsWith(u"jump-ok-");
    if (writes) {
        scratch.emplace(QDir(cache).filePath(QStringLiteral("save-XXXXXX")));
        QDir(scratch->path()).mkpath(QStringLiteral("DATABASE"));
        if (!QFile::copy(QDir(folder).filePath(QStringLiteral("DATABASE/nardelo.db")),
                         scratch->filePath(QStringLiteral("DATABASE/nardelo.db")))) {
            std::fprintf(stderr, "bench: cannot copy the data set\n");
            return 1;
        }
    }
    setUpWorld(writes ? scratch->path() : folder, cache);
    if (id == u"startup") {
        Quillan quillan;
        if (quillan.start() && ui::findWindow(QStringLiteral("w_pass"))) {
            PaintWatcher painted(ui::findWindow(QStringLiteral("w_pass")));
            painted.waitPainted();
        } else {
            notes() << QStringLiteral("start-up ended without a login window");
        }
        f[QStringLiteral("first")] = ms(msSince(processStart));
        f[QStringLiteral("peak")] = QString::number(memoryMb("VmHWM:"), 'f', 0);
        report(f);
        services::releaseInstanceLock();
        return 0;
    }

    WindowCase c;
    if (!saves && !windowCaseFor(id, registerRows, c)) {
        std::fprintf(stderr, "bench: unknown case %s\n", qPrintable(id));
        return 2;
    }
    Quillan quillan; // fonts, and a fresh set of globals
    Quillan::registerAllWindows();
    if (!logIn()) {
        report(f);
        return 1;
    }
    int rc = 0;
    if (saves)
        rc = runSaveCase(id == u"save-list-open"     ? QStringLiteral("list-pay-10y")
                         : id == u"save-editor-open" ? QStringLiteral("editor-pay")
                                                     : QString(),
                         registerRows, f);
    else if (id.startsWith(u"print-"))
        rc = runPrintCase(c, plainPages, plainPagesFile(cache), f);
    else if (id.startsWith(u"editor-pay-") || id.endsWith(u"-again"))
        rc = runEditCase(id, c, registerRows, f);
    else if (id.startsWith(u"jump-"))
        rc = runJumpCase(id, c, f);
    else
        rc = runWindowCase(c, f);
    g::sqlca.disconnect(); // before the scratch copy goes
    report(f);
    return rc;
}
} // namespace bench
