// The conformance table (cases.h) on the web backend: the window built by
// the backend as the program's are, alone on a page of its own. The web
// tour (tests/web/tour.sh) clicks with the real pointer and reads the
// page's elements and pixels back; this side tells it each case and what
// the clicks reached, and makes the writes the cases ask for.
#include "cases.h"
#include "formprobe.h"
#include "program/application.h"
#include "description/timing.h"
#include "webbackend.h"

#include <emscripten.h>

using namespace conformance;

namespace {

// The driver's one program, on the platform's backend.
runtime::Application &app()
{
    static auto *application = new runtime::Application(runtime::web::WebBackend::instance());
    return *application;
}


std::string answer;

const char *say(std::string text)
{
    answer = std::move(text);
    return answer.c_str();
}

} // namespace

extern "C" {

// Case i as "name|check|row|x|y|width|height|expect", the point the one it
// clicks and the rectangle its control's, in the window's client area (a
// ring's case expects the ring's outer edge there, as WIDTHxHEIGHT+X+Y);
// case -1 is the sentinel, clicked after a case's click so that the page
// has handled that one once the sentinel answers, and -2 the zone whose
// handler fails. "" past the last.
EMSCRIPTEN_KEEPALIVE const char *conformance_case(int i)
{
    static const char *const checks[] = {"click", "text", "caption", "timer", "access", "focus", "ring", "key"};
    const Case &c = i == -1 ? Case{"sentinel", Check::Click, "Sentinel", At::Centre, "Sentinel"}
                  : i == -2 ? Case{"faulty", Check::Click, "Faulty", At::Centre, ""}
                  : i >= 0 && i < int(std::size(Cases)) ? Cases[i] : Case{};
    if (!c.name)
        return "";
    const Point p = pointOf(c);
    const Rect r = windowRect(window(), rowOf(c.control)), ring = ringOf(c.control);
    const std::string expect = c.check != Check::Ring ? c.expect
            : std::to_string(ring.width) + 'x' + std::to_string(ring.height) + '+' + std::to_string(ring.x) + '+' +
              std::to_string(ring.y);
    return say(std::string(c.name) + '|' + checks[int(c.check)] + '|' + std::to_string(rowOf(c.control)) + '|' +
               std::to_string(p.x) + '|' + std::to_string(p.y) + '|' + std::to_string(r.width) + '|' +
               std::to_string(r.height) + '|' + expect);
}

// The table's name for the row; "" for none.
EMSCRIPTEN_KEEPALIVE const char *conformance_name(int row)
{
    return row >= 0 && size_t(row) < window().controls.size() ? window().controls[size_t(row)].name : "";
}

// The zones clicked so far, each followed by ';'; forgotten if asked.
EMSCRIPTEN_KEEPALIVE const char *conformance_clicks(bool forget)
{
    const char *log = say(clickLog);
    if (forget)
        clickLog.clear();
    return log;
}

// Case i's write: its text, or its caption.
EMSCRIPTEN_KEEPALIVE void conformance_write(int i)
{
    const Case &c = Cases[i];
    FormProbe::set(*app().loaded("Conformance"), c.control, c.check == Check::TextReadsBack ? Property::Text : Property::Caption,
                      std::string(c.expect));
}

// The interval the core asks of the page's timer.
EMSCRIPTEN_KEEPALIVE int conformance_interval()
{
    return timerDeliveryMs(window().controls[size_t(rowOf("Tick"))].settings.interval,
                           runtime::web::WebBackend::instance().refreshHz());
}

} // extern "C"

int main()
{
    app().add(window());
    return app().show("Conformance") == Status::Ok ? 0 : 1;
}
