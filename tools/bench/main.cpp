// The data view benchmark: builds its own registers (10k, 100k, 1M rows), opens each window headless in a
// process of its own as a logged-in operator would, and prints one table of what it measured next to the bare
// SQLite read of the same statement and the goals. Missed goals are reported, never an error; a case whose
// process crashes or reports nothing makes the exit status 1.
#include "cases.h"
#include "datasets.h"

#include "platform/services.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {
using bench::Figures;

// The goals, at the figures the table holds them against.
constexpr double kFirstScreenMs = 300;
constexpr double kPickerMs = 100;
constexpr double kOneChequeMs = 5;
constexpr double kOkMs = 100;  // OK after one cell; a picker made active again
constexpr double kJumpMs = 100; // a jump into the rows between; OK after an edit or delete there; a Page Up
constexpr double kPressSpread = 4; // no Page Up slower than this many times the median press
constexpr double kAddMs = 300; // Add in a register editor
constexpr double kLastRowRatio = 1.5;
constexpr double kPageMs = 16;
constexpr double kPeakMb = 300;
constexpr double kStartRatio = 1.3;
constexpr double kPrintRatio = 1.3;
constexpr double kSaveRatio = 1.2; // a save with a half-read view open, against the same save with nothing open
constexpr double kPrintPeakMb = 20; // growth while printing, however many pages

struct Result {
    QString size;
    bench::Case c;
    Figures f;
    QString failure; // the process crashed or reported nothing
};

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Reads the database once so every case starts from the same warm file cache.
void warmFileCache(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        while (!f.read(1 << 20).isEmpty()) {
        }
}

// The median of each figure over repeated runs; the notes of the first.
Figures medians(const QList<Figures> &runs)
{
    Figures out = runs.first();
    for (auto it = out.begin(); it != out.end(); ++it) {
        QList<double> values;
        bool numeric = true;
        for (const Figures &run : runs)
            values << run.value(it.key()).toDouble(&numeric);
        if (!numeric || values.size() < 2)
            continue;
        std::sort(values.begin(), values.end());
        const qsizetype m = values.size() / 2;
        const double median = values.size() % 2 ? values.at(m) : (values.at(m - 1) + values.at(m)) / 2;
        // Counts (rows, pages) stay whole numbers; times keep their hundredths.
        it.value() = it.value().contains(u'.') ? QString::number(median, 'f', 2) : QString::number(qRound64(median));
    }
    return out;
}

// Runs a measuring process to its end: its figures (its "RESULT" line), or why it gave none.
Result runProcess(const QString &label, const bench::Case &c, const QString &program, const QStringList &arguments)
{
    Result r{label, c, {}, {}};
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(program, arguments);
    if (!child.waitForFinished(3'600'000))
        child.kill(), child.waitForFinished();
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    for (const QString &line : out.split(u'\n'))
        if (line.startsWith(QStringLiteral("RESULT ")))
            for (const QString &kv : line.mid(7).split(u';', Qt::SkipEmptyParts))
                r.f.insert(kv.section(u'=', 0, 0), kv.section(u'=', 1));
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || r.f.isEmpty()) {
        r.failure = child.exitStatus() != QProcess::NormalExit ? QStringLiteral("CRASH")
                                                               : QStringLiteral("FAILED(%1)").arg(child.exitCode());
        const QStringList lines = QString::fromUtf8(child.readAllStandardError()).split(u'\n');
        err() << "bench: " << label << ' ' << c.id << ' ' << QFileInfo(program).fileName() << ' ' << r.failure
              << "; its last messages:\n" << lines.mid(std::max<qsizetype>(0, lines.size() - 15)).join(u'\n') << '\n';
    }
    return r;
}

// The benchmark itself running one case in a process of its own.
QStringList caseArguments(const QString &cache, const bench::DataSet &set, const bench::Case &c)
{
    return {QStringLiteral("--child"), c.id,  QStringLiteral("--folder"), bench::dataSetFolder(cache, set),
            QStringLiteral("--cache"), cache, QStringLiteral("--rows"),   QString::number(set.rows)};
}

