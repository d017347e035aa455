// The runtime's platform-neutral core, with no display: descriptions
// checked before anything is built, handlers bound by their exact names,
// the one conversion from twips, the registry's lifetime of windows on a
// backend that only keeps count, the form's store of properties and its
// sleeping timers, the keyboard's focus and keys, the command line, and the animation view's rules on a
// host whose threads and timer the test turns by hand, with the queue its
// jobs run in.
#include "animation/animationview.h"
#include "program/commandline.h"
#include "platform/diagnostics.h"
#include "form/form.h"
#include "giffixtures.h"
#include "platform/picturefiles.h"
#include "program/application.h"
#include "formprobe.h"
#include "description/timing.h"
#include "description/twips.h"
#include "description/validation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <unistd.h>

using namespace runtime;

namespace {

// A backend with nothing on the screen: windows that count what they are
// told, and keep what their timers were last asked to do.
struct CountingBackend : Backend
{
    int applied = 0;
    std::map<int, int> timers;  // row: the last interval asked for

    struct Values : Window
    {
        CountingBackend &b;
        explicit Values(CountingBackend &backend) : b(backend) {}
        ~Values() override { ++b.destroyed; }
        void show() override {}
        void hide() override {}
        void apply(int, Property, const Value &) override { ++b.applied; }
        void runTimer(int row, int ms) override { b.timers[row] = ms; }
        void focus(int row, bool ring) override { b.focusTold.push_back({row, ring}); }
    };
    std::vector<std::pair<int, bool>> focusTold;  // each row the focus went to, and with a ring
    int built = 0, destroyed = 0;
    std::vector<std::string> reports;

    std::unique_ptr<Window> build(Form &) override { ++built; return std::make_unique<Values>(*this); }
    bool hasPicture(std::string_view name) const override { return name == "lamplit"; }
    std::string appFolder() const override { return "/app"; }
    double refreshHz() const override { return 50; }
    void report(const std::string &message, bool) override { reports.push_back(message); }
    // Run when the test says, as a platform runs them once a handler returns.
    std::vector<std::function<void()>> pending;
    void later(std::function<void()> work) override { pending.push_back(std::move(work)); }
    void runLater()
    {
        for (std::vector<std::function<void()>> now; !pending.empty();)
            for (auto &work : (now = std::exchange(pending, {})))
                work();
    }
    int exec() override { return 0; }
    void quit(int) override { ++quits; }
    int quits = 0;
} backend;

// A readout that follows a hidden text on a timer, as the dashboard's do.
constexpr ControlRow FollowRows[] = {
    {Kind::TextBox, "Source", "", 0, 0, 150, 150, {.text = "000"}},
    {Kind::Label, "Readout", "", 0, 0, 150, 150, {.caption = "000"}},
    {Kind::Timer, "Ticker", "", 0, 0, 0, 0, {.interval = 1}},
    {Kind::Timer, "Clock", "", 0, 0, 0, 0, {.interval = 100, .readsClock = true}},
    {Kind::Label, "Hidden", "", 0, 0, 150, 150, {.hidden = true}},
    {Kind::TextBox, "Fixed", "", 0, 0, 150, 150, {.text = "000", .readOnly = true}},
    {Kind::TextBox, "Notes", "", 0, 0, 150, 150, {.multiLine = true}},
    {Kind::Timer, "Stopped", "", 0, 0, 0, 0},  // no interval: never started
    {Kind::PictureBox, "Box", "", 0, 0, 150, 150, {.border = Border::Flat}},
    {Kind::Label, "Out", "Box", 150, 150, 150, 150},  // past its box's client area
};
consteval Control follows(std::string_view name) { return controlIn(FollowRows, name); }
void follow(Form &me) { me.setCaption(follows("Readout"), me.text(follows("Source"))); }
int unloads = 0;
int heard = 0;  // clicks and the clock's ticks
const Handler FollowHandlers[] = {
    {"Ticker_Timer", follow},
    {"Clock_Timer", [](Form &) { ++heard; }},
    {"Readout_Click", [](Form &) { ++heard; }},
    {"Hidden_Click", [](Form &) { ++heard; }},
    {"Stopped_Timer", [](Form &) { ++heard; }},
    {"Out_Click", [](Form &) { ++heard; }},
    {"Form_Unload", [](Form &me) { ++unloads; me.unloadForm("Follow"); }},
};
const FormDescription Follow{{.name = "Follow", .caption = "", .clientWidth = 150, .clientHeight = 150},
                             FollowRows, FollowHandlers};

// For the keyboard: a zone and a read-only field side by side; a box of
// four zones in two lines, listed back to front, B a little lower than A;
// a hidden zone, a label no one answers, a zone idle while "Off" shows.
constexpr ControlRow KeyRows[] = {
    {Kind::Label, "Top", "", 0, 0, 900, 300},
    {Kind::TextBox, "Field", "", 1500, 0, 900, 300, {.text = "Off", .readOnly = true}},
    {Kind::PictureBox, "Panel", "", 0, 900, 3000, 1500, {.border = Border::Flat}},
    {Kind::Label, "D", "Panel", 900, 600, 600, 300},
    {Kind::Label, "C", "Panel", 150, 600, 600, 300},
    {Kind::Label, "B", "Panel", 900, 180, 600, 300},
    {Kind::Label, "A", "Panel", 150, 150, 600, 300},
    {Kind::Label, "Gone", "", 0, 3000, 600, 300, {.hidden = true}},
    {Kind::Label, "Dead", "", 900, 3000, 600, 300},
    {Kind::Label, "Idle", "", 1800, 3000, 600, 300},
};
std::string pressed;
const Handler KeyHandlers[] = {
    {"Top_Click", [](Form &) { pressed += "Top"; }}, {"A_Click", [](Form &) { pressed += "A"; }},
    {"B_Click", [](Form &) { pressed += "B"; }}, {"C_Click", [](Form &) { pressed += "C"; }},
    {"D_Click", [](Form &) { pressed += "D"; }}, {"Gone_Click", [](Form &) { pressed += "Gone"; }},
    {"Idle_Click", [](Form &me) { if (me.text(controlIn(KeyRows, "Field")) == "On") pressed += "Idle"; }},
};
const FormDescription Keys{{.name = "Keys", .caption = "", .clientWidth = 4500, .clientHeight = 4500},
                           KeyRows, KeyHandlers};

// The worker and the UI thread, run when the test says. The worker runs
// the view's jobs only once told, as a platform's does.
struct ManualHost : AnimationView::Host
{
    std::shared_ptr<JobQueue> jobs;  // told of, not yet run through
    std::deque<std::function<void()>> done;
    bool visible = true;
    int delay = 0;

