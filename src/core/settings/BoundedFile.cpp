#include "settings/BoundedFile.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace BoundedFile {

Result read(const QString& path, qint64 maxBytes)
{
    Result result;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return result; // Missing
    result.status = Status::Unreadable;
    // Only what the path names in the end, after its links, counts.
    if (!info.isFile() || info.size() > maxBytes)
        return result;
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
#else
    // O_NONBLOCK: a pipe put there after the look above must not hold the
    // open; the look after the open is the one that decides.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return result;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        ::close(fd);
        return result;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return result;
    }
#endif
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return result; // grew while it was read
    result.status = Status::Read;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace BoundedFile