// A list's print is held against a plain Qt paint of the same pages: laid out by the list in a process of its
// own (untimed), then drawn by the plain paint's program, which shares nothing with the print.
Result runPlainPaint(const QString &cache, const bench::DataSet &set, const bench::Case &c, const Result &print)
{
    QElapsedTimer timer;
    timer.start();
    Result plain = runProcess(set.label, c, QCoreApplication::applicationFilePath(),
                              caseArguments(cache, set, c) << QStringLiteral("--plain") << print.f.value(QStringLiteral("pages")));
    const QString pages = bench::plainPagesFile(cache);
    if (plain.failure.isEmpty()) {
        const QString pdf = QDir(cache).filePath(QStringLiteral("plain.pdf"));
        const QString note = plain.f.value(QStringLiteral("note"));
        plain = runProcess(set.label, c, QCoreApplication::applicationDirPath() + QStringLiteral("/plainpaint"),
                           {pages, pdf});
        if (!note.isEmpty())
            plain.f.insert(QStringLiteral("note"), note);
        QFile::remove(pdf);
    }
    QFile::remove(pages);
    err() << "bench: " << set.label << ' ' << c.id << " (plain paint) done in " << timer.elapsed() / 1000.0 << " s\n";
    err().flush();
    return plain;
}

Result runChild(const QString &cache, const bench::DataSet &set, const bench::Case &c)
{
    QElapsedTimer timer;
    timer.start();
    Result r = runProcess(set.label, c, QCoreApplication::applicationFilePath(), caseArguments(cache, set, c));
    err() << "bench: " << set.label << ' ' << c.id << " done in " << timer.elapsed() / 1000.0 << " s\n";
    err().flush();
    if (r.failure.isEmpty() && c.id.startsWith(u"print-") && r.f.value(QStringLiteral("pages")).toInt() > 0) {
        const Result plain = runPlainPaint(cache, set, c, r);
        r.failure = plain.failure;
        for (const char *key : {"ball", "bcpu", "bpeak", "bmb"})
            if (plain.f.contains(QLatin1String(key)))
                r.f.insert(QLatin1String(key), plain.f.value(QLatin1String(key)));
        QStringList notes = {r.f.value(QStringLiteral("note")), plain.f.value(QStringLiteral("note"))};
        if (plain.f.value(QStringLiteral("bpages")) != r.f.value(QStringLiteral("pages")))
            notes << QStringLiteral("the plain paint drew %1 pages").arg(plain.f.value(QStringLiteral("bpages")));
        notes.removeAll(QString());
        if (!notes.isEmpty())
            r.f.insert(QStringLiteral("note"), notes.join(QStringLiteral(", ")));
    }
    return r;
}

QString fixed(double v, int places = 1) { return v < 0 ? QStringLiteral("-") : QString::number(v, 'f', places); }
double figure(const Figures &f, const char *key) { return f.value(QString::fromLatin1(key), QStringLiteral("-1")).toDouble(); }

// The first-screen limit of a case: its own goal, or 300 ms and twice the bare first screen plus the empty
// window's show.
double firstLimit(const Result &r, const Figures &empty)
{
    const QString &id = r.c.id;
    if (id == u"empty")
        return -1;
    if (id == u"startup")
        return kStartRatio * figure(empty, "first");
    if (id.startsWith(u"print-"))
        return figure(r.f, "ball") < 0 ? -1 : kPrintRatio * figure(r.f, "ball");
    if (id.startsWith(u"picker"))
        return kPickerMs;
    const double bare = figure(r.f, "bfirst");
    return bare < 0 ? kFirstScreenMs : std::min(kFirstScreenMs, 2 * bare + std::max(0.0, figure(empty, "show")));
}

