#pragma once
#include <QFile>

#include <ctime>

// What a measured process reads of itself: memory as the kernel counts it, and the CPU time it has used.
namespace bench {

// "VmHWM" the peak, "VmRSS" now; in megabytes.
inline double memoryMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts a new peak: the kernel resets VmHWM to the present size.
inline void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The CPU time of every thread of the process, in milliseconds.
inline double cpuMs()
{
    timespec t = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
} // namespace bench
