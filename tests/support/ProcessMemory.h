// The process's memory as the kernel counts it, for the tests and benchmarks that weigh peak memory.
// Linux only: read from /proc/self.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace ProcessMemory
{

// A line of /proc/self/status in MiB: VmRSS (resident now) or VmHWM (the most since the reset).
inline double statusMiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Starts VmHWM again from the resident size now; false when the kernel takes no reset.
inline bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace ProcessMemory
