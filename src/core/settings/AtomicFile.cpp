#include "settings/AtomicFile.h"

#include <QSaveFile>

namespace AtomicFile {

bool write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The bytes are flushed here and the outcome checked: commit() does not
    // look at a failure of the flush it makes itself, and would put an
    // empty new file over the old one when the disk is full.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace AtomicFile
