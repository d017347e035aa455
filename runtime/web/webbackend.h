// The browser as the core's platform: windows are page elements, the
// event loop is the browser's own, and work for later is a task the page
// runs between its own (no threads: the page is the only one). Once the
// program has ended, nothing of it runs again.
#pragma once

#include "platform/backend.h"

#include <functional>
#include <string>

namespace runtime::web {

class WebWindow;

class WebBackend : public Backend
{
public:
    static WebBackend &instance();

    std::unique_ptr<Window> build(Form &form) override;
    bool hasPicture(std::string_view name) const override;
    std::string appFolder() const override;
    void report(const std::string &message, bool fatal) override;
    void later(std::function<void()> work) override;
    int exec() override;
    bool loopOutlivesExec() const override { return true; }
    void quit(int status) override;

    // work after ms (0: as the next task; -1: when called; AtTaskEnd:
    // once the task that asked is done, or while the page is not seen, as
    // it next paints); the number to cancel it by.
    static constexpr int AtTaskEnd = -2;
    int post(int ms, std::function<void()> work);
    void cancel(int id);
    // Fetches address from the page's own site for readRegularFile, then
    // work, however it went (fetchedfiles.cpp).
    void fetch(const std::string &address, std::function<void()> work);
    bool ended() const { return m_ended; }

private:
    bool m_ended = false;
};

// The file a picture's name stands for, beside the page ("" for none).
std::string pictureFile(std::string_view name);

// Runs what the page asked for, reporting what escapes it (running out of
// memory, say) rather than letting it unwind into the page.
void guarded(const std::function<void()> &work);

} // namespace runtime::web
