#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

// A small HTTP/1.1 server on 127.0.0.1 for the tests. It serves from a
// thread of its own, so a test whose UI thread sits blocked inside a
// libcurl call still gets its answer. Every connection reads one request
// (up to the empty line), records its exact bytes, then acts as told.
class LocalHttpServer
{
public:
    enum class Behaviour
    {
        Reply,       // send the scripted bytes, then close
        NeverAnswer, // keep the connection open and silent until stopped
        CloseAtOnce, // close right after the request, answering nothing
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Binds a free port on 127.0.0.1 and starts serving.
    bool start();
    void stop();

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by target.
    QString url(const QString& target = QStringLiteral("/")) const;

    // The bytes every following connection gets, exactly as given.
    void setReply(const QByteArray& rawResponse);
    void setBehaviour(Behaviour behaviour);

    QList<QByteArray> requests() const;
    QByteArray lastRequest() const;

    // A complete answer: status line, the headers as given, a
    // Content-Length header (unless one is given or chunked is asked
    // for), the empty line and the body.
    //   response(404, "Not Found", {"Content-Type: text/html"}, "<h1>gone</h1>")
    static QByteArray response(int code, const QByteArray& reason, const QList<QByteArray>& headers,
                               const QByteArray& body);
    // The body in chunked transfer coding, one chunk per piece.
    static QByteArray chunkedResponse(int code, const QByteArray& reason,
                                      const QList<QByteArray>& headers,
                                      const QList<QByteArray>& pieces);

private:
    void run();
    void serve(int fd);

    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};

    mutable std::mutex m_mutex;
    QByteArray m_reply;
    Behaviour m_behaviour = Behaviour::Reply;
    QList<QByteArray> m_requests;
    QList<int> m_silentFds;
};