    void jobsWaiting(const std::shared_ptr<JobQueue> &waiting) override
    {
        QVERIFY2(!jobs, "told again before running through: two workers would overlap");
        jobs = waiting;
    }
    void onUiThread(std::function<void()> d) override { done.push_back(std::move(d)); }
    void startDelay(int ms) override { delay = ms; }
    void stopDelay() override { delay = 0; }
    void invalidate(const Rect &) override {}
    bool visibleNow() const override { return visible; }
    Rect containerArea() const override { return {0, 0, 167, 191}; }
    void runJobs()
    {
        while (jobs && jobs->runSlice()) {
        }
        jobs.reset();
    }
    void runDone()
    {
        for (; !done.empty(); done.pop_front())
            done.front()();
    }
    void runAll()
    {
        while (jobs || !done.empty())
            runJobs(), runDone();
    }
};

// The browser view of the dashboard: larger than its clip box, which shows
// 167 x 191 of it from (16, 24).
const ControlRow VoiceBox{Kind::BrowserView, "WebBrowser1", "Picture1", -240, -360, 3735, 5175};

} // namespace

class tst_Core : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void validate_data();
    void validate();
    void pixelConversion_data();
    void pixelConversion();
    void pictureFiles_data();
    void pictureFiles();
    void timerDelivery_data();
    void timerDelivery();
    void storeAndSleepingTimers();
    void nestedUnload();
    void lastUnloadEnds();
    void doorTakesOnlyWhatTheFormHas_data();
    void doorTakesOnlyWhatTheFormHas();
    void keyboard_data();
    void keyboard();
    void commandLine_data();
    void commandLine();
    void animationNote_data();
    void animationNote();
    void animationDropsStaleResults();
    void animationWaitsWhileHidden();
    void jobsRunInOrderOneAtATime();

private:
    Application &app() { return *m_app; }

    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
    std::string file(const char *name, const QByteArray &bytes, qint64 size = -1);
};

std::string tst_Core::file(const char *name, const QByteArray &bytes, qint64 size)
{
    QFile f(m_dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || (size >= 0 && !f.resize(size)))
        qFatal("cannot write %s", name);
    return f.fileName().toStdString();
}

void tst_Core::init()
{
    m_app.reset();
    m_app = std::make_unique<Application>(backend);
    backend.built = backend.destroyed = backend.applied = backend.quits = 0;
    backend.timers.clear();
    backend.reports.clear();
    backend.pending.clear();
    backend.focusTold.clear();
}

