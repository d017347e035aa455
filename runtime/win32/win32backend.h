// The forms runtime on Win32: builds each window from its description,
// reports run-time errors in a message box that does not hold the program
// up, runs deferred work from a hidden message window, and runs the
// message loop, with the keys that move the focus or press a zone passed
// to the core and the dialog keys for the rest.
#pragma once

#include "platform/backend.h"
#include "win32.h"
#include "win32control.h"

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <utility>

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
    // One message of the loop, taken from the queue: the keys first.
    static void dispatch(MSG &msg);

private:
    Win32Backend();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;  // its own window's: deferred work

    // A hidden top-level window that owns the windows kept off the task
    // bar: an owned window gets no button there, yet Alt+Tab lists it.
    HWND m_owner = nullptr;
    std::deque<std::pair<unsigned long, std::function<void()>>> m_later;  // by the number its message carries
    unsigned long m_posted = 0;
    std::string m_programName;
    // Shared with the thread that shows the message box.
    std::shared_ptr<std::atomic<bool>> m_reporting = std::make_shared<std::atomic<bool>>(false);
};

} // namespace runtime::win32
