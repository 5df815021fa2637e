#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {

// Replaces the file at path with bytes as a whole, or leaves it as it was: a
// new file is written beside it and renamed over it once it is whole, so a
// full disk or a failed write never leaves half a file. Writes through a
// symbolic link to its target and keeps the file's permissions.
bool write(const QString& path, const QByteArray& bytes);

} // namespace AtomicFile
