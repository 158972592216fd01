#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/window.h"
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLockFile>
#include <QPainter>
#include <QPixmapCache>
#include <QProcess>
#include <QProxyStyle>
#include <QResource>
#include <QScreen>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstring>
#include <unistd.h>
#include <memory>
#include <utility>

namespace services {
namespace {
std::function<QDateTime()> &clock()
{
    static std::function<QDateTime()> c;
    return c;
}
std::function<qint64(const ExternalCall &)> &externalRecorder()
{
    static std::function<qint64(const ExternalCall &)> r;
    return r;
}
std::function<void()> &beepRecorder()
{
    static std::function<void()> r;
    return r;
}
std::function<void(bool)> &haltHandler()
{
    static std::function<void(bool)> h;
    return h;
}
QString &lockPath()
{
    static QString p;
    return p;
}
std::unique_ptr<QLockFile> &lockFile()
{
    static std::unique_ptr<QLockFile> l;
    return l;
}
} // namespace

QDateTime now() { return clock() ? clock()() : QDateTime::currentDateTime(); }
QDate today() { return now().date(); }
void setClock(std::function<QDateTime()> c) { clock() = std::move(c); }

QString currentDirectory()
{
    QString dir = QDir::toNativeSeparators(QDir::currentPath());
    while (dir.size() > 1 && dir.endsWith(QDir::separator()))
        dir.chop(1);
    return dir;
}

bool screenSize(int &width, int &height)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    width = screen->size().width();
    height = screen->size().height();
    return true;
}

namespace {
// "001\k01.bmp" -> "001/k01"
QString picturePath(const QString &name)
{
    QString path = name;
    path.replace(u'\\', u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > 0)
        path.truncate(dot);
    return path;
}
} // namespace

QString pictureResource(const QString &name)
{
    return QStringLiteral(":/") + picturePath(name) + QStringLiteral(".svg");
}

QString rasterResource(const QString &name)
{
    return QStringLiteral(":/raster/") + picturePath(name) + QStringLiteral(".argb");
}

namespace {
// A raster: this header, then the rows of a premultiplied ARGB32 image without padding.
struct RasterHeader {
    char magic[4] = {'A', 'R', 'G', 'B'};
    quint32 width = 0;
    quint32 height = 0;
};

QImage readRaster(const QString &resource)
{
    const QResource file(resource);
    if (!file.isValid())
        return {};
    // Stored uncompressed, the bytes are the library's own and outlive this function; else a copy is made.
    const bool inPlace = file.compressionAlgorithm() == QResource::NoCompression;
    const QByteArray data = inPlace ? QByteArray::fromRawData(reinterpret_cast<const char *>(file.data()), file.size())
                                    : file.uncompressedData();
    RasterHeader header;
    if (data.size() < qsizetype(sizeof header))
        return {};
    std::memcpy(&header, data.constData(), sizeof header);
    const qsizetype rowBytes = qsizetype(header.width) * 4;
    if (std::memcmp(header.magic, RasterHeader().magic, 4) != 0
        || data.size() != qsizetype(sizeof header) + rowBytes * header.height)
        return {};
    // The pixels are shown where the library holds them, unless they must be copied: out of a decompressed
    // buffer, or to align them as an image's rows must be.
    const auto *pixels = reinterpret_cast<const uchar *>(data.constData() + sizeof header);
    const QImage image(pixels, int(header.width), int(header.height), rowBytes, QImage::Format_ARGB32_Premultiplied);
    return inPlace && quintptr(pixels) % 4 == 0 ? image : image.copy();
}
} // namespace

bool saveRaster(const QImage &image, const QString &file)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    RasterHeader header;
    header.width = quint32(pixels.width());
    header.height = quint32(pixels.height());
    QFile out(file);
    if (pixels.isNull() || !out.open(QIODevice::WriteOnly))
        return false;
    bool ok = out.write(reinterpret_cast<const char *>(&header), sizeof header) == qint64(sizeof header);
    for (int y = 0; ok && y < pixels.height(); ++y)
        ok = out.write(reinterpret_cast<const char *>(pixels.constScanLine(y)), pixels.width() * 4)
             == pixels.width() * 4;
    return ok;
}

QImage drawPicture(const QString &file, const QSize &size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    const QSize target = size.isValid() ? size : renderer.defaultSize();
    if (target.isEmpty())
        return {};
    QImage image(target * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(target)));
    return image;
}

