#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <list>

// The alert rules' own WAV files (Sound=kiribati.wav, beside dx.wav), held
// in memory once read, so an alert plays without waiting on the disk.
//
// Each file is read once however many rules name it, and under whatever
// name: "a.wav" and "b.wav" that are links to the same file (or hard links
// of it) share one copy, since the copy is kept by the file's device and
// inode, not by the name. All the copies together stay under a total; past
// it the sound used longest ago goes first and is read again when it is
// next wanted. A file changed on disk (another size or time) is read again.
class SoundCache
{
public:
    // Four sounds of the largest size dx.wav may have.
    static constexpr qint64 kMaxTotalBytes = 64 * 1024 * 1024;
    // Sounds kept at most, whatever their size.
    static constexpr int kMaxFiles = 256;

    explicit SoundCache(QString dir, qint64 maxTotalBytes = kMaxTotalBytes);

    // The WAVE image of the file of that name in the folder; empty for a
    // name with a folder in it ("../x.wav", "C:\x.wav"), and for a file
    // that is missing, no regular file or larger than dx.wav may be.
    QByteArray sound(const QString& fileName);

    // The bytes held now, in all.
    qint64 totalBytes() const { return m_totalBytes; }
    int fileCount() const { return int(m_entries.size()); }

private:
    struct FileId
    {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const FileId&) const = default;
    };
    friend size_t qHash(const FileId& id, size_t seed = 0) noexcept
    {
        return qHashMulti(seed, id.device, id.inode);
    }
    struct Entry
    {
        QByteArray bytes;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        std::list<FileId>::iterator use; // its place in m_byUse
    };

    void makeRoom(qint64 bytes);
    void drop(FileId id);

    QString m_dir;
    qint64 m_maxTotalBytes;
    qint64 m_totalBytes = 0;
    QHash<FileId, Entry> m_entries;
    std::list<FileId> m_byUse; // most recently used first
};
