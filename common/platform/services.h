#pragma once
#include "platform/export.h"
#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace services {
// Today's date; tests fix it.
COMMON_EXPORT QDate today();
COMMON_EXPORT QDateTime now();
COMMON_EXPORT void setClock(std::function<QDateTime()> clock);

// The current directory without a trailing separator.
COMMON_EXPORT QString currentDirectory();

// Screen size in pixels; false when no screen is known.
COMMON_EXPORT bool screenSize(int &width, int &height);

// A picture by the name the windows use ("001\k01.bmp" is the resource 001/k01.svg). Each picture is drawn
// once per size: at its drawn size it comes from the image the build drew (rasterResource), else from the
// drawing; repeated requests share the pixmap.
COMMON_EXPORT QString pictureResource(const QString &name);
COMMON_EXPORT QPixmap picture(const QString &name, const QSize &size = {});
// The drawing (an SVG file or resource) at `size` (its drawn size when invalid) and pixel ratio; null when
// it cannot be read. The build draws the rasters with it, so they equal what the program would draw.
COMMON_EXPORT QImage drawPicture(const QString &file, const QSize &size = {}, qreal devicePixelRatio = 1.0);
// The image of a picture at its drawn size as the build drew it (":/raster/001/k01.argb"): its pixels as they
// are painted (premultiplied ARGB), so showing it costs a copy and no decoding. saveRaster writes one.
COMMON_EXPORT QString rasterResource(const QString &name);
COMMON_EXPORT bool saveRaster(const QImage &image, const QString &file);

// The system's colour values (0x00BBGGRR and the system colours) as colours.
COMMON_EXPORT QColor color(qint64 value);

// The faces the windows name, mapped to the fonts installed here; call once at start.
COMMON_EXPORT void installFontSubstitutes();
// Grid cells draw their text from the cell's edge (no inner margin), as the system's grids were laid out: a
// column as wide as its widest text shows it whole. Call once at start; calling again changes nothing.
COMMON_EXPORT void installGridCellStyle();
// The wait cursor while a statement waits for another program's lock (db::setWaitIndicator). Call once at start.
COMMON_EXPORT void installBusyCursor();
// Qt's own words (the standard buttons of the boxes, the printer dialog) in Chinese, as the rest of the program,
// whatever the locale says. Call once at start; calling again changes nothing.
COMMON_EXPORT void installTranslations();
// A font by face, points and weight (400 normal, 700 bold).
COMMON_EXPORT QFont font(const QString &face, int points, int weight = 400);

// Single instance: true when this process holds the per-user lock (or already held it).
COMMON_EXPORT bool acquireInstanceLock();
COMMON_EXPORT bool anotherInstanceRunning();
COMMON_EXPORT void releaseInstanceLock();
// The lock lives in the user's runtime folder (XDG_RUNTIME_DIR), else in the temp folder; tests set their own.
COMMON_EXPORT void setInstanceLockPath(const QString &path);
COMMON_EXPORT QString instanceLockPath();

// Run a command line, detached, result ignored. Tests install a recorder.
COMMON_EXPORT qint64 runCommand(const QString &program, const QStringList &args = {});
COMMON_EXPORT bool isProcessRunning(qint64 pid);
// Opens a URL or a local file with the desktop.
COMMON_EXPORT bool openUrl(const QString &url);
struct ExternalCall {
    QString what; // "run" or "url"
    QString target;
    QStringList args;
};
COMMON_EXPORT void setExternalRecorder(std::function<qint64(const ExternalCall &)> recorder);

// The system's warning sound, as when a box refuses what the operator put in. Tests count them.
COMMON_EXPORT void beep();
COMMON_EXPORT void setBeepRecorder(std::function<void()> recorder);

// Halt: end the program at once. Halt-close: close all windows in the usual way, then end. Both disconnect
// every transaction first.
COMMON_EXPORT void halt();
COMMON_EXPORT void haltClose();
// SIGTERM, SIGHUP (the desktop's logout) and SIGINT halt the program from its event loop.
COMMON_EXPORT void haltOnEndSignals();
// Made once at the program's start: memory freed at the top of the heap stays for the next use (see the .cpp).
COMMON_EXPORT void keepFreedHeap();
// Tests observe a halt instead of the process ending.
COMMON_EXPORT void setHaltHandler(std::function<void(bool closeWindows)> handler);
} // namespace services
