// The thread a desktop build lends the voice box's jobs (jobqueue.h):
// woken when jobs wait, it runs their slices until the queue is idle, and
// it sleeps in between; nothing polls. When the view goes (its queue
// closed first, so the slice at work gives up at once), the thread is
// given a second to end, then left behind rather than hold up the end of
// the program: a file system that never answers a read can hang it. A
// page has no threads; its worker is the page itself (the web backend).
#pragma once

#include "animation/jobqueue.h"

#include <functional>
#include <memory>
#include <thread>

namespace runtime {

class JobWorker
{
public:
    // starting runs first on the thread: what the platform sets there (a
    // lower priority, so that decoding never slows the interface).
    explicit JobWorker(std::function<void()> starting = {}) : m_starting(std::move(starting)) {}
    ~JobWorker();
    JobWorker(const JobWorker &) = delete;
    JobWorker &operator=(const JobWorker &) = delete;

    // The queue has jobs waiting (AnimationView::Host::jobsWaiting): they
    // run on the thread, started the first time. Without a thread (a
    // system out of them) they never run, and the view stays black.
    void wake(const std::shared_ptr<JobQueue> &jobs);

private:
    struct State;
    std::function<void()> m_starting;
    std::shared_ptr<State> m_state;  // shared with the thread, which may outlive this
    std::thread m_thread;
};

} // namespace runtime
