#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real TLS web server for the tests: `openssl s_server -WWW` in a
// temporary folder, with a self-signed certificate made by `openssl req`
// when the server starts. It is a process of its own, so it answers while
// the test's UI thread is blocked in a request.
class TlsTestServer
{
public:
    // protocolArgs pick what the server speaks, e.g. {"-tls1_2"},
    // {"-tls1_3"} or {"-tls1", "-cipher", "DEFAULT@SECLEVEL=0"}.
    explicit TlsTestServer(const QStringList& protocolArgs = {QStringLiteral("-tls1_2")});
    ~TlsTestServer();

    // A file the server hands out, by its name; call before start().
    void addFile(const QString& name, const QByteArray& contents);

    // Makes the certificate, starts the server and waits until it accepts.
    bool start();
    QString errorString() const { return m_error; }

    quint16 port() const { return m_port; }
    // "https://127.0.0.1:<port>" followed by target.
    QString url(const QString& target) const;

    // The server's self-signed certificate (PEM), for a client that
    // verifies it to trust; it names 127.0.0.1 and localhost.
    QString certificatePath() const;

    // True when a plain `openssl s_client` with the same protocol options
    // completes a handshake with the server: tells whether the local
    // OpenSSL can still offer an old protocol at all.
    bool clientCanHandshake(const QStringList& clientArgs) const;

    // The openssl program, or empty with errorString() telling what to
    // install.
    static QString opensslProgram();

private:
    bool makeCertificate(const QString& openssl);

    QStringList m_protocolArgs;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};
