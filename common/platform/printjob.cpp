#include "platform/printjob.h"

#include "platform/services.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

#include <filesystem>
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
    // A PDF is written under a hidden name beside its own and takes that name only once the job is complete,
    // so that a cancelled, failed or killed job never leaves a partial PDF under a normal name.
    QString part;        // the file being written; empty for a printer
    QString file;        // the name it is given: our own PDF's first choice, or the printer's output file
    bool replace = false; // the printer's output file replaces one of that name, as the printer would
    QPageLayout layout; // the page printed on
    std::optional<QPageLayout> restore; // the shared printer's own page, put back when the job ends
    std::optional<QString> restoreOutput; // the shared printer's own output file, put back when the job ends

    Job() = default;
    Job(const Job &) = delete;
    Job &operator=(const Job &) = delete;
    // A job still open when the program ends is dropped, not sent.
    ~Job()
    {
        if (painter && painter->isActive()) {
            printer->abort();
            painter->end();
        }
        if (!part.isEmpty())
            QFile::remove(part);
    }
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
        fail(QStringLiteral("打印作业 %1 没有打开。").arg(job));
        return nullptr;
    }
    return it->second.get();
}

int noFont(int job, int number) { return fail(QStringLiteral("打印作业 %2 没有定义字体 %1。").arg(number).arg(job)); }

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

// A file or folder the system refused, in the operator's words, the system's own text after it.
QString fileFailure(const QString &what, int error)
{
    const QString system = QString::fromLocal8Bit(std::strerror(error));
    return error == ENOSPC ? QStringLiteral("磁盘已满，%1：%2").arg(what, system)
                           : QStringLiteral("%1：%2").arg(what, system);
}

// The hidden name a PDF is written under: ".name.pdf.part" beside its own name.
QString partName(const QString &file)
{
    const QFileInfo info(file);
    return info.dir().filePath(QStringLiteral(".%1.part").arg(info.fileName()));
}

// The n-th name our own PDF may take: name.pdf, then name-2.pdf, name-3.pdf …
constexpr int kPdfNames = 10000;
QString numberedName(const QString &file, int n)
{
    return n == 1 ? file : QStringLiteral("%1-%2.pdf").arg(file.chopped(4)).arg(n);
}

void noFreeName(const QString &folder)
{
    fail(QStringLiteral("文件夹 %1 中没有可用的文件名。").arg(QDir::toNativeSeparators(folder)));
}

QString cannotWrite(const QString &file) { return QStringLiteral("无法写入文件 %1").arg(QDir::toNativeSeparators(file)); }

// PRINTOUT/ under the current directory, where the program's PDFs go.
QDir printoutFolder() { return QDir(QDir::current().absoluteFilePath(QStringLiteral("PRINTOUT"))); }

// Makes PRINTOUT/ where it is missing; false when it cannot be made (the reason in lastError()).
bool makePrintoutFolder()
{
    const QDir dir = printoutFolder();
    const std::filesystem::path folder(QFile::encodeName(dir.path()).toStdString());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder))
        error = std::make_error_code(std::errc::not_a_directory);
    if (error) {
        fail(fileFailure(QStringLiteral("无法建立文件夹 %1").arg(QDir::toNativeSeparators(dir.path())), error.value()));
        return false;
    }
    return true;
}

// Our own PDF: PRINTOUT/, named by the time and the job number. The file written is reserved here; its name is
// found when the job is complete, and an existing file is never reused.
bool reservePdfFile(Job &job, int number)
{
    if (!makePrintoutFolder())
        return false;
    const QDir dir = printoutFolder();
    job.file = dir.filePath(
        QStringLiteral("%1-job%2.pdf").arg(services::now().toString(QStringLiteral("yyyyMMdd-HHmmss"))).arg(number));
    for (int n = 1; n < kPdfNames; ++n) {
        QFile part(partName(numberedName(job.file, n)));
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            job.part = part.fileName();
            return true;
        }
        const int error = errno;
        if (!part.exists()) {
            fail(fileFailure(cannotWrite(part.fileName()), error));
            return false;
        }
    }
    noFreeName(dir.path());
    return false;
}

