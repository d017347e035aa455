// The forms runtime on Win32: builds each window from its description,
// reports run-time errors in a message box that does not hold the program
// up, keeps the deferred work (later(), a screen reader's press) in a
// queue of its own, and runs the message loop, with the keys that move the
// focus or press a zone passed to the core and the dialog keys for the rest.
#pragma once

#include "platform/backend.h"
#include "win32.h"
#include "win32control.h"

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace runtime::win32 {

class Win32Backend : public Backend, private OwnWindow
{
public:
    static Win32Backend &instance();

    void setProgramName(std::string name) { m_programName = std::move(name); }

    std::unique_ptr<Window> build(Form &form) override;
    bool hasPicture(std::string_view name) const override;
    std::string appFolder() const override;
    double refreshHz() const override;
    void report(const std::string &message, bool fatal) override;
    void later(std::function<void()> work) override;
    int exec() override;
    void quit(int status) override;
    // One message of the loop, taken from the queue: the keys first; then
    // the work its handlers deferred.
    static void dispatch(MSG &msg);

    // A message being handled, by the loop's dispatch or by a window
    // procedure of this program's: work deferred from within it is due
    // once it has returned. Handlers nest (a message box's own loop, a
    // message sent while a handler runs), so a wake can come while some
    // of the queue is not yet due. Only the program's one UI thread
    // handles messages.
    class Handling
    {
    public:
        Handling() { s_open.push_back({++s_count, false}); }
        ~Handling();
        Handling(const Handling &) = delete;
        Handling &operator=(const Handling &) = delete;

    private:
        friend class Win32Backend;
        struct Open
        {
            unsigned long id;
            bool wake;  // work it deferred was left by a wake: wake again once it returns
        };
        static Open *find(unsigned long id);
        static inline std::vector<Open> s_open;  // innermost last
        static inline unsigned long s_count = 0;
        static inline HWND s_waker = nullptr;
    };

private:
    Win32Backend();
    // Its own window's: a wake, which names nothing, for the queue.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void runDue();

    // A hidden top-level window that owns the windows kept off the task
    // bar: an owned window gets no button there, yet Alt+Tab lists it.
    HWND m_owner = nullptr;
    struct Deferred
    {
        unsigned long number;  // in the order queued
        unsigned long within;  // the handling it was queued from; 0: none
        std::function<void()> work;
    };
    std::deque<Deferred> m_later;
    unsigned long m_queued = 0;
    std::string m_programName;
    // Shared with the thread that shows the message box.
    std::shared_ptr<std::atomic<bool>> m_reporting = std::make_shared<std::atomic<bool>>(false);
};

} // namespace runtime::win32
