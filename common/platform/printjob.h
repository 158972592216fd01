#pragma once
#include "platform/export.h"
#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

// Print jobs in the shape the forms use them: open a job, define numbered fonts, select one, print
// texts at (x, y) in thousandths of an inch from the top-left corner of the printable area ((x, y) is the
// top-left corner of the text), print a line at the line cursor, close. Backends: the application's
// printer; a PDF file per job in PRINTOUT/ under the current directory when the system has no printer;
// and a recording backend for tests. Lists and grids print through the same jobs, painting whole pages.
namespace print {

// Opens a job; its number, or -1 when no job can be opened (the reason in lastError()).
COMMON_EXPORT int open(const QString &documentName = QString());
// height < 0: points; 0: 9 points. weight 400 normal, 700 bold, 800 heavy.
COMMON_EXPORT int defineFont(int job, int number, const QString &face, int height, int weight, int pitch, int family,
                             bool italic, bool underline);
COMMON_EXPORT int setFont(int job, int number);
// fontNumber > 0 prints in that font without changing the selected one.
COMMON_EXPORT int text(int job, const QString &text, int x, int y, int fontNumber = 0);
COMMON_EXPORT int line(int job, const QString &text);
// Sends the page; returns 1, or -1 on failure.
COMMON_EXPORT int close(int job);
// Ends a job without sending it: a PDF is removed, a printer drops the job where its driver can.
COMMON_EXPORT int abort(int job);
COMMON_EXPORT QString lastError();
// The file of the last PDF a job wrote: our own, or the file the printer settings name (empty for paper). A PDF is
// written as ".name.part" and takes its name only when the job is complete; cancel and failure remove it.
COMMON_EXPORT QString lastOutputFile();
// The font an open job prints font number n in (0: the selected font); a default QFont for an unknown job or number.
COMMON_EXPORT QFont jobFont(int job, int number = 0);

// Documents painted page by page (lists, grids). The paper they ask for: a size (none: the printer's own),
// margins in millimetres, and an orientation (none: portrait for a size asked for, else the printer's own).
struct Paper {
    std::optional<QPageSize> size;
    QMarginsF margins;
    std::optional<QPageLayout::Orientation> orientation = {};
};
// Opens a job on the paper the document asks for, on the same printer a form's job goes to; the printer's
// own settings come back when the job ends. Its number, or -1 (the reason in lastError()).
COMMON_EXPORT int openPaged(const QString &documentName, const Paper &paper);
// The page the job prints on (also for a recording job, which has no printer).
COMMON_EXPORT QPageLayout pageLayout(int job);
// The painter of a job; null for a recording job or an unknown one.
COMMON_EXPORT QPainter *painter(int job);
// Starts the next page of a paged job; 1, or -1 on failure.
COMMON_EXPORT int newPage(int job);

// The one application-wide printer chosen in the printer set-up dialog; null until then.
COMMON_EXPORT QPrinter *applicationPrinter();
// Shows the printer set-up dialog on the application printer. True when the operator confirmed.
COMMON_EXPORT bool printerSetup(QWidget *parent);
COMMON_EXPORT bool systemHasPrinter();

// Recording backend for tests: every call, in order.
struct Call {
    QString op; // "open", "defineFont", "setFont", "text", "line", "newPage", "close", "abort"
    int job = 0;
    QVariantList args;
};
enum class Backend { Automatic, Pdf, Recording, Failing };
COMMON_EXPORT void setBackend(Backend backend);
// The application printer as the set-up dialog leaves it, chosen without the dialog; with false, none is chosen
// again (null).
COMMON_EXPORT QPrinter *chooseApplicationPrinter(bool chosen = true);
COMMON_EXPORT QList<Call> recorded();
COMMON_EXPORT void clearRecorded();

} // namespace print
