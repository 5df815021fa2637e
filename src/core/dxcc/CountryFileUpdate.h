#pragma once

#include "dxcc/CountryTable.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

// "Update country file": fetches the current cty.dat from its maintainer
// (`[Hosts] CountryFile=` in settings.ini), makes sure it is a country
// file and newer than the one in use, and puts it in place of the user's
// copy (cty.dat beside the settings, which is read before Debian's) as a
// whole or not at all. The download is bounded as the others are (4 MiB,
// 10 s to connect, 30 s in all), but unlike the DXpedition list the host's
// certificate is verified: the file decides the country of every spot.
// The work runs off the caller's thread.
class CountryFileUpdate : public QObject
{
    Q_OBJECT

public:
    // Today's file has some 340 entities; a download with far fewer is a
    // page of some kind, or a file cut short.
    static constexpr int MinEntities = 300;

    enum class Result
    {
        Updated, // the new edition is in place
        Current, // the download is not newer than the file in use
        Failed,  // nothing changed
    };

    struct Outcome
    {
        Result result = Result::Failed;
        // For the user:
        //   "Country file updated to the edition of 2025-03-12"
        //   "The country file of 2025-03-12 is the newest"
        //   "Country file not updated: SSL certificate problem: self-signed certificate"
        QString message;
        QString version;    // the downloaded edition, "20250312"; empty when none
        CountryTable table; // the downloaded file (Updated)
        QString path;       // the file written (Updated)
    };

    explicit CountryFileUpdate(QString programDir, QObject* parent = nullptr);

    // The address to fetch; by default the one of settings.ini's [Hosts].
    void setUrl(const QString& url) { m_url = url; }
    QString url() const { return m_url; }
    // The authorities trusted for the host's certificate (a PEM file);
    // empty, the default: the system's.
    void setCaFile(const QString& path) { m_caFile = path; }
    void setTimeouts(int connectMs, int requestMs);

    // Starts an update; false while one is running.
    bool start();
    bool isRunning() const { return m_running; }

    // Whether downloaded bytes may replace the file of edition
    // currentVersion ("yyyymmdd", empty when it names none). Pure.
    static Outcome judge(const QByteArray& downloaded, const QString& currentVersion);

    // "20250312" -> "2025-03-12"
    static QString editionText(const QString& version);

signals:
    void finished(const CountryFileUpdate::Outcome& outcome);

private:
    struct Request
    {
        QString url;
        QString caFile;
        QString programDir;
        int connectMs = 10000;
        int requestMs = 30000;
    };
    // Download, check, write: blocks, on a worker thread.
    static Outcome run(const Request& request);

    QString m_programDir;
    QString m_url;
    QString m_caFile;
    int m_connectMs = 10000;
    int m_requestMs = 30000;
    bool m_running = false;
    QFutureWatcher<Outcome> m_work;
};
