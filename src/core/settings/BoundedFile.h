#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading a file the program did not write itself: settings.ini, nodes.txt,
// dx.wav. A user or a broken disk may have put anything there: a link to
// /dev/zero, a named pipe nobody writes to, a folder, a file of gigabytes.
// Only a regular file (a link to one included) of at most maxBytes is read;
// it is opened so that the open itself cannot block, and no more than
// maxBytes + 1 bytes are ever read. Anything else counts as unreadable.
namespace BoundedFile {

// The limits of the files read at start.
constexpr qint64 kSettingsMaxBytes = 4 * 1024 * 1024;
constexpr qint64 kNodesMaxBytes = 4 * 1024 * 1024;
constexpr qint64 kSoundMaxBytes = 16 * 1024 * 1024;

enum class Status
{
    Read,
    Missing,    // no such file (nothing at the path)
    Unreadable, // not a regular file, too big, or refused
};

struct Result
{
    Status status = Status::Missing;
    QByteArray bytes;
};

Result read(const QString& path, qint64 maxBytes);

} // namespace BoundedFile
