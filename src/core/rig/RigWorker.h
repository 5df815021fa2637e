#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// One thread that runs rig jobs one after another, in the order they were
// posted. A rig call can block for seconds (a switched-off radio, a rigctld
// that hangs), and the window must never wait for it: the window only posts.
class RigWorker
{
public:
    using Job = std::function<void()>;

    RigWorker();
    // Drops the jobs that have not started, runs finalJob, and waits up to
    // waitMs for the thread. A thread still stuck in a rig call after that is
    // left behind (detached), so closing the program never hangs on a radio.
    void shutdown(Job finalJob, int waitMs);
    ~RigWorker();

    RigWorker(const RigWorker&) = delete;
    RigWorker& operator=(const RigWorker&) = delete;

    // False when the queue is full (kMaxPending jobs waiting) or the worker is
    // shutting down; the job is then dropped.
    bool post(Job job);

    // Jobs posted and not yet finished, the running one included.
    int pending() const;

    // More waiting jobs than a user can click in the time a hung rig takes to
    // time out; a bound so a dead radio cannot make the queue grow for ever.
    static constexpr int kMaxPending = 1000;

private:
    struct Shared
    {
        mutable std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finished;
        std::deque<Job> jobs;
        int running = 0;
        bool stopping = false;
        bool done = false;
    };
    static void run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
