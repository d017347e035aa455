// The lock the voice box's worker and the interface's thread share (the
// job queue, the view's link to its host). A program built without threads
// (the page's: its worker is the page itself, in tasks of its own) needs
// none, and takes one that does nothing. That also spares the page the
// library mutex's error reports, whose formatting would be a tenth of its
// download.
#pragma once

#include <mutex>

namespace runtime {

#ifdef VELK_ONE_THREAD
struct WorkerLock
{
    void lock() {}
    void unlock() {}
};
#else
using WorkerLock = std::mutex;
#endif

} // namespace runtime
