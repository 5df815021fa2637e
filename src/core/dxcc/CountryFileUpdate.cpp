#include "dxcc/CountryFileUpdate.h"

#include "dxcc/CountryFile.h"
#include "net/EIdException.h"
#include "net/TIdHTTP.h"
#include "net/TIdSSLIOHandlerSocketOpenSSL.h"
#include "settings/AtomicFile.h"
#include "settings/Hosts.h"
#include "settings/IniFile.h"

#include <QBuffer>
#include <QDir>
#include <QtConcurrent/QtConcurrentRun>
#include <openssl/crypto.h>

namespace {

CountryFileUpdate::Outcome failure(const QString& reason)
{
    CountryFileUpdate::Outcome outcome;
    outcome.result = CountryFileUpdate::Result::Failed;
    // A message box line, not a page: an error text of a host is cut short.
    outcome.message = QStringLiteral("Country file not updated: %1").arg(reason.left(300));
    return outcome;
}

} // namespace

CountryFileUpdate::CountryFileUpdate(QString programDir, QObject* parent)
    : QObject(parent), m_programDir(std::move(programDir)),
      m_url(loadHosts(m_programDir).countryFile)
{
    connect(&m_work, &QFutureWatcher<Outcome>::finished, this, [this] {
        m_running = false;
        emit finished(m_work.result());
    });
}

void CountryFileUpdate::setTimeouts(int connectMs, int requestMs)
{
    m_connectMs = connectMs;
    m_requestMs = requestMs;
}

bool CountryFileUpdate::start()
{
    if (m_running)
        return false;
    m_running = true;
    const Request request{m_url, m_caFile, m_programDir, m_connectMs, m_requestMs};
    m_work.setFuture(QtConcurrent::run([request] {
        Outcome outcome = run(request);
        // OpenSSL keeps a random generator and an error queue per thread
        // that made a TLS context, until that thread ends; a pool thread
        // lives on after the download, so they are given back now.
        OPENSSL_thread_stop();
        return outcome;
    }));
    return true;
}

QString CountryFileUpdate::editionText(const QString& version)
{
    if (version.size() != 8)
        return version;
    return QStringLiteral("%1-%2-%3").arg(version.left(4), version.mid(4, 2), version.mid(6));
}

CountryFileUpdate::Outcome CountryFileUpdate::judge(const QByteArray& downloaded,
                                                    const QString& currentVersion)
{
    CountryTable table = CountryTable::parse(downloaded);
    if (table.entityCount() < MinEntities)
        return failure(QStringLiteral("the download is no country file (%1 entities, at least "
                                      "%2 expected)")
                           .arg(table.entityCount())
                           .arg(MinEntities));
    const QString version = table.version();
    if (version.isEmpty())
        return failure(QStringLiteral("the download names no edition"));
    Outcome outcome;
    outcome.version = version;
    // "yyyymmdd" sorts as the dates do.
    if (!currentVersion.isEmpty() && version <= currentVersion) {
        outcome.result = Result::Current;
        outcome.message =
            QStringLiteral("The country file of %1 is the newest").arg(editionText(currentVersion));
        return outcome;
    }
    outcome.result = Result::Updated;
    outcome.message =
        QStringLiteral("Country file updated to the edition of %1").arg(editionText(version));
    outcome.table = std::move(table);
    return outcome;
}

CountryFileUpdate::Outcome CountryFileUpdate::run(const Request& request)
{
    if (request.programDir.isEmpty())
        return failure(QStringLiteral("no folder for the user's copy"));
    QBuffer body;
    body.open(QIODevice::ReadWrite);
    try {
        TIdHTTP http;
        TIdSSLIOHandlerSocketOpenSSL tls;
        tls.SSLOptions().setMethod(TIdSSLVersion::sslvTLSv1_2);
        tls.setVerifyPeer(true);
        tls.setCaFile(request.caFile);
        http.setIOHandler(&tls);
        http.setConnectTimeoutMs(request.connectMs);
        http.setRequestTimeoutMs(request.requestMs);
        http.setMaxBodyBytes(CountryFile::MaxBytes);
        http.Get(request.url, body);
    } catch (const EIdException& e) {
        // "HTTP/1.1 404 Not Found"; "Error connecting with SSL.\r\n..."
        return failure(QString(e.message()).replace(QStringLiteral("\r\n"), QStringLiteral(": ")));
    }

    const QStringList paths = CountryFile::searchPaths(request.programDir);
    const QString current = CountryFile::load(paths).table.version();
    Outcome outcome = judge(body.data(), current);
    if (outcome.result != Result::Updated)
        return outcome;
    // The user's copy: the first place searched.
    const QString target = paths.first();
    if (!AtomicFile::write(target, body.data()))
        return failure(IniFile::writeErrorText(target));
    outcome.path = target;
    return outcome;
}