void tst_Core::validate_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("error");  // empty: the description is sound

    QTest::newRow("sound") << 0 << QString();
    QTest::newRow("unknown kind") << 1 << "unknown kind";
    QTest::newRow("duplicate name") << 2 << "Twin: duplicate name";
    QTest::newRow("names differing in case are two") << 3 << QString();
    QTest::newRow("unknown container") << 4 << "unknown container Nowhere";
    QTest::newRow("container not a box") << 5 << "unknown container Twin";
    QTest::newRow("handler names no control") << 6 << "no control named Ghost";
    QTest::newRow("handler names no event") << 7 << "Twin has no event Timer";
    QTest::newRow("handler not Control_Event") << 8 << "not of the form Control_Event";
    QTest::newRow("twips off the pixel grid") << 9 << "7 twips";
    QTest::newRow("unknown picture") << 10 << "no such picture: nosuch";
    QTest::newRow("form event unknown") << 11 << "Form has no event Click";
    QTest::newRow("handler's control in other case") << 12 << "no control named twin";
    QTest::newRow("handler's event in other case") << 13 << "Twin has no event click";
    QTest::newRow("container in other case") << 14 << "unknown container box";
    QTest::newRow("handler bound twice") << 15 << "Twin_Click: bound twice";
}

void tst_Core::validate()
{
    QFETCH(int, variant);
    QFETCH(QString, error);

    std::vector<ControlRow> rows = {
        {Kind::PictureBox, "Box", "", 0, 0, 150, 150, {.picture = "lamplit"}},
        {Kind::Label, "Twin", "Box", 0, 0, 150, 150},
    };
    std::vector<Handler> handlers = {{"Twin_Click", [](Form &) {}}, {"Form_Load", [](Form &) {}}};
    switch (variant) {
    case 1: rows.push_back({Kind(42), "Odd", "", 0, 0, 15, 15}); break;
    case 2: rows.push_back({Kind::Label, "Twin", "", 0, 0, 15, 15}); break;
    case 3: rows.push_back({Kind::Label, "twin", "", 0, 0, 15, 15}); break;
    case 4: rows.push_back({Kind::Label, "Lost", "Nowhere", 0, 0, 15, 15}); break;
    case 5: rows.push_back({Kind::Label, "Lost", "Twin", 0, 0, 15, 15}); break;
    case 6: handlers.push_back({"Ghost_Click", [](Form &) {}}); break;
    case 7: handlers.push_back({"Twin_Timer", [](Form &) {}}); break;
    case 8: handlers.push_back({"Load", [](Form &) {}}); break;
    case 9: rows.push_back({Kind::Label, "Odd", "", 7, 0, 15, 15}); break;
    case 10: rows.push_back({Kind::PictureBox, "Odd", "", 0, 0, 15, 15, {.picture = "nosuch"}}); break;
    case 11: handlers.push_back({"Form_Click", [](Form &) {}}); break;
    case 12: handlers.push_back({"twin_Click", [](Form &) {}}); break;
    case 13: handlers.push_back({"Twin_click", [](Form &) {}}); break;
    case 14: rows.push_back({Kind::Label, "Lost", "box", 0, 0, 15, 15}); break;
    case 15: handlers.push_back({"Twin_Click", [](Form &) {}}); break;
    }
    const FormDescription d{{.name = "Check", .caption = "", .clientWidth = 150, .clientHeight = 150}, rows, handlers};
    const std::vector<std::string> errors =
            runtime::validate(d, [](std::string_view picture) { return backend.hasPicture(picture); });
    app().add(d);
    if (error.isEmpty()) {
        QCOMPARE(errors.size(), size_t(0));
        QCOMPARE(app().show("Check"), Status::Ok);
        QCOMPARE(backend.built, 1);
        return;
    }
    QCOMPARE(errors.size(), size_t(1));
    QVERIFY2(QString::fromStdString(errors.front()).contains(error), errors.front().c_str());
    // A description that fails the check never becomes a window.
    QCOMPARE(app().show("Check"), Status::Failed);
    QVERIFY(!app().loaded("Check"));
    QCOMPARE(backend.built, 0);
}

void tst_Core::pixelConversion_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("8.25") << 8.25 << 11;
    QTest::newRow("12") << 12.0 << 16;
    QTest::newRow("13.5") << 13.5 << 18;
    QTest::newRow("18") << 18.0 << 24;
    QTest::newRow("26.25") << 26.25 << 35;
    QTest::newRow("27.75") << 27.75 << 37;
}

void tst_Core::pixelConversion()
{
    QFETCH(double, points);
    QFETCH(int, pixels);
    QCOMPARE(fontPixels(points), pixels);
    QCOMPARE(runtime::pixels(-1800), -120);
}

void tst_Core::pictureFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");  // "": none
    QTest::newRow("any case") << "LeftPanel" << "leftpanel.jpg";
    QTest::newRow("up to any dot") << "lamp" << "lamp.lit.bmp";
    QTest::newRow("two to choose from") << "mode" << "";
    QTest::newRow("a name's start alone") << "left" << "";
}

