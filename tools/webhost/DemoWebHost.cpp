#include "DemoWebHost.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>

#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace {

QByteArray answer(const QByteArray& status, const QByteArray& type, const QByteArray& body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

DemoWebHost::DemoWebHost(QObject* parent) : QObject(parent)
{
    connect(&m_http, &QTcpServer::newConnection, this, &DemoWebHost::onNewConnection);
}

DemoWebHost::~DemoWebHost()
{
    if (m_tls.state() != QProcess::NotRunning) {
        m_tls.terminate();
        if (!m_tls.waitForFinished(2000))
            m_tls.kill();
        m_tls.waitForFinished(1000);
    }
}

bool DemoWebHost::start(const QByteArray& listFile, quint16 httpPort, quint16 httpsPort)
{
    m_list = listFile;
    if (!m_http.listen(QHostAddress::LocalHost, httpPort)) {
        m_error = QStringLiteral("HTTP port %1: %2").arg(httpPort).arg(m_http.errorString());
        return false;
    }
    return startTls(listFile, httpsPort);
}

bool DemoWebHost::startTls(const QByteArray& listFile, quint16 httpsPort)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty()) {
        m_error = QStringLiteral("the openssl program is missing (Debian package \"openssl\")");
        return false;
    }
    QFile list(m_dir.filePath(QStringLiteral("listadxdolv.txt")));
    if (!m_dir.isValid() || !list.open(QIODevice::WriteOnly) || list.write(listFile) < 0) {
        m_error = QStringLiteral("cannot write the list into a temporary folder");
        return false;
    }
    list.close();

    QProcess req;
    req.setWorkingDirectory(m_dir.path());
    req.start(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "key.pem",
                        "-out", "cert.pem", "-days", "30", "-subj", "/CN=localhost"});
    if (!req.waitForFinished(30000) || req.exitCode() != 0) {
        m_error = QStringLiteral("openssl req failed: ") +
                  QString::fromLocal8Bit(req.readAllStandardError());
        return false;
    }

    m_tls.setWorkingDirectory(m_dir.path());
    m_tls.setProcessChannelMode(QProcess::MergedChannels);
    // The TLS server must not outlive the host, even when the host is killed.
    m_tls.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_tls.start(openssl, {"s_server", "-accept", QStringLiteral("127.0.0.1:%1").arg(httpsPort),
                          "-key", "key.pem", "-cert", "cert.pem", "-WWW"});
    if (!m_tls.waitForStarted(10000)) {
        m_error = QStringLiteral("openssl s_server did not start: ") + m_tls.errorString();
        return false;
    }
    // "ACCEPT 127.0.0.1:40311" tells the port once it listens.
    static const QRegularExpression acceptLine(QStringLiteral("ACCEPT\\s+\\S*:(\\d+)"));
    QByteArray output;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_tls.state() != QProcess::NotRunning) {
        m_tls.waitForReadyRead(200);
        output += m_tls.readAll();
        const auto m = acceptLine.match(QString::fromLatin1(output));
        if (m.hasMatch()) {
            m_httpsPort = quint16(m.captured(1).toUInt());
            // Keep reading its output so the pipe never fills.
            connect(&m_tls, &QProcess::readyRead, this, [this] { m_tls.readAll(); });
            return true;
        }
    }
    m_error =
        QStringLiteral("openssl s_server is not listening: ") + QString::fromLocal8Bit(output);
    return false;
}

QString DemoWebHost::probeUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_http.serverPort());
}

QString DemoWebHost::calendarUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/calendar.php?width=21&lang=en")
        .arg(m_http.serverPort());
}

QString DemoWebHost::listUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1/listadxdolv.txt").arg(m_httpsPort);
}

void DemoWebHost::onNewConnection()
{
    while (QTcpSocket* socket = m_http.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n"))
                return;
            // "GET /listadxdolv.txt HTTP/1.1"
            const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
            const QByteArray path = words.size() >= 2 ? words[1] : QByteArray();
            if (path.startsWith("/calendar.php") && !m_calendar.isEmpty())
                socket->write(answer("200 OK", "application/javascript; charset=utf-8", m_calendar));
            else if (path == "/listadxdolv.txt")
                socket->write(answer("200 OK", "text/plain", m_list));
            else if (path == "/")
                socket->write(answer("200 OK", "text/html",
                                     "<html><body>Marvix Terminal demo web host</body></html>"));
            else
                socket->write(answer("404 Not Found", "text/html", "<h1>Not Found</h1>"));
            socket->disconnectFromHost();
        });
    }
}
