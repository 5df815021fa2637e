#pragma once

#include "dxcc/CountryTable.h"
#include "log/LogFile.h"
#include "log/LogIndex.h"
#include "log/LogOptions.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// Keeps the index of the user's log up to date: reads the file on a worker
// thread, never on the caller's, and again whenever the logger changes it,
// also when the logger writes a new file and renames it over the old one
// (the folder is watched as well, since the old file's watch ends with it).
// A change is read once the file has been still for settleMs, so a logger
// that writes in pieces is read once, whole.
//
// While a new file is read, the index of the last reading of the same file
// stays in use; a file that cannot be read, or is no log, is told through
// failed() and leaves no index when it is a file not read before.
class LogLoader : public QObject
{
    Q_OBJECT

public:
    explicit LogLoader(QObject* parent = nullptr);
    ~LogLoader() override;

    // The log file; empty: no log, and the index goes at once.
    void setFile(const QString& path);
    QString file() const { return m_path; }

    // Both read the log again with what they change.
    void setOptions(const LogOptions& options);
    void setCountryTable(const CountryTable& countries);
    // Reads the file again now.
    void reload();

    // The index of the last good reading; none: no log.
    std::shared_ptr<const LogIndex> index() const { return m_index; }
    bool isReading() const { return m_running; }

    void setSettleMs(int ms) { m_settle.setInterval(ms); }

signals:
    // A new index (or none, when the log was taken away).
    void indexChanged(std::shared_ptr<const LogIndex> index);
    // The file could not be read or is no log; the text names it and says
    // why (the line, for a file that is no log).
    void failed(const QString& message);

private:
    // What tells a changed file: a new file renamed in place has another
    // change time even when its size and modification time match.
    struct Signature
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Signature&) const = default;
    };
    Signature signatureNow() const;

    void watch();
    void onChange();
    void onFileChange();
    void onSettled();
    void startReading();
    void onRead();

    QString m_path;
    LogOptions m_options;
    CountryTable m_countries;
    std::shared_ptr<const LogIndex> m_index;

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QFutureWatcher<LogFile::Loaded> m_reading;
    bool m_running = false;
    bool m_pending = false; // read again once the running reading ends
    // The log itself was written or replaced: read it whatever its size and
    // times say, as a file rewritten within one tick of the file system's
    // clock may keep both.
    bool m_fileTouched = false;
    quint64 m_generation = 0; // a reading for an older path or options is dropped
    quint64 m_readGeneration = 0;
    Signature m_lastRead;
};