void tst_Core::pictureFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    const std::vector<std::string> files{"leftpanel.jpg", "lamp.lit.bmp", "mode.bmp", "mode.jpg"};
    QCOMPARE(QString::fromStdString(pictureFile(files, name.toStdString())), file);
}

void tst_Core::timerDelivery_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<double>("refreshHz");
    QTest::addColumn<int>("delivered");
    QTest::newRow("1 ms, refresh unknown") << 1 << 0.0 << 10;
    QTest::newRow("1 ms at 60 Hz") << 1 << 60.0 << 17;
    QTest::newRow("1 ms at 144 Hz") << 1 << 144.0 << 10;
    QTest::newRow("16 ms at 60 Hz") << 16 << 60.0 << 17;
    QTest::newRow("100 ms kept at 60 Hz") << 100 << 60.0 << 100;
    QTest::newRow("1 ms at 50 Hz") << 1 << 50.0 << 20;
    // 13.3 ms and 16.7 ms: a tick a refresh rounds up, never faster than the screen
    QTest::newRow("1 ms at 75 Hz rounds up") << 1 << 75.0 << 14;
    QTest::newRow("1 ms at 59.94 Hz rounds up") << 1 << 59.94 << 17;
}

void tst_Core::timerDelivery()
{
    QFETCH(int, interval);
    QFETCH(double, refreshHz);
    QFETCH(int, delivered);
    QCOMPARE(timerDeliveryMs(interval, refreshHz), delivered);
}

// A write of the value already held goes nowhere; a timer whose tick
// changed nothing sleeps until something changes, by a handler or by the
// user, unless its handler reads the clock.
void tst_Core::storeAndSleepingTimers()
{
    app().add(Follow);
    QCOMPARE(app().show("Follow"), Status::Ok);
    Form &form = *app().loaded("Follow");
    const int ticker = form.row("Ticker"), clock = form.row("Clock");
    QCOMPARE(backend.timers[ticker], 20);  // 1 ms asked, once a 50 Hz refresh given
    QCOMPARE(backend.timers[clock], 100);
    QCOMPARE(FormProbe::set(form, "Readout", Property::Caption, std::string("000")), Status::Ok);
    QCOMPARE(backend.applied, 0);

    app().event(form, ticker, Event::Timer);  // nothing to copy
    QCOMPARE(backend.timers[ticker], 0);
    QCOMPARE(backend.timers[clock], 100);  // only the timer that ticked sleeps
    QVERIFY(form.ticking(clock));           // and the door still lets the clock's ticks in
    app().typed(form, form.row("Source"), "120");
    QCOMPARE(backend.timers[ticker], 20);
    QCOMPARE(backend.applied, 0);  // the screen already shows what the user typed
    backend.runLater();             // the woken timer's first tick, at once
    QCOMPARE(backend.applied, 1);
    QCOMPARE(backend.timers[ticker], 20);  // a tick that changed something keeps going
    Value caption;
    QCOMPARE(FormProbe::get(form, "Readout", Property::Caption, caption), Status::Ok);
    QCOMPARE(std::get<std::string>(caption), std::string("120"));
    app().event(form, ticker, Event::Timer);
    QCOMPARE(backend.timers[ticker], 0);
    QCOMPARE(FormProbe::set(form, "Source", Property::Text, std::string("7")), Status::Ok);
    QCOMPARE(backend.timers[ticker], 20);
    for (int i = 0; i < 3; ++i)
        app().event(form, clock, Event::Timer);
    QCOMPARE(backend.timers[clock], 100);
    app().unload("Follow");
    backend.runLater();  // a tick asked for by a form since unloaded goes nowhere
    QCOMPARE(backend.applied, 2);  // the 120 copied, and the 7 written

}

// A form that unloads itself from its own Unload handler is unloaded once.
void tst_Core::nestedUnload()
{
    unloads = 0;
    app().add(Follow);
    QCOMPARE(app().show("Follow"), Status::Ok);
    QCOMPARE(app().unload("Follow"), Status::Ok);
    QCOMPARE(unloads, 1);
    QVERIFY(!app().loaded("Follow"));
    QVERIFY(backend.reports.empty());
}