// The limit of the operator's act (the click that retrieves, until its result is painted; a save's click; OK,
// Add and a picker's activation), where one is set.
double actLimit(const Result &r, const QList<Result> &results)
{
    const QString &id = r.c.id;
    if (id == u"search-one")
        return kOneChequeMs;
    if (id == u"editor-pay-ok" || id.endsWith(u"-again"))
        return kOkMs;
    if (id.endsWith(u"page-up") && figure(r.f, "median") > 0)
        return std::min(kJumpMs, kPressSpread * figure(r.f, "median"));
    if (id.startsWith(u"jump-"))
        return kJumpMs;
    if (id.startsWith(u"editor-pay-add"))
        return kAddMs;
    if (id.startsWith(u"save-") && id != u"save-alone")
        for (const Result &alone : results)
            if (alone.c.id == u"save-alone" && alone.size == r.size)
                return figure(alone.f, "act") > 0 ? kSaveRatio * figure(alone.f, "act") : -1;
    return -1;
}

void printTable(const QList<Result> &results, const Figures &empty)
{
    QTextStream out(stdout);
    const QStringList heads = {"size",    "case",  "rows",    "first ms", "÷goal",   "act ms",   "÷goal",
                               "last ms", "÷bare", "page ms", "peak MB",  "bare 1st", "bare all", "missed"};
    QList<QStringList> table;
    QStringList notes;
    for (const Result &r : results) {
        const Figures &f = r.f;
        const bool print = r.c.id.startsWith(u"print-");
        QStringList missed;
        if (!r.failure.isEmpty())
            missed << r.failure;
        const double first = figure(f, "first"), limit = firstLimit(r, empty);
        const double ratio = first >= 0 && limit > 0 ? first / limit : -1;
        if (ratio > 1)
            missed << QStringLiteral("first");
        const double act = figure(f, "act"), actGoal = actLimit(r, results);
        const double actRatio = act >= 0 && actGoal > 0 ? act / actGoal : -1;
        if (actRatio > 1)
            missed << QStringLiteral("act");
        const double last = figure(f, "last"), all = figure(f, "ball");
        // Reading to the end is held against the bare read where there is more than a screen to read.
        const double lastRatio =
            !print && last >= 0 && all > 0 && figure(f, "brows") > 2 * bench::kScreenRows ? last / all : -1;
        if (lastRatio > kLastRowRatio)
            missed << QStringLiteral("last");
        if (figure(f, "page") > (r.c.id.startsWith(u"jump-") ? kJumpMs : kPageMs) || figure(f, "page100") > kPageMs)
            missed << QStringLiteral("page");
        if (f.contains(QStringLiteral("page100")))
            notes << QStringLiteral("%1 %2: pages 91-100 down (past the first read) %3 ms")
                         .arg(r.size, r.c.id, f.value(QStringLiteral("page100")));
        const double peak = figure(f, "peak");
        if (peak > (print ? kPrintPeakMb : kPeakMb))
            missed << QStringLiteral("memory");
        if (f.contains(QStringLiteral("brows")) && f.value(QStringLiteral("rows")) != f.value(QStringLiteral("brows")))
            missed << QStringLiteral("rows≠bare %1").arg(f.value(QStringLiteral("brows")));
        QString title = r.c.title;
        if (print) {
            const double cpu = figure(f, "cpu"), plainCpu = figure(f, "bcpu");
            if (cpu >= 0 && plainCpu > 0 && cpu > kPrintRatio * plainCpu)
                missed << QStringLiteral("cpu");
            notes << QStringLiteral("%1 %2: %3 pages; \"first\" is the print, \"bare all\" a plain Qt paint of the "
                                    "same pages in a program of its own (+%4 MB), \"peak\" the growth while "
                                    "printing, \"act\" the click until the progress dialog shows; CPU %5 ms "
                                    "against %6 ms (%7x); the PDF %8 MB, the plain one %9 MB")
                         .arg(r.size, r.c.id, f.value(QStringLiteral("pages")), f.value(QStringLiteral("bpeak")),
                              f.value(QStringLiteral("cpu")), f.value(QStringLiteral("bcpu")),
                              fixed(cpu >= 0 && plainCpu > 0 ? cpu / plainCpu : -1, 2))
                         .arg(f.value(QStringLiteral("mb")), f.value(QStringLiteral("bmb")));
        }
        if (f.contains(QStringLiteral("other"))) {
            bool timed = false;
            f.value(QStringLiteral("other")).toDouble(&timed);
            notes << QStringLiteral("%1 %2: rows read before/after the save %3; another program's insert before "
                                    "the save: %4%5")
                         .arg(r.size, r.c.id, f.value(QStringLiteral("rows")), f.value(QStringLiteral("other")),
                              timed ? QStringLiteral(" ms") : QString());
        }
        if (f.contains(QStringLiteral("note")))
            notes << QStringLiteral("%1 %2: %3").arg(r.size, r.c.id, f.value(QStringLiteral("note")));
        table << QStringList{r.c.perSize ? r.size : QStringLiteral("-"),
                             title,
                             f.value(QStringLiteral("rows"), QStringLiteral("-")),
                             fixed(first),
                             fixed(ratio, 2),
                             fixed(act),
                             fixed(actRatio, 2),
                             fixed(last),
                             fixed(lastRatio, 2),
                             fixed(figure(f, "page")),
                             (print && peak >= 0 ? QStringLiteral("+") : QString()) + fixed(peak, 0),
                             fixed(figure(f, "bfirst"), 2),
                             fixed(all),
                             missed.isEmpty() ? (limit > 0 || actGoal > 0 ? QStringLiteral("ok") : QString())
                                              : missed.join(u',')};
    }
    QList<int> widths;
    for (int c = 0; c < heads.size(); ++c) {
        int w = int(heads.at(c).size());
        for (const QStringList &row : table)
            w = std::max(w, int(row.at(c).size()));
        widths << w;
    }
    auto line = [&](const QStringList &cells) {
        QString s;
        for (int c = 0; c < cells.size(); ++c) {
            const bool left = c == 1 || c == 0 || c == cells.size() - 1;
            s += (left ? cells.at(c).leftJustified(widths.at(c)) : cells.at(c).rightJustified(widths.at(c)));
            s += c + 1 < cells.size() ? QStringLiteral("  ") : QString();
        }
        out << s.trimmed() << '\n';
    };
    line(heads);
    for (const QStringList &row : table)
        line(row);
    out << "\nGoals: first screen ÷goal <= 1 (300 ms and 2x bare first screen + empty window show "
        << fixed(figure(empty, "show"), 1) << " ms; pickers " << kPickerMs << " ms; start-up " << kStartRatio
        << "x the empty window's start; print " << kPrintRatio << "x the plain paint's wall and CPU time), act ÷goal <= 1 (one cheque "
        << kOneChequeMs << " ms; a save with a half-read view open " << kSaveRatio
        << "x the same save with nothing open; OK after one cell and a picker's activation " << kOkMs << " ms; Add "
        << kAddMs << " ms; Page Up after a jump: the slowest of 20 presses " << kJumpMs << " ms and " << kPressSpread
        << "x the median press), last row <= " << kLastRowRatio << "x bare all rows, page <= " << kPageMs
        << " ms, peak <= " << kPeakMb << " MB (a print's growth <= " << kPrintPeakMb << " MB).\n"
        << "first: open until the first screen is painted (where a button retrieves: the window painted, then the "
           "act); act: the click on the button that retrieves (查询) until its result is painted, for a save the click on "
           "存盘 until it returns (the editor and picker-again cases: OK, Add, the picker's activation); last: Ctrl+End (a "
           "report: its scroll bar's end) and the row count; page: mean of "
        << bench::kPages << " pages down from the top (pages 91-100, past the first read, in the notes); peak: VmHWM of the case's process; bare: the same SELECT on the same "
        << "connection through SQLite's own interface (first " << bench::kScreenRows << " rows, all rows).\n";
    for (const QString &n : notes)
        out << "  " << n << '\n';
    out.flush();
}
} // namespace