// Gives a complete PDF its name: our own takes the first name not taken (name.pdf, name-2.pdf …), the
// printer's output file replaces a file of that name. The name given, or empty (the reason in lastError()).
QString publish(Job &job)
{
    if (job.replace) {
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(job.part).toStdString(), QFile::encodeName(job.file).toStdString(),
                                error);
        if (error) {
            fail(fileFailure(cannotWrite(job.file), error.value()));
            return {};
        }
        job.part.clear();
        return job.file;
    }
    for (int n = 1; n < kPdfNames; ++n) {
        const QString name = numberedName(job.file, n);
        if (QFile::exists(name))
            continue;
        QFile part(job.part);
        if (part.rename(name)) { // never over a file that took the name meanwhile
            job.part.clear();
            return name;
        }
        if (!QFile::exists(name)) {
            fail(cannotWrite(name) + QStringLiteral("：") + part.errorString());
            return {};
        }
    }
    noFreeName(QFileInfo(job.file).path());
    return {};
}

bool openPdf(Job &job, int number)
{
    if (!reservePdfFile(job, number))
        return false;
    job.ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    job.printer = job.ownPrinter.get();
    job.printer->setOutputFormat(QPrinter::PdfFormat);
    job.printer->setOutputFileName(job.part);
    // The PDF stands in for the paper the operator chose; without a choice, A4 with the whole sheet printable.
    State &s = state();
    if (s.appPrinterChosen)
        job.printer->setPageLayout(s.appPrinter->pageLayout());
    else
        job.printer->setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return true;
}

// A printer the printer settings set to write a PDF file writes it under the hidden name too. False when that
// file cannot be written (the reason in lastError()).
bool writeOutputFileAside(Job &job)
{
    const QString output = job.printer->outputFileName();
    if (!job.part.isEmpty() || output.isEmpty())
        return true;
    // The file the set-up dialog offers is in PRINTOUT/, which may not be there (yet, or any more).
    if (QFileInfo(output).absoluteDir() == printoutFolder() && !makePrintoutFolder())
        return false;
    QFile part(partName(output));
    if (!part.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int error = errno;
        fail(fileFailure(cannotWrite(output), error));
        return false;
    }
    job.file = output;
    job.part = part.fileName();
    job.replace = true;
    if (!job.ownPrinter)
        job.restoreOutput = output;
    job.printer->setOutputFileName(job.part);
    return true;
}

// A PDF ends with "%%EOF"; one without was cut short, where the disk was full unless it has room left.
QString unfinishedFile(const Job &job)
{
    QFile file(job.part);
    if (file.open(QIODevice::ReadOnly) && file.seek(qMax<qint64>(0, file.size() - 64))
        && file.readAll().contains("%%EOF"))
        return {};
    const QString what = QStringLiteral("文件 %1 没有写完整").arg(QDir::toNativeSeparators(job.file));
    if (QStorageInfo(QFileInfo(job.part).absolutePath()).bytesAvailable() < 1024 * 1024)
        return fileFailure(what, ENOSPC);
    return what + QStringLiteral("。");
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
                       paper.orientation.value_or(paper.size ? QPageLayout::Portrait : current.orientation()),
                       paper.margins,
                       QPageLayout::Millimeter);
}

// Opens a job for a form (no paper) or for a document painted page by page on the paper it asks for.
// Gives the shared printer its own page layout and output file back.
void restorePrinter(Job &job)
{
    if (job.restore)
        job.printer->setPageLayout(*job.restore);
    if (job.restoreOutput)
        job.printer->setOutputFileName(*job.restoreOutput);
}