// The program ends with the last window unloaded, not before.
void tst_Core::lastUnloadEnds()
{
    const FormDescription plain{{.name = "Plain", .caption = "", .clientWidth = 150, .clientHeight = 150}, {}, {}};
    app().add(Follow);
    app().add(plain);
    QCOMPARE(app().show("Plain"), Status::Ok);
    QCOMPARE(app().load("Follow"), Status::Ok);
    QCOMPARE(app().unload("Follow"), Status::Ok);
    QCOMPARE(app().load("Follow"), Status::Ok);  // loaded again, it unloads again
    QCOMPARE(app().unload("Follow"), Status::Ok);
    QVERIFY(!app().loaded("Follow"));
    QCOMPARE(backend.quits, 0);
    QVERIFY(!app().hasEnded());
    backend.runLater();
    QCOMPARE(backend.destroyed, 2);  // both its windows gone once the handlers returned
    QCOMPARE(app().unload("Plain"), Status::Ok);
    QCOMPARE(backend.quits, 1);
    QVERIFY(app().hasEnded());
}

// Whatever row or event a platform passes on, the door takes only an input
// the form's table has a place for now, and drops the rest untouched.
void tst_Core::doorTakesOnlyWhatTheFormHas_data()
{
    // event, press, typed, key (Enter on the zone, clicked first), close;
    // after "asleep", "hidden", "unloaded" or "freed" once the form is so
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("row");         // used when no control is named
    QTest::addColumn<int>("event");
    QTest::addColumn<bool>("taken");

    const int click = int(Event::Click), tick = int(Event::Timer), rows = int(std::size(FollowRows));
    QTest::newRow("click on a zone") << "event" << "Readout" << 0 << click << true;
    QTest::newRow("tick of a running timer") << "event" << "Clock" << 0 << tick << true;
    QTest::newRow("press on a zone") << "press" << "Readout" << 0 << 0 << true;
    QTest::newRow("typed into a box") << "typed" << "Source" << 0 << 0 << true;
    QTest::newRow("typed lines, CR LF between") << "typed" << "Notes" << 0 << 0 << true;
    for (const int row : {-1, -2, rows, rows + 1, INT_MAX, INT_MIN}) {
        const QByteArray at = QByteArray::number(row);
        QTest::newRow("click at row " + at) << "event" << "" << row << click << false;
        QTest::newRow("press at row " + at) << "press" << "" << row << 0 << false;
        QTest::newRow("typed at row " + at) << "typed" << "" << row << 0 << false;
    }
    QTest::newRow("event past the last") << "event" << "Readout" << 0 << EventCount << false;
    QTest::newRow("negative event") << "event" << "Readout" << 0 << -1 << false;
    QTest::newRow("the window's own event") << "event" << "Readout" << 0 << int(Event::Unload) << false;
    QTest::newRow("tick of a label") << "event" << "Readout" << 0 << tick << false;
    QTest::newRow("click on a timer") << "event" << "Clock" << 0 << click << false;
    QTest::newRow("tick of a sleeping timer") << "asleep event" << "Ticker" << 0 << tick << false;
    QTest::newRow("tick of a timer never started") << "event" << "Stopped" << 0 << tick << false;
    QTest::newRow("click on a hidden zone") << "event" << "Hidden" << 0 << click << false;
    QTest::newRow("press on a hidden zone") << "press" << "Hidden" << 0 << 0 << false;
    QTest::newRow("typed into a label") << "typed" << "Readout" << 0 << 0 << false;
    QTest::newRow("typed into a read-only box") << "typed" << "Fixed" << 0 << 0 << false;
    QTest::newRow("click on a zone its box clips away") << "event" << "Out" << 0 << click << false;
    QTest::newRow("press on a zone its box clips away") << "press" << "Out" << 0 << 0 << false;
    QTest::newRow("Enter on a zone") << "key" << "Readout" << 0 << 0 << true;
    QTest::newRow("the window's close") << "close" << "" << 0 << 0 << true;
    for (const char *input : {"event", "press", "typed", "key", "close"})
        QTest::newRow(QByteArray(input) + " on a hidden window")
                << QString("hidden ") + input << (input == std::string("typed") ? "Source" : "Readout") << 0 << click
                << false;
    QTest::newRow("tick on a hidden window") << "hidden event" << "Clock" << 0 << tick << true;
    QTest::newRow("click on an unloaded form") << "unloaded event" << "Readout" << 0 << click << false;
    QTest::newRow("press on a freed form") << "freed press" << "Readout" << 0 << 0 << false;
}

