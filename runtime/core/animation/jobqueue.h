// The voice box's work off the UI thread (reading its file, decoding it),
// run the same way on every platform: one job at a time, each to its end
// before the next begins, in the order given, a slice at a time. Between
// two slices a new file or the view's close cuts in: what is no longer
// wanted is dropped there, before its next slice.
//
// The platform only lends a worker. Told jobsWaiting() (animationview.h),
// it calls runSlice() on its worker thread, or on a page in tasks of its
// own, until that returns false; it is told again only after that. So
// there is never more than one caller of runSlice() at a time, and jobs
// cannot overlap whatever the platform's threads do.
#pragma once

#include "animation/workerlock.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace runtime {

class JobQueue
{
public:
    // One slice of a job: true while the job has more to do.
    using Job = std::function<bool()>;

    // From the UI thread. True when the queue was idle: its worker is to
    // be told. Nothing is taken once closed.
    bool add(Job job);
    // Drops every job not yet begun, and the one in a slice now after it.
    void clear();
    // The same, for good: the view is going.
    void close();
    bool closed() const;

    // The worker's part: one slice of the first job. False once nothing
    // is left; the queue is idle then until add() says otherwise.
    bool runSlice();

private:
    mutable WorkerLock m_lock;
    std::deque<Job> m_jobs;
    std::uint64_t m_clears = 0;  // a slice begun before a clear() is not put back
    bool m_busy = false;         // the worker was told and has not yet heard false
    bool m_closed = false;
};

} // namespace runtime
