#include "webbackend.h"
#include "platform/diagnostics.h"
#include "form/form.h"
#include "description/kinds.h"
#include "page.h"
#include "platform/picturefiles.h"
#include "webwindow.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>

namespace runtime::web {

namespace {

std::map<int, std::function<void()>> &posted()
{
    static auto *work = new std::map<int, std::function<void()>>;
    return *work;
}

} // namespace

WebBackend &WebBackend::instance()
{
    static auto *backend = new WebBackend;  // lives as long as the page
    return *backend;
}

std::unique_ptr<Window> WebBackend::build(Form &form)
{
    return std::make_unique<WebWindow>(form);
}

std::string pictureFile(std::string_view name)
{
    // "leftpanel.jpg,modeauto.bmp,...", from the build's list.
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list;
        const std::string_view all = VELK_WEB_PICTURES;
        for (size_t at = 0; at < all.size();) {
            const size_t end = std::min(all.find(',', at), all.size());
            list.emplace_back(all.substr(at, end - at));
            at = end + 1;
        }
        return list;
    }();
    return runtime::pictureFile(files, name);
}

bool WebBackend::hasPicture(std::string_view name) const
{
    return !pictureFile(name).empty();
}

// The page's own folder, where the voice box lies beside it: relative
// paths are fetched relative to the page's address.
std::string WebBackend::appFolder() const
{
    return ".";
}

void WebBackend::report(const std::string &message, bool fatal)
{
    printError(message);  // the browser's console
    velk_report(message.c_str());
    if (fatal)
        quit(1);
}

void WebBackend::later(std::function<void()> work)
{
    post(0, std::move(work));
}

// The browser runs the loop: main() returns and the page lives on.
int WebBackend::exec()
{
    return 0;
}

void WebBackend::quit(int)
{
    if (m_ended)
        return;
    m_ended = true;
    posted().clear();
    velk_end();
}

int WebBackend::post(int ms, std::function<void()> work)
{
    static int last = 0;
    if (m_ended)
        return 0;
    posted().emplace(++last, std::move(work));
    if (ms >= 0 || ms == AtTaskEnd)
        velk_post(last, ms);
    return last;
}

void WebBackend::cancel(int id)
{
    if (posted().erase(id))
        velk_cancel(id);
}

void guarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        WebBackend::instance().report(std::string("Internal error: ") + e.what(), false);
    }
}

} // namespace runtime::web

using runtime::web::guarded;
using runtime::web::WebWindow;

// What the page calls.
extern "C" {

EMSCRIPTEN_KEEPALIVE void velk_run(int id)
{
    auto &work = runtime::web::posted();
    auto it = work.find(id);
    if (it == work.end())
        return;
    std::function<void()> run = std::move(it->second);
    work.erase(it);
    guarded(run);
}

// Whatever a page script passes here, the window's id is looked up and
// the row and the event are checked at the core's door.
EMSCRIPTEN_KEEPALIVE void velk_event(int win, int row, int event)
{
    if (WebWindow *w = WebWindow::byId(win))
        guarded([w, row, event] { w->form().door().event(w->form(), row, runtime::Event(event)); });
}

// text: malloc'ed by the page, taken over here.
EMSCRIPTEN_KEEPALIVE void velk_typed(int win, int row, char *text)
{
    if (!text)
        return;
    std::string value(text);
    std::free(text);
    if (WebWindow *w = WebWindow::byId(win))
        guarded([w, row, value = std::move(value)] { w->form().door().typed(w->form(), row, value); });
}

// A key on the window, as door.h numbers them (Tab 0 ... Space 7): whether
// the core took it. One it left is the page's to do as it does.
EMSCRIPTEN_KEEPALIVE int velk_key(int win, int key)
{
    bool taken = false;
    if (WebWindow *w = WebWindow::byId(win); w && key >= 0 && key <= int(runtime::Key::Space))
        guarded([w, key, &taken] { taken = w->form().door().key(w->form(), runtime::Key(key)); });
    return taken;
}

// The page's own focus went to the row by itself: a click into a field,
// a screen reader. The core's follows where the row may have it.
EMSCRIPTEN_KEEPALIVE void velk_focused(int win, int row)
{
    if (WebWindow *w = WebWindow::byId(win))
        guarded([w, row] { w->form().door().focused(w->form(), row); });
}

// The pointer pressed anywhere on the window: the ring goes.
EMSCRIPTEN_KEEPALIVE void velk_pointed(int win)
{
    if (WebWindow *w = WebWindow::byId(win))
        guarded([w] { w->form().door().pointed(w->form()); });
}

// The close button of a window's title bar: the form unloads, as when a
// window manager closes a window.
EMSCRIPTEN_KEEPALIVE void velk_close(int win)
{
    if (WebWindow *w = WebWindow::byId(win))
        guarded([w] { w->form().door().close(w->form()); });
}

} // extern "C"