int start(const QString &documentName, const Paper *paper)
{
    State &s = state();
    const int number = s.nextJob;
    if (s.backend == Backend::Failing) {
        begin("open", -1, {documentName});
        return fail(QStringLiteral("打印已关闭，不能开始打印作业。"));
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
                return fail(QStringLiteral("打印机正在打印作业 %1。").arg(n));
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
    if (!writeOutputFileAside(*job))
        return -1;
    if (paper) {
        if (!job->ownPrinter)
            job->restore = job->printer->pageLayout();
        job->printer->setPageLayout(withPaper(*paper, job->printer->pageLayout()));
    }
    job->layout = job->printer->pageLayout();
    job->painter = std::make_unique<QPainter>();
    if (!job->painter->begin(job->printer)) {
        restorePrinter(*job);
        if (!job->file.isEmpty())
            return fail(cannotWrite(job->file) + QStringLiteral("。"));
        return fail(QStringLiteral("打印机 %1 拒绝了打印作业。").arg(job->printer->printerName()));
    }
    s.jobs[number] = std::move(job);
    ++s.nextJob;
    return number;
}

// Takes a job out of the open ones; null (with the error set) when there is none.
std::unique_ptr<Job> takeJob(int job)
{
    if (!findJob(job))
        return nullptr;
    State &s = state();
    const auto it = s.jobs.find(job);
    std::unique_ptr<Job> j = std::move(it->second);
    s.jobs.erase(it);
    return j;
}

// Ends the painting of a job that has a painter, and gives the shared printer its own page and file back.
bool endPainting(Job &job)
{
    const bool ended = job.painter->end();
    restorePrinter(job);
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
        return fail(j->part.isEmpty()
                        ? QStringLiteral("打印机 %1 拒绝了打印作业 %2 的新一页。").arg(j->printer->printerName()).arg(job)
                        : QStringLiteral("文件 %1 不能再写入新的一页。").arg(QDir::toNativeSeparators(j->file)));
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
        return fail(QStringLiteral("字体编号 %1 无效，字体从 1 开始编号。").arg(number));
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
        return noFont(job, number);
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
            return noFont(job, fontNumber);
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
        return fail(j->part.isEmpty()
                        ? QStringLiteral("打印机 %1 拒绝了打印作业 %2。").arg(j->printer->printerName()).arg(job)
                        : QStringLiteral("无法写完文件 %1。").arg(QDir::toNativeSeparators(j->file)));
    if (j->part.isEmpty()) {
        s.lastFile.clear();
        return 1;
    }
    if (const QString unfinished = unfinishedFile(*j); !unfinished.isEmpty())
        return fail(unfinished);
    const QString name = publish(*j);
    if (name.isEmpty())
        return -1;
    s.lastFile = QFileInfo(name).absoluteFilePath();
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
    // Where the driver cannot drop the job, the pages painted so far are all that is sent. A PDF goes with
    // the job (the destructor removes it).
    j->printer->abort();
    endPainting(*j);
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

namespace {
// The application printer, made when first needed.
QPrinter &appPrinter()
{
    State &s = state();
    ensureCleanup();
    if (!s.appPrinter)
        s.appPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *s.appPrinter;
}
} // namespace

bool printerSetup(QWidget *parent)
{
    State &s = state();
    appPrinter();
    for (const auto &[n, job] : s.jobs) {
        if (job->printer == s.appPrinter.get())
            return false; // a page is being printed on it: its settings must not change under the painter
    }
    QPrintDialog dialog(s.appPrinter.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Printed to a file, the printer writes where the program's own PDFs go (the dialog's own offer is the
    // home folder, or the folder itself without a name), named by the time as they are; the folder is made,
    // as the dialog takes no file in a folder that is not there. A file chosen before stays.
    if (auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
        file && s.appPrinter->outputFileName().isEmpty() && makePrintoutFolder())
        file->setText(QDir::toNativeSeparators(printoutFolder().filePath(
            services::now().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".pdf"))));
    const ui::NestedLoop loop([&dialog] { dialog.reject(); });
    if (dialog.exec() != QDialog::Accepted)
        return false;
    s.appPrinterChosen = true;
    return true;
}

bool systemHasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void setBackend(Backend backend) { state().backend = backend; }

QPrinter *chooseApplicationPrinter(bool chosen)
{
    appPrinter();
    state().appPrinterChosen = chosen;
    return applicationPrinter();
}

QList<Call> recorded() { return state().calls; }

void clearRecorded() { state().calls.clear(); }

} // namespace print
