#pragma once

#include <QByteArray>

#include <atomic>
#include <functional>
#include <thread>

// A cluster node that talks from a thread of its own, with blocking
// writes, so what it sends and how fast does not depend on the UI thread it
// is sending to, and TCP holds it back when the program reads slowly. It
// listens on 127.0.0.1 at a free port and serves one client with the script
// it was given.
class StreamNode
{
public:
    class Link
    {
    public:
        explicit Link(int fd) : m_fd(fd) {}
        // False once the client has gone.
        bool write(const QByteArray& bytes);
        // Ends with a FIN after everything written, or with an RST.
        void close();
        void reset();
        int fd() const { return m_fd; }

    private:
        int m_fd;
    };

    using Script = std::function<void(Link&)>;

    explicit StreamNode(Script script);
    ~StreamNode();
    StreamNode(const StreamNode&) = delete;
    StreamNode& operator=(const StreamNode&) = delete;

    quint16 port() const { return m_port; }
    bool finished() const { return m_finished; }

private:
    void run();

    Script m_script;
    int m_listenFd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
