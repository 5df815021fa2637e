#include "ProcessMemory.h"

#include <QByteArray>
#include <QFile>

namespace {

// "VmRSS:     51234 kB"
qint64 statusField(const QByteArray& name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace

namespace ProcessMemory {

qint64 residentBytes()
{
    return statusField("VmRSS:");
}

qint64 peakResidentBytes()
{
    return statusField("VmHWM:");
}

} // namespace ProcessMemory
