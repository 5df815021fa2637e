#include "support/TlsTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const char kMissingOpenssl[] =
    "the openssl command-line program was not found in PATH; the TLS tests need it "
    "(Debian package \"openssl\")";

} // namespace

TlsTestServer::TlsTestServer(const QStringList& protocolArgs) : m_protocolArgs(protocolArgs) {}

TlsTestServer::~TlsTestServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString TlsTestServer::opensslProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("openssl"));
}

void TlsTestServer::addFile(const QString& name, const QByteArray& contents)
{
    QFile f(m_dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(contents);
}

bool TlsTestServer::makeCertificate(const QString& openssl)
{
    QProcess req;
    req.setWorkingDirectory(m_dir.path());
    req.start(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "key.pem",
                        "-out", "cert.pem", "-days", "2", "-subj", "/CN=localhost",
                        // The names a client that verifies the host checks.
                        "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"});
    if (!req.waitForFinished(30000) || req.exitStatus() != QProcess::NormalExit ||
        req.exitCode() != 0) {
        m_error = QStringLiteral("openssl req could not make a certificate: ") +
                  QString::fromLocal8Bit(req.readAllStandardError());
        return false;
    }
    return true;
}

bool TlsTestServer::start()
{
    const QString openssl = opensslProgram();
    if (openssl.isEmpty()) {
        m_error = QString::fromLatin1(kMissingOpenssl);
        return false;
    }
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!makeCertificate(openssl))
        return false;

    // Port 0 lets the system pick; s_server tells which in its
    // "ACCEPT 127.0.0.1:40311" line once it listens.
    QStringList args{"s_server", "-accept", "127.0.0.1:0", "-key",
                     "key.pem",  "-cert",   "cert.pem",    "-WWW"};
    args += m_protocolArgs;
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(openssl, args);
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("openssl s_server did not start: ") + m_process.errorString();
        return false;
    }

    static const QRegularExpression acceptLine(QStringLiteral("ACCEPT\\s+\\S*:(\\d+)"));
    QByteArray output;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        output += m_process.readAll();
        const auto m = acceptLine.match(QString::fromLatin1(output));
        if (m.hasMatch()) {
            m_port = quint16(m.captured(1).toUInt());
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            break;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_error = QStringLiteral("openssl s_server %1 did not start listening: %2")
                  .arg(m_protocolArgs.join(QLatin1Char(' ')), QString::fromLocal8Bit(output));
    return false;
}

QString TlsTestServer::certificatePath() const
{
    return m_dir.filePath(QStringLiteral("cert.pem"));
}

QString TlsTestServer::url(const QString& target) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(m_port).arg(target);
}

bool TlsTestServer::clientCanHandshake(const QStringList& clientArgs) const
{
    QProcess client;
    QStringList args{"s_client", "-connect", QStringLiteral("127.0.0.1:%1").arg(m_port)};
    args += clientArgs;
    client.start(opensslProgram(), args);
    if (!client.waitForStarted(5000))
        return false;
    client.write("GET /nothing-here HTTP/1.0\r\n\r\n");
    client.closeWriteChannel();
    if (!client.waitForFinished(10000)) {
        client.kill();
        client.waitForFinished(1000);
        return false;
    }
    // s_client reports the version it agreed on: "Protocol  : TLSv1".
    const QByteArray out = client.readAllStandardOutput();
    return out.contains("Protocol") && !out.contains("Cipher is (NONE)");
}