void tst_Core::doorTakesOnlyWhatTheFormHas()
{
    QFETCH(QString, input);
    QFETCH(QString, control);
    QFETCH(int, row);
    QFETCH(int, event);
    QFETCH(bool, taken);
    Application &door = app();
    door.add(Follow);
    door.add({{.name = "Other", .caption = "", .clientWidth = 15, .clientHeight = 15}, {}, {}});
    QCOMPARE(door.show("Follow"), Status::Ok);
    QCOMPARE(door.load("Other"), Status::Ok);  // so that unloading Follow does not end the program
    Form &form = *door.loaded("Follow");
    if (!control.isEmpty())
        row = form.row(control.toStdString());
    const QString setup = input.contains(' ') ? input.section(' ', 0, 0) : "";
    input = input.section(' ', -1);
    if (input == "key")
        door.event(form, row, Event::Click);  // the focus on it
    if (setup == "asleep")
        door.event(form, row, Event::Timer);  // nothing to copy: it sleeps
    if (setup == "hidden")
        QCOMPARE(door.hide("Follow"), Status::Ok);
    if (setup == "unloaded" || setup == "freed")
        QCOMPARE(door.unload("Follow"), Status::Ok);
    if (setup == "freed")
        backend.runLater();  // a platform may still name the form it destroyed
    const int heardBefore = heard, appliedBefore = backend.applied, unloadsBefore = unloads;
    if (input == "press")
        QCOMPARE(door.press(form, row), taken);
    else if (input == "key")
        QCOMPARE(door.key(form, Key::Enter), taken);
    else if (input == "typed")
        door.typed(form, row, "one\ntwo\rthree\r\n");
    else if (input == "close")
        door.close(form);
    else
        door.event(form, row, Event(event));
    backend.runLater();
    if (input == "close") {
        QCOMPARE(unloads - unloadsBefore, int(taken));
        return;
    }
    QCOMPARE(heard - heardBefore + (backend.applied - appliedBefore), int(taken && input != "typed"));
    if (input == "typed") {
        // The box typed into, or where a row that names none would have
        // put it: as it was, unless taken.
        const std::string box = control.isEmpty() || control == "Readout" ? "Source" : control.toStdString();
        const std::string held = !taken ? (box == "Notes" ? "" : "000")
                : box == "Notes" ? "one\r\ntwo\r\nthree\r\n" : "one\ntwo\rthree\r\n";
        Value typed;
        QCOMPARE(FormProbe::get(form, box, Property::Text, typed), Status::Ok);
        QCOMPARE(std::get<std::string>(typed), held);
    }
}

// Keys and clicks through the door, and what the window is told: each
// row the focus went to, starred with the ring; "~" a key left to the
// platform.
void tst_Core::keyboard_data()
{
    // keys; click:, focus: (the platform's focus moved), hide: and show: a
    // control; pointed: (the pointer used on the window)
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("Tab reads line by line, a box where it stands, skips the hidden and unanswered, wraps")
            << "Tab Tab Tab Tab Tab Tab Tab Tab" << "Top* Field* A* B* C* D* Idle* Top*" << "";
    QTest::newRow("Shift+Tab from the end") << "BackTab BackTab" << "Idle* D*" << "";
    QTest::newRow("arrows: the nearest that way, or the platform's")
            << "Tab Left Tab Tab Right Down Left Up" << "Top* ~ Field* A* B* D* C* A*" << "";
    QTest::newRow("Enter and Space: a field's are the platform's, a zone's its click")
            << "Tab Tab Enter Space Tab Tab Space" << "Top* Field* ~ ~ A* B*" << "B";
    QTest::newRow("Enter on a zone that does nothing now does nothing") << "BackTab Enter" << "Idle*" << "";
    QTest::newRow("a click puts the ring away, Tab goes on from it") << "Tab click:C Tab" << "Top* C D*" << "C";
    QTest::newRow("the platform's focus moved into a field, then the pointer used: the core's follows")
            << "Tab focus:Field Tab pointed: Tab focus:Gone" << "Top* Field A* A B*" << "";
    QTest::newRow("the focused zone hidden, then its box: the next")
            << "Tab Tab Tab hide:A hide:Panel" << "Top* Field* A* B* Idle*" << "";
    QTest::newRow("a zone shown takes its place") << "show:Gone BackTab BackTab" << "Idle* Gone*" << "";
}

void tst_Core::keyboard()
{
    QFETCH(QString, input);
    QFETCH(QString, told);
    QFETCH(QString, pressed);
    app().add(Keys);
    QCOMPARE(app().show("Keys"), Status::Ok);
    Form &form = *app().loaded("Keys");
    ::pressed.clear();
    const QStringList keys = {"Tab", "BackTab", "Left", "Right", "Up", "Down", "Enter", "Space"};  // as Key
    QStringList trace;
    for (const QString &step : input.split(' ')) {
        const std::string control = step.section(':', 1).toStdString();
        if (step.startsWith("click:"))
            app().event(form, form.row(control), Event::Click);
        else if (step.startsWith("focus:"))
            app().focused(form, form.row(control));
        else if (step.startsWith("pointed:"))
            app().pointed(form);
        else if (step.contains(':'))
            QCOMPARE(FormProbe::set(form, control, Property::Visible, step.startsWith("show:")), Status::Ok);
        else if (!app().key(form, Key(keys.indexOf(step))))
            trace << "~";
        for (const auto &[row, ring] : std::exchange(backend.focusTold, {}))
            trace << form.description().controls[size_t(row)].name + QString(ring ? "*" : "");
    }
    QCOMPARE(trace.join(' '), told);
    QCOMPARE(QString::fromStdString(::pressed), pressed);
}

