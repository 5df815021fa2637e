#include "alerts/SoundCache.h"

#include "settings/BoundedFile.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <utility>

SoundCache::SoundCache(QString dir, qint64 maxTotalBytes)
    : m_dir(std::move(dir)), m_maxTotalBytes(maxTotalBytes)
{
}

QByteArray SoundCache::sound(const QString& fileName)
{
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\'))
        return {};
    const QString path = QDir(m_dir).filePath(fileName);
    // stat() follows the links to the file itself and never blocks, even on
    // a pipe; whether the file may be read at all is BoundedFile's to say.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const FileId id{quint64(st.st_dev), quint64(st.st_ino)};
    const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;

    const auto it = m_entries.find(id);
    if (it != m_entries.end()) {
        if (it->size == qint64(st.st_size) && it->modifiedNs == modifiedNs) {
            m_byUse.splice(m_byUse.begin(), m_byUse, it->use);
            return it->bytes;
        }
        drop(id); // changed since it was read
    }

    const BoundedFile::Result file = BoundedFile::read(path, BoundedFile::kSoundMaxBytes);
    if (file.status != BoundedFile::Status::Read)
        return {};
    // A sound larger than the whole cache plays, and is not kept.
    if (file.bytes.size() > m_maxTotalBytes)
        return file.bytes;
    makeRoom(file.bytes.size());
    m_byUse.push_front(id);
    m_entries.insert(id, Entry{file.bytes, qint64(st.st_size), modifiedNs, m_byUse.begin()});
    m_totalBytes += file.bytes.size();
    return file.bytes;
}

void SoundCache::makeRoom(qint64 bytes)
{
    while (!m_byUse.empty()
           && (m_totalBytes + bytes > m_maxTotalBytes || m_entries.size() >= kMaxFiles))
        drop(m_byUse.back());
}

void SoundCache::drop(FileId id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end())
        return;
    m_totalBytes -= it->bytes.size();
    m_byUse.erase(it->use);
    m_entries.erase(it);
}
