#include "log/LogLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

LogLoader::LogLoader(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(500);
    connect(&m_settle, &QTimer::timeout, this, &LogLoader::onSettled);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LogLoader::onFileChange);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &LogLoader::onChange);
    connect(&m_reading, &QFutureWatcher<LogFile::Loaded>::finished, this, &LogLoader::onRead);
}

// A reading still running keeps its own copies of what it needs; its
// result is dropped with the watcher.
LogLoader::~LogLoader() = default;

void LogLoader::setFile(const QString& path)
{
    if (path == m_path)
        return;
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path = path;
    m_settle.stop();
    m_lastRead = {};
    m_fileTouched = false;
    ++m_generation;
    if (m_index) {
        m_index.reset();
        emit indexChanged(m_index);
    }
    if (m_path.isEmpty())
        return;
    watch();
    startReading();
}

void LogLoader::setOptions(const LogOptions& options)
{
    if (options == m_options)
        return;
    m_options = options;
    ++m_generation;
    reload();
}

void LogLoader::setCountryTable(const CountryTable& countries)
{
    m_countries = countries;
    ++m_generation;
    reload();
}

void LogLoader::reload()
{
    if (m_path.isEmpty())
        return;
    m_settle.stop();
    startReading();
}

LogLoader::Signature LogLoader::signatureNow() const
{
    const QFileInfo info(m_path);
    Signature s;
    s.exists = info.exists();
    if (s.exists) {
        s.size = info.size();
        s.modified = info.lastModified();
        s.changed = info.metadataChangeTime();
    }
    return s;
}

void LogLoader::watch()
{
    const QFileInfo info(m_path);
    const QString dir = info.absolutePath();
    if (!m_watcher.directories().contains(dir) && QFileInfo(dir).isDir())
        m_watcher.addPath(dir);
    // A watch ends with the file it was on; the new file in its place is
    // watched afresh.
    if (info.exists() && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
}

void LogLoader::onChange()
{
    m_settle.start();
}

void LogLoader::onFileChange()
{
    m_fileTouched = true;
    m_settle.start();
}

void LogLoader::onSettled()
{
    watch();
    // A change in the folder that left the log as it was (another file
    // written beside it) is no reason to read it again.
    const bool touched = std::exchange(m_fileTouched, false);
    if (!touched && signatureNow() == m_lastRead)
        return;
    startReading();
}

void LogLoader::startReading()
{
    if (m_path.isEmpty()) {
        m_pending = false;
        return;
    }
    if (m_running) {
        m_pending = true;
        return;
    }
    m_running = true;
    m_pending = false;
    m_lastRead = signatureNow();
    m_readGeneration = m_generation;
    m_reading.setFuture(
        QtConcurrent::run([path = m_path, options = m_options, countries = m_countries] {
            return LogFile::load(path, options, countries);
        }));
}

void LogLoader::onRead()
{
    m_running = false;
    const LogFile::Loaded loaded = m_reading.result();
    if (m_readGeneration == m_generation) {
        if (loaded.index) {
            m_index = loaded.index;
            emit indexChanged(m_index);
        } else {
            emit failed(loaded.error);
        }
    }
    if (m_pending || m_readGeneration != m_generation)
        startReading();
}