void tst_Core::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");    // the first line of what is said
    QTest::addColumn<QString>("option");  // the value of --voice-box, for Run
    QTest::addColumn<QString>("started");  // the path the program was started by: named "velk" in each
    using O = CommandLine::Outcome;
    QTest::newRow("nothing") << QStringList{} << int(O::Run) << 0 << "" << "" << "velk";
    QTest::newRow("help") << QStringList{"--help", "--bogus"} << int(O::Help) << 0 << "Usage: velk [options]" << ""
                          << "/usr/lib/velk-simulator/velk";
    QTest::newRow("help, the Windows way") << QStringList{"/?"} << int(O::Help) << 0 << "Usage: velk [options]" << ""
                                           << "C:\\velk.exe";
    QTest::newRow("version") << QStringList{"-v"} << int(O::Version) << 0 << "velk 1.0" << "" << "C:\\Games\\velk.exe";
    QTest::newRow("value after") << QStringList{"--voice-box", "a b.gif"} << int(O::Run) << 0 << "" << "a b.gif"
                                 << "./velk";
    QTest::newRow("value joined") << QStringList{"--voice-box=x=y"} << int(O::Run) << 0 << "" << "x=y" << "velk";
    QTest::newRow("single dash") << QStringList{"-voice-box", "f"} << int(O::Run) << 0 << "" << "f" << "velk";
    QTest::newRow("no value") << QStringList{"--voice-box"} << int(O::Wrong) << 2
                              << "velk: Missing value after '--voice-box'." << "" << "D:\\velk.EXE";
    QTest::newRow("unknown") << QStringList{"--bogus"} << int(O::Wrong) << 2 << "velk: Unknown option '--bogus'." << ""
                             << "velk.Exe";
    QTest::newRow("argument") << QStringList{"extra"} << int(O::Wrong) << 2 << "velk: Unexpected argument 'extra'." << ""
                              << "velk";
}

void tst_Core::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, option);
    QFETCH(QString, started);
    static const Option options[] = {{"voice-box", "FILE", "Show FILE."}};
    const Program program{.name = "V", .desktopId = "", .version = "1.0", .summary = "A test.", .forms = {},
                          .startForm = "", .options = options};
    setProgramName(programNameOf(started.toStdString()));
    std::vector<std::string> words;
    for (const QString &a : arguments)
        words.push_back(a.toStdString());
    const CommandLine line = parseCommandLine(program, words);
    QCOMPARE(int(line.outcome), outcome);
    QCOMPARE(line.status, status);
    QCOMPARE(QString::fromStdString(line.text).section(u'\n', 0, 0), said);
    QCOMPARE(QString::fromStdString(line.options.count("voice-box") ? line.options.at("voice-box") : ""), option);
    // Both layouts list every option; the stacked one has no columns to align.
    for (UsageLayout layout : {UsageLayout::Columns, UsageLayout::Stacked})
        QVERIFY(QString::fromStdString(usage(program, layout)).contains("--voice-box <FILE>"));
    // The help lines its descriptions up, two spaces after the longest option.
    if (outcome == int(CommandLine::Outcome::Help))
        QVERIFY(QString::fromStdString(line.text).endsWith("  -h, --help          Shows this text.\n"
                                                           "  -v, --version       Shows the version.\n"
                                                           "  --voice-box <FILE>  Show FILE.\n"));
}

void tst_Core::animationNote_data()
{
    QTest::addColumn<QByteArray>("bytes");  // "folder", "missing", "missing, Windows path", "unreadable", or the file's
    QTest::addColumn<qint64>("size");       // grown to, sparse; -1: as written
    QTest::addColumn<QString>("note");      // empty: none

    const QByteArray two = giffixtures::gif({4, 4}, {{{4, 4}, 10, 1}, {{4, 4}, 10, 2}});
    QTest::newRow("good") << two << qint64(-1) << QString();
    QTest::newRow("broken part way: its frames, no note") << two.left(two.size() - 12) << qint64(-1) << QString();
    QTest::newRow("missing") << QByteArray("missing") << qint64(-1) << "v.gif: no such file";
    QTest::newRow("missing, Windows path") << QByteArray("missing, Windows path") << qint64(-1) << "v.gif: no such file";
    QTest::newRow("folder") << QByteArray("folder") << qint64(-1) << "v.gif: is a directory";
    QTest::newRow("unreadable") << QByteArray("unreadable") << qint64(-1) << "v.gif: permission denied";
    QTest::newRow("cut in the first frame") << two.left(40) << qint64(-1)
                                            << "v.gif: a broken GIF picture, nothing of it shown";
    QTest::newRow("over the bound") << two << qint64(FrameDecoder::MaxFileBytes + 1) << "v.gif: larger than 16 MB";
    QTest::newRow("text") << QByteArray("hello") << qint64(-1) << "v.gif: not a GIF picture";
}