int main(int argc, char **argv)
{
    // A case's process: everything it measures starts here, before its application exists.
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--child") == 0) {
            QString folder, cache;
            int rows = 0, plainPages = 0;
            for (int j = 1; j + 1 < argc; ++j) {
                if (qstrcmp(argv[j], "--folder") == 0)
                    folder = QString::fromLocal8Bit(argv[j + 1]);
                else if (qstrcmp(argv[j], "--cache") == 0)
                    cache = QString::fromLocal8Bit(argv[j + 1]);
                else if (qstrcmp(argv[j], "--rows") == 0)
                    rows = std::atoi(argv[j + 1]);
                else if (qstrcmp(argv[j], "--plain") == 0)
                    plainPages = std::atoi(argv[j + 1]);
            }
            services::keepFreedHeap(); // as the program's start makes it
            return bench::runCase(argc, argv, QString::fromLocal8Bit(argv[i + 1]), folder, cache, rows, plainPages);
        }

    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the data views on generated registers."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"), QStringLiteral("Data sets: 10k,100k,1m (default all)."),
                                   QStringLiteral("list"), QStringLiteral("10k,100k,1m"));
    const QCommandLineOption cases(QStringLiteral("cases"),
                                   QStringLiteral("Only the cases whose name contains one of these words."),
                                   QStringLiteral("list"));
    const QCommandLineOption cache(
        QStringLiteral("cache"), QStringLiteral("Folder of the generated data sets."), QStringLiteral("folder"),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quillanx-bench"));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
                                    QStringLiteral("Runs each case this many times and shows the medians."),
                                    QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption list(QStringLiteral("list"), QStringLiteral("Lists the cases."));
    parser.addOptions({sizes, cases, cache, repeat, list});
    parser.process(app);

    if (parser.isSet(list)) {
        for (const bench::Case &c : bench::allCases())
            std::printf("%-16s %s\n", qPrintable(c.id), qPrintable(c.title));
        return 0;
    }
    QList<bench::DataSet> sets;
    for (const QString &label : parser.value(sizes).split(u',', Qt::SkipEmptyParts)) {
        bench::DataSet set;
        if (!bench::dataSetFor(label, set)) {
            err() << "bench: unknown size " << label << " (10k, 100k or 1m)\n";
            return 2;
        }
        sets << set;
    }
    const QStringList words = parser.value(cases).split(u',', Qt::SkipEmptyParts);
    auto wanted = [&](const bench::Case &c) {
        return words.isEmpty() || std::any_of(words.begin(), words.end(), [&](const QString &w) {
                   return c.id.contains(w.trimmed());
               });
    };
    if (sets.isEmpty())
        return 2;

    const QString folder = parser.value(cache);
    QDir().mkpath(folder);
    for (const bench::DataSet &set : sets) {
        QElapsedTimer timer;
        timer.start();
        if (const QString error = bench::ensureDataSet(folder, set); !error.isEmpty()) {
            err() << "bench: cannot build the " << set.label << " data set: " << error << '\n';
            return 1;
        }
        err() << "bench: data set " << set.label << " ready in " << timer.elapsed() / 1000.0 << " s\n";
        err().flush();
    }

    QList<Result> results;
    Figures empty;
    bool failed = false;
    for (const bench::DataSet &set : sets) {
        warmFileCache(QDir(bench::dataSetFolder(folder, set)).filePath(QStringLiteral("DATABASE/nardelo.db")));
        for (const bench::Case &c : bench::allCases()) {
            // The empty window is the reference of every first screen: always measured, once.
            const bool reference = c.id == u"empty";
            if ((!c.perSize && &set != &sets.first()) || (!reference && !wanted(c)))
                continue;
            Result r = runChild(folder, set, c);
            QList<Figures> runs{r.f};
            for (int i = 1; i < parser.value(repeat).toInt() && r.failure.isEmpty(); ++i) {
                const Result again = runChild(folder, set, c);
                r.failure = again.failure;
                runs << again.f;
            }
            r.f = medians(runs);
            failed = failed || !r.failure.isEmpty();
            if (reference)
                empty = r.f;
            results << r;
        }
    }
    printTable(results, empty);
    return failed ? 1 : 0;
}
