#include "platform/printjob.h"

#include "platform/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <iterator>
#include <map>
#include <memory>
#include <optional>

// All calls come from the user-interface thread; the state is not locked.
namespace print {
namespace {

struct Job {
    std::unique_ptr<QPrinter> ownPrinter; // a per-job printer (PDF or the system default); null for the shared one
    QPrinter *printer = nullptr;
    std::unique_ptr<QPainter> painter; // null for a recording job: nothing is drawn
    QMap<int, QFont> fonts;
    int selected = 0; // 0: nothing selected yet, the default font
    qreal lineCursor = 0; // top of the next line() text, thousandths of an inch
    QString file; // the PDF being written, if any
    QPageLayout layout; // the page printed on
    std::optional<QPageLayout> restore; // the shared printer's own page, put back when the job ends
};

struct State {
    Backend backend = Backend::Automatic;
    std::map<int, std::unique_ptr<Job>> jobs;
    int nextJob = 1;
    QString error;
    QString lastFile;
    QList<Call> calls;
    std::unique_ptr<QPrinter> appPrinter;
    bool appPrinterChosen = false; // the operator confirmed the set-up dialog at least once
    bool cleanupRegistered = false;
};

State &state()
{
    static State s;
    return s;
}

// Printers and painters must go before the application object does (the print plugins live there).
void cleanup()
{
    State &s = state();
    s.jobs.clear();
    s.appPrinter.reset();
    s.appPrinterChosen = false;
    s.cleanupRegistered = false;
}

void ensureCleanup()
{
    State &s = state();
    if (!s.cleanupRegistered && QCoreApplication::instance()) {
        qAddPostRoutine(cleanup);
        s.cleanupRegistered = true;
    }
}

// Starts a call: clears the error and records the call for the test backends.
void begin(const char *op, int job, const QVariantList &args)
{
    State &s = state();
    s.error.clear();
    if (s.backend == Backend::Recording || s.backend == Backend::Failing)
        s.calls << Call{QString::fromLatin1(op), job, args};
}

int fail(const QString &error)
{
    state().error = error;
    return -1;
}

Job *findJob(int job)
{
    State &s = state();
    const auto it = s.jobs.find(job);
    if (it == s.jobs.end()) {
        s.error = QStringLiteral("No print job %1 is open.").arg(job);
        return nullptr;
    }
    return it->second.get();
}

qreal pointsOf(int height)
{
    if (height < 0)
        return -height;
    if (height == 0)
        return 9; // a missing font row reaches here; 9 points keeps the texts legible
    return height * 72.0 / 1000.0; // a positive height is in the print unit
}

QFont makeFont(const QString &face, int height, int weight, int pitch, int family, bool italic, bool underline)
{
    QFont font(face);
    font.setPointSizeF(pointsOf(height));
    // The weights are the 100..900 scale that QFont uses too; 0 means "don't care".
    font.setWeight(QFont::Weight(weight <= 0 ? 400 : qBound(1, weight, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    // Pitch and family only steer the choice of a fallback when the face is not installed.
    static const QFont::StyleHint hints[] = {QFont::AnyStyle, QFont::Serif,   QFont::SansSerif,
                                             QFont::TypeWriter, QFont::Cursive, QFont::Decorative};
    if (family > 0 && family < int(std::size(hints)))
        font.setStyleHint(hints[family]);
    if (pitch == 1)
        font.setFixedPitch(true);
    return font;
}

const QFont &defaultFont()
{
    static const QFont font = makeFont(QStringLiteral("宋体"), 0, 400, 0, 0, false, false);
    return font;
}

const QFont &selectedFont(const Job &job)
{
    const auto it = job.fonts.constFind(job.selected);
    return it == job.fonts.constEnd() ? defaultFont() : *it;
}

// Draws text with its top-left corner at (x, y) thousandths of an inch; returns the line height in the same unit.
qreal draw(Job &job, const QFont &font, const QString &text, qreal x, qreal y)
{
    QPainter &p = *job.painter;
    const qreal dpiX = p.device()->logicalDpiX();
    const qreal dpiY = p.device()->logicalDpiY();
    p.setFont(font);
    const QFontMetricsF metrics(p.font(), p.device());
    if (!text.isEmpty())
        p.drawText(QPointF(x * dpiX / 1000.0, y * dpiY / 1000.0 + metrics.ascent()), text);
    return metrics.lineSpacing() * 1000.0 / dpiY;
}

// Reserves a new file in PRINTOUT/ named by the time and the job number; an existing file is never reused.
QString reservePdfFile(int job)
{
    QDir dir = QDir::current();
    const QString folder = QStringLiteral("PRINTOUT");
    if (!dir.mkpath(folder) || !dir.cd(folder)) {
        fail(QStringLiteral("Cannot create the folder %1.").arg(QDir::current().filePath(folder)));
        return {};
    }
    const QString stem =
        QStringLiteral("%1-job%2").arg(services::now().toString(QStringLiteral("yyyyMMdd-HHmmss"))).arg(job);
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + QStringLiteral(".pdf") : QStringLiteral("%1-%2.pdf").arg(stem).arg(n);
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists()) {
            fail(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
            return {};
        }
    }
    fail(QStringLiteral("No free file name for %1 in %2.").arg(stem, dir.path()));
    return {};
}

bool openPdf(Job &job, int number)
{
    job.file = reservePdfFile(number);
    if (job.file.isEmpty())
        return false;
    job.ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    job.printer = job.ownPrinter.get();
    job.printer->setOutputFormat(QPrinter::PdfFormat);
    job.printer->setOutputFileName(job.file);
    // The PDF stands in for the paper the operator chose; without a choice, A4 with the whole sheet printable.
    State &s = state();
    if (s.appPrinterChosen)
        job.printer->setPageLayout(s.appPrinter->pageLayout());
    else
        job.printer->setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return true;
}

QString systemPrinterName()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty())
        return name;
    const QStringList names = QPrinterInfo::availablePrinterNames();
    return names.isEmpty() ? QString() : names.first();
}

QPageLayout withPaper(const Paper &paper, const QPageLayout &current)
{
    return QPageLayout(paper.size.value_or(current.pageSize()),
                       paper.size ? QPageLayout::Portrait : current.orientation(), paper.margins,
                       QPageLayout::Millimeter);
}

// Opens a job for a form (no paper) or for a document painted page by page on the paper it asks for.
int start(const QString &documentName, const Paper *paper)
{
    State &s = state();
    const int number = s.nextJob;
    if (s.backend == Backend::Failing) {
        begin("open", -1, {documentName});
        return fail(QStringLiteral("No print job can be opened: printing is switched off."));
    }
    begin("open", number, {documentName});
    ensureCleanup();

    auto job = std::make_unique<Job>();
    if (s.backend == Backend::Recording) {
        const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
        job->layout = paper ? withPaper(*paper, a4) : a4;
        s.jobs[number] = std::move(job);
        ++s.nextJob;
        return number;
    }

    QString printerName;
    if (s.backend == Backend::Pdf) {
        if (!openPdf(*job, number))
            return -1;
    } else if (s.appPrinterChosen) {
        for (const auto &[n, other] : s.jobs) {
            if (other->printer == s.appPrinter.get())
                return fail(QStringLiteral("The printer is busy with print job %1.").arg(n));
        }
        job->printer = s.appPrinter.get();
    } else if (printerName = systemPrinterName(); !printerName.isEmpty()) {
        job->ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        job->printer = job->ownPrinter.get();
        job->printer->setPrinterName(printerName);
    } else if (!openPdf(*job, number)) {
        return -1;
    }

    if (!documentName.isEmpty())
        job->printer->setDocName(documentName);
    if (paper) {
        if (!job->ownPrinter)
            job->restore = job->printer->pageLayout();
        job->printer->setPageLayout(withPaper(*paper, job->printer->pageLayout()));
    }
    job->layout = job->printer->pageLayout();
    job->painter = std::make_unique<QPainter>();
    if (!job->painter->begin(job->printer)) {
        if (job->restore)
            job->printer->setPageLayout(*job->restore);
        if (!job->file.isEmpty())
            QFile::remove(job->file);
        QString target = job->printer->outputFileName();
        if (target.isEmpty())
            target = job->printer->printerName();
        return fail(target.isEmpty() ? QStringLiteral("Cannot start printing.")
                                     : QStringLiteral("Cannot start printing on %1.").arg(target));
    }
    s.jobs[number] = std::move(job);
    ++s.nextJob;
    return number;
}

// Takes a job out of the open ones; null (with the error set) when there is none.
std::unique_ptr<Job> takeJob(int job)
{
    State &s = state();
    const auto it = s.jobs.find(job);
    if (it == s.jobs.end()) {
        fail(QStringLiteral("No print job %1 is open.").arg(job));
        return nullptr;
    }
    std::unique_ptr<Job> j = std::move(it->second);
    s.jobs.erase(it);
    return j;
}

// Ends the painting of a job that has a painter, and gives the shared printer its own page back.
bool endPainting(Job &job)
{
    const bool ended = job.painter->end();
    if (job.restore)
        job.printer->setPageLayout(*job.restore);
    return ended;
}

} // namespace

int open(const QString &documentName) { return start(documentName, nullptr); }

int openPaged(const QString &documentName, const Paper &paper) { return start(documentName, &paper); }

QPageLayout pageLayout(int job)
{
    const auto it = state().jobs.find(job);
    return it == state().jobs.end() ? QPageLayout() : it->second->layout;
}

QPainter *painter(int job)
{
    const auto it = state().jobs.find(job);
    return it == state().jobs.end() ? nullptr : it->second->painter.get();
}

int newPage(int job)
{
    begin("newPage", job, {});
    Job *j = findJob(job);
    if (!j)
        return -1;
    if (j->painter && !j->printer->newPage())
        return fail(QStringLiteral("A new page of print job %1 could not be started.").arg(job));
    j->lineCursor = 0;
    return 1;
}

int defineFont(int job, int number, const QString &face, int height, int weight, int pitch, int family, bool italic,
               bool underline)
{
    begin("defineFont", job, {number, face, height, weight, pitch, family, italic, underline});
    Job *j = findJob(job);
    if (!j)
        return -1;
    if (number <= 0)
        return fail(QStringLiteral("Font number %1 is not valid; fonts are numbered from 1.").arg(number));
    j->fonts[number] = makeFont(face, height, weight, pitch, family, italic, underline);
    return 1;
}

int setFont(int job, int number)
{
    begin("setFont", job, {number});
    Job *j = findJob(job);
    if (!j)
        return -1;
    if (!j->fonts.contains(number))
        return fail(QStringLiteral("Font %1 is not defined in print job %2.").arg(number).arg(job));
    j->selected = number;
    return 1;
}

int text(int job, const QString &text, int x, int y, int fontNumber)
{
    begin("text", job, {text, x, y, fontNumber});
    Job *j = findJob(job);
    if (!j)
        return -1;
    const QFont *font = &selectedFont(*j);
    if (fontNumber > 0) {
        const auto it = j->fonts.constFind(fontNumber);
        if (it == j->fonts.constEnd())
            return fail(QStringLiteral("Font %1 is not defined in print job %2.").arg(fontNumber).arg(job));
        font = &*it;
    }
    if (j->painter && !text.isEmpty())
        draw(*j, *font, text, x, y);
    return 1;
}

int line(int job, const QString &text)
{
    begin("line", job, {text});
    Job *j = findJob(job);
    if (!j)
        return -1;
    if (j->painter)
        j->lineCursor += draw(*j, selectedFont(*j), text, 0, j->lineCursor);
    return 1;
}

int close(int job)
{
    begin("close", job, {});
    const std::unique_ptr<Job> j = takeJob(job);
    if (!j)
        return -1;
    if (!j->painter)
        return 1;
    State &s = state();
    if (!endPainting(*j))
        return fail(QStringLiteral("The page of print job %1 could not be sent.").arg(job));
    if (j->file.isEmpty()) {
        s.lastFile.clear();
        return 1;
    }
    if (QFileInfo(j->file).size() == 0)
        return fail(QStringLiteral("Nothing was written to %1.").arg(j->file));
    s.lastFile = QFileInfo(j->file).absoluteFilePath();
    return 1;
}

int abort(int job)
{
    begin("abort", job, {});
    const std::unique_ptr<Job> j = takeJob(job);
    if (!j)
        return -1;
    if (!j->painter)
        return 1;
    // Where the driver cannot drop the job, the pages painted so far are all that is sent.
    j->printer->abort();
    endPainting(*j);
    if (!j->file.isEmpty())
        QFile::remove(j->file);
    return 1;
}

QString lastError() { return state().error; }

QString lastOutputFile() { return state().lastFile; }

QFont jobFont(int job, int number)
{
    const auto it = state().jobs.find(job);
    if (it == state().jobs.end())
        return {};
    const Job &j = *it->second;
    if (number == 0)
        return selectedFont(j);
    return j.fonts.value(number);
}

QPrinter *applicationPrinter()
{
    const State &s = state();
    return s.appPrinterChosen ? s.appPrinter.get() : nullptr;
}

bool printerSetup(QWidget *parent)
{
    State &s = state();
    ensureCleanup();
    if (!s.appPrinter)
        s.appPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    for (const auto &[n, job] : s.jobs) {
        if (job->printer == s.appPrinter.get())
            return false; // a page is being printed on it: its settings must not change under the painter
    }
    QPrintDialog dialog(s.appPrinter.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    s.appPrinterChosen = true;
    return true;
}

bool systemHasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void setBackend(Backend backend) { state().backend = backend; }

QList<Call> recorded() { return state().calls; }

void clearRecorded() { state().calls.clear(); }

} // namespace print
