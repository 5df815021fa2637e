#pragma once

#include <QtGlobal>

// This process's memory from /proc/self/status, in bytes; -1 when it cannot
// be read.
namespace ProcessMemory {

qint64 residentBytes();     // VmRSS: now
qint64 peakResidentBytes(); // VmHWM: the most since start

} // namespace ProcessMemory