void tst_Core::animationNote()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(QString, note);
    const QString path = bytes == "missing, Windows path" ? "C:\\Voice\\v.gif" : m_dir.filePath("v.gif");
    QFile::remove(path);
    QDir(path).removeRecursively();
    if (bytes == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (!bytes.startsWith("missing"))
        file("v.gif", bytes, size);
    if (bytes == "unreadable") {
        if (geteuid() == 0)
            QSKIP("run as root, who may read a file of mode 000: permission is never denied");
        QVERIFY(QFile::setPermissions(path, {}));
    }
    ManualHost host;
    AnimationView view(VoiceBox, host);
    view.navigate(path.toStdString());
    host.runAll();
    QCOMPARE(QString::fromStdString(view.note()), note);
    QCOMPARE(bool(view.frame()), note.isEmpty());
    // Inside what the clip box lets through, less the margin.
    if (!note.isEmpty())
        QCOMPARE(view.noteRect(), (Rect{20, 28, 159, 183}));
}

void tst_Core::animationDropsStaleResults()
{
    ManualHost host;
    AnimationView view(VoiceBox, host);
    const std::string good = file("good.gif", giffixtures::gif({4, 4}, {{{4, 4}}}));
    view.navigate(good);  // and at once another: its worker is told once
    view.navigate(m_dir.filePath("none.gif").toStdString());
    host.runJobs();  // read: its result waits for the UI thread
    view.navigate(good);
    host.runAll();
    QCOMPARE(view.note(), std::string());
    QVERIFY(view.frame());
}

void tst_Core::animationWaitsWhileHidden()
{
    ManualHost host;
    AnimationView view(VoiceBox, host);
    host.visible = false;
    const std::string two = file("two.gif", giffixtures::gif({4, 4}, {{{4, 4}, 10, 1}, {{4, 4}, 10, 2}}));
    view.navigate(two);
    host.runAll();
    QVERIFY(!view.frame());  // read, not decoded
    host.visible = true;
    view.shown();
    host.runJobs();  // decoded: the first frame, then the rest; the first's time runs out in between
    host.done.insert(host.done.begin() + 1, [&] { view.delayOver(); });
    host.runDone();
    QCOMPARE(view.framesShown(), 2);  // the second frame as soon as it came
    const Frame second = view.frame();
    QVERIFY(second);
    QCOMPARE(host.delay, 100);
    host.visible = false;
    view.delayOver();
    QCOMPARE(view.frame(), second);  // due, not shown
    host.visible = true;
    view.shown();
    QVERIFY(view.frame() != second);
    host.visible = false;
    view.delayOver();  // due while hidden; then another file before the view paints
    host.visible = true;
    view.navigate(two);
    host.runAll();
    view.shown();
    QCOMPARE(view.framesShown(), 1);  // that file's first frame stays its time
}

// The view's jobs, on any platform's worker: one at a time, each to its
// end before the next, and none of an earlier file once another is asked
// for, even in the middle of a slice.
void tst_Core::jobsRunInOrderOneAtATime()
{
    JobQueue queue;
    std::string ran;
    std::function<void()> meanwhile;  // what the UI thread does during the next slice
    const auto job = [&](char name, int slices) {
        return [&, name, slices]() mutable {
            ran += name;
            if (meanwhile)
                std::exchange(meanwhile, {})();
            return --slices > 0;
        };
    };
    const auto runThrough = [&] {
        while (queue.runSlice()) {
        }
    };
    QVERIFY(queue.add(job('a', 3)));   // idle: its worker is told,
    QVERIFY(!queue.add(job('b', 1)));  // and only once
    meanwhile = [&] { QVERIFY(!queue.add(job('c', 1))); };
    runThrough();
    QCOMPARE(ran, "aaabc");
    QVERIFY(queue.add(job('d', 3)));  // idle again
    queue.add(job('e', 1));
    meanwhile = [&] {
        queue.clear();
        queue.add(job('f', 1));
    };
    runThrough();
    QCOMPARE(ran, "aaabcdf");
    queue.close();
    QVERIFY(!queue.add(job('g', 1)));
    QVERIFY(!queue.runSlice());
}

QTEST_APPLESS_MAIN(tst_Core)
#include "tst_core.moc"
