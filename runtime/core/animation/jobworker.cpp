#include "animation/jobworker.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

namespace runtime {

struct JobWorker::State
{
    std::mutex lock;
    std::condition_variable changed;
    std::shared_ptr<JobQueue> jobs;
    bool woken = false;
    bool going = false;
    bool ended = false;
};

void JobWorker::wake(const std::shared_ptr<JobQueue> &jobs)
{
    if (!m_state) {
        m_state = std::make_shared<State>();
        try {
            m_thread = std::thread([state = m_state, starting = m_starting] {
                if (starting)
                    starting();
                for (;;) {
                    std::shared_ptr<JobQueue> jobs;
                    {
                        std::unique_lock<std::mutex> hold(state->lock);
                        state->changed.wait(hold, [&] { return state->woken || state->going; });
                        if (state->going)
                            break;
                        state->woken = false;
                        jobs = state->jobs;
                    }
                    while (jobs->runSlice()) {
                    }
                }
                std::lock_guard<std::mutex> hold(state->lock);
                state->ended = true;
                state->changed.notify_all();
            });
        } catch (const std::system_error &) {
            return;
        }
    }
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->jobs = jobs;
    m_state->woken = true;
    m_state->changed.notify_all();
}

JobWorker::~JobWorker()
{
    if (!m_thread.joinable())
        return;
    std::unique_lock<std::mutex> hold(m_state->lock);
    m_state->going = true;
    m_state->changed.notify_all();
    const bool ended = m_state->changed.wait_for(hold, std::chrono::seconds(1), [this] { return m_state->ended; });
    hold.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
}

} // namespace runtime
