#include "animation/jobqueue.h"

#include <utility>

namespace runtime {

bool JobQueue::add(Job job)
{
    std::lock_guard<WorkerLock> hold(m_lock);
    if (m_closed)
        return false;
    m_jobs.push_back(std::move(job));
    return !std::exchange(m_busy, true);
}

void JobQueue::clear()
{
    std::deque<Job> dropped;  // let go of outside the lock: they hold decoders
    std::lock_guard<WorkerLock> hold(m_lock);
    dropped.swap(m_jobs);
    ++m_clears;
}

void JobQueue::close()
{
    clear();
    std::lock_guard<WorkerLock> hold(m_lock);
    m_closed = true;
}

bool JobQueue::closed() const
{
    std::lock_guard<WorkerLock> hold(m_lock);
    return m_closed;
}

bool JobQueue::runSlice()
{
    Job job;
    std::uint64_t clears;
    {
        std::lock_guard<WorkerLock> hold(m_lock);
        if (m_jobs.empty())
            return m_busy = false;
        job = std::move(m_jobs.front());
        m_jobs.pop_front();
        clears = m_clears;
    }
    // Outside the lock: the UI thread adds and clears meanwhile.
    const bool more = job();
    std::lock_guard<WorkerLock> hold(m_lock);
    // Back in front, so that what was added meanwhile waits for its end.
    if (more && clears == m_clears)
        m_jobs.push_front(std::move(job));
    return m_busy = !m_jobs.empty();
}

} // namespace runtime
