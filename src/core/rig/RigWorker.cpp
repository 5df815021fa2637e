#include "rig/RigWorker.h"

#include <chrono>

RigWorker::RigWorker() : m_shared(std::make_shared<Shared>())
{
    m_thread = std::thread(&RigWorker::run, m_shared);
}

RigWorker::~RigWorker()
{
    shutdown({}, 0);
}

void RigWorker::run(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return !shared->jobs.empty() || shared->stopping; });
        if (shared->jobs.empty())
            break;
        Job job = std::move(shared->jobs.front());
        shared->jobs.pop_front();
        shared->running = 1;
        lock.unlock();
        if (job)
            job();
        job = nullptr; // what the job holds is released outside the lock too
        lock.lock();
        shared->running = 0;
    }
    shared->done = true;
    shared->finished.notify_all();
}

bool RigWorker::post(Job job)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->stopping || int(m_shared->jobs.size()) >= kMaxPending)
            return false;
        m_shared->jobs.push_back(std::move(job));
    }
    m_shared->wake.notify_one();
    return true;
}

int RigWorker::pending() const
{
    std::lock_guard lock(m_shared->mutex);
    return int(m_shared->jobs.size()) + m_shared->running;
}

void RigWorker::shutdown(Job finalJob, int waitMs)
{
    if (!m_thread.joinable())
        return;
    bool finishedInTime = false;
    {
        std::unique_lock lock(m_shared->mutex);
        if (!m_shared->stopping) {
            m_shared->jobs.clear();
            if (finalJob)
                m_shared->jobs.push_back(std::move(finalJob));
            m_shared->stopping = true;
            m_shared->wake.notify_one();
        }
        finishedInTime = m_shared->finished.wait_for(lock, std::chrono::milliseconds(waitMs),
                                                     [&] { return m_shared->done; });
    }
    if (finishedInTime)
        m_thread.join();
    else
        m_thread.detach(); // it owns its share of the state and ends on its own
}