QPixmap picture(const QString &name, const QSize &size)
{
    // Drawing a picture parses it and loads the fonts of its texts: the start-up's splash alone took most of
    // the time to the login window. Windows ask for the same pictures again at every opening.
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = QStringLiteral("picture:%1:%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(dpr);
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    QImage image;
    if (dpr == 1.0) {
        image = readRaster(rasterResource(name));
        if (size.isValid() && image.size() != size)
            image = QImage();
    }
    if (image.isNull())
        image = drawPicture(pictureResource(name), size, dpr);
    if (image.isNull())
        return {};
    pm = QPixmap::fromImage(std::move(image), Qt::NoOpaqueDetection);
    QPixmapCache::insert(key, pm);
    return pm;
}

QColor color(qint64 value)
{
    switch (value) {
    case 67108864: // button face
    case 79741120:
        return QApplication::palette().color(QPalette::Button);
    case 1073741824: // window background: the ground of text and data, not the dialog face
        return QApplication::palette().color(QPalette::Base);
    case 33554432: // window text
        return QApplication::palette().color(QPalette::WindowText);
    case 134217728: // application workspace
        return QApplication::palette().color(QPalette::Dark);
    case 276856960: // 3-D highlight
        return QApplication::palette().color(QPalette::Light);
    default:
        break;
    }
    const quint32 v = quint32(value & 0xFFFFFF);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("WenQuanYi Zen Hei"));
    QFont::insertSubstitution(QStringLiteral("楷体_GB2312"), QStringLiteral("AR PL UKai CN"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

namespace {
class GridCellStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        // Item views take the cell's text margin from the focus frame's; a grid draws no focus frame in a cell.
        if (metric == PM_FocusFrameHMargin && qobject_cast<const QTableView *>(widget))
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};
} // namespace

void installGridCellStyle()
{
    if (!dynamic_cast<GridCellStyle *>(QApplication::style()))
        QApplication::setStyle(new GridCellStyle);
}

void installTranslations()
{
    static QTranslator *translator = nullptr;
    if (translator || !QCoreApplication::instance())
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

void installBusyCursor()
{
    // The wait blocks the window, so the cursor goes back when the statement reports, or at the latest when
    // the events run again.
    static bool shown = false;
    db::setWaitIndicator([](bool waiting) {
        if (!waiting) {
            if (std::exchange(shown, false))
                QGuiApplication::restoreOverrideCursor();
            return;
        }
        if (shown || !qobject_cast<QGuiApplication *>(QCoreApplication::instance())
            || QThread::currentThread() != QCoreApplication::instance()->thread())
            return;
        shown = true;
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            if (std::exchange(shown, false))
                QGuiApplication::restoreOverrideCursor();
        });
    });
}

QFont font(const QString &face, int points, int weight)
{
    QFont f(face.isEmpty() ? QStringLiteral("宋体") : face);
    f.setPointSize(points > 0 ? points : 9);
    f.setWeight(QFont::Weight(qBound(100, weight, 900)));
    return f;
}

void setInstanceLockPath(const QString &path)
{
    lockFile().reset();
    lockPath() = path;
}

QString instanceLockPath()
{
    if (!lockPath().isEmpty())
        return lockPath();
    // The user's runtime folder is the user's own and this session's: another program's TMPDIR neither
    // finds nor dodges the lock there. Without one, the temp folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = !runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable()
                               ? runtime
                               : QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(folder).filePath(QStringLiteral("quillanx-%1.lock").arg(::getuid()));
}

bool acquireInstanceLock()
{
    if (lockFile() && lockFile()->isLocked())
        return true;
    lockFile() = std::make_unique<QLockFile>(instanceLockPath());
    lockFile()->setStaleLockTime(0);
    if (!lockFile()->tryLock(0)) {
        lockFile().reset();
        return false;
    }
    return true;
}

bool anotherInstanceRunning()
{
    if (lockFile() && lockFile()->isLocked())
        return false;
    QLockFile probe(instanceLockPath());
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    // Only a lock held by a live process is a running instance; a lock that cannot be made is not.
    return probe.error() == QLockFile::LockFailedError;
}

void releaseInstanceLock() { lockFile().reset(); }

void setExternalRecorder(std::function<qint64(const ExternalCall &)> recorder)
{
    externalRecorder() = std::move(recorder);
}

qint64 runCommand(const QString &program, const QStringList &args)
{
    if (externalRecorder())
        return externalRecorder()({QStringLiteral("run"), program, args});
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, QString(), &pid))
        return 0;
    return pid;
}

bool isProcessRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    // A finished child that was not reaped yet still has an entry: it counts as ended.
    return !status.readAll().contains("State:\tZ");
}

bool openUrl(const QString &url)
{
    if (externalRecorder())
        return externalRecorder()({QStringLiteral("url"), url, {}}) >= 0;
    return QDesktopServices::openUrl(QUrl::fromUserInput(url, currentDirectory(), QUrl::AssumeLocalFile));
}

void setBeepRecorder(std::function<void()> recorder) { beepRecorder() = std::move(recorder); }

void beep()
{
    if (beepRecorder())
        beepRecorder()();
    else
        QApplication::beep();
}

void setHaltHandler(std::function<void(bool)> handler) { haltHandler() = std::move(handler); }

namespace {
[[noreturn]] void endNow()
{
    // The last program out leaves the file in the rollback journal, its log emptied into it: one file again.
    db::Transaction::disconnectAll();
    releaseInstanceLock();
    QApplication::exit(0);
    std::exit(0);
}

int signalPipe[2] = {-1, -1};

void onEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

namespace {
// A halt asked for while a nested loop runs (a signal during a print or a box) stops the loops and comes once
// they have unwound: nothing is ended under them.
bool haltAfterLoops(void (*halt)())
{
    if (!ui::NestedLoop::running())
        return false;
    ui::NestedLoop::stop();
    ui::NestedLoop::afterLoops(halt);
    return true;
}
} // namespace

void halt()
{
    if (haltAfterLoops(&halt))
        return;
    if (haltHandler()) {
        haltHandler()(false);
        return;
    }
    endNow();
}

void haltClose()
{
    if (haltAfterLoops(&haltClose))
        return;
    if (haltHandler()) {
        haltHandler()(true);
        return;
    }
    QApplication::closeAllWindows();
    endNow();
}

void haltOnEndSignals()
{
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC) != 0)
        return;
    // The handler only wakes the event loop; the halt itself runs there, between two events, never inside
    // a statement.
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        halt();
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

void keepFreedHeap()
{
#ifdef __GLIBC__
    // Each printed page's PDF stream and its compressor's state (some 300 KB) are made and freed at every page.
    // With glibc's starting thresholds that freed top of the heap went back to the system at every page and was
    // faulted in again at the next: over thirty page faults a page, four heap calls, most of a long print's
    // system time. These are the thresholds glibc's own adjustment moves to once a large block has been freed
    // (its largest mmap threshold, trimming at twice that), set from the start.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
} // namespace services
