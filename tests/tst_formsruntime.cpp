// The forms runtime on Qt as a user meets it: clicks routed by stacking
// and visibility through the window system, pictures drawn one to one and
// clipped, run-time errors that stop a handler part-way, and the lifetime
// of windows. The core's own rules are tested without a display (tst_core).
#include "eventcounter.h"
#include "formaccess.h"
#include "label.h"
#include "description/twips.h"

#include <QMessageBox>
#include <QTest>

using namespace runtime;

namespace {

QStringList clicks;  // what the test form's handlers saw, in order

#define LOGGED(name) {name, [](Form &) { clicks << QStringLiteral(name); }}

constexpr Colour Black = rgb(0x000000);

// A window of zones that overlap in every way the runtime has to decide.
constexpr ControlRow ZoneControls[] = {
    // kind               name        in      left  top  width height  settings (pixels x 15)
    {Kind::Label,       "Front",     "",      150,  150,  600,  600, {.transparent = true}},
    {Kind::Label,       "Back",      "",      450,  450,  600,  600, {.caption = "Back"}},
    {Kind::Label,       "Behind",    "",     1350,    0, 1500, 1500, {.transparent = true}},
    {Kind::PictureBox,  "Box",       "",     1500,  150,  900,  900, {.picture = "lamplit", .back = Black, .border = Border::Flat}},
    {Kind::Label,       "Inner",     "Box",   -75,  -75,  450,  450, {.transparent = true}},
    {Kind::Label,       "Hidden",    "Box",   600,  600,  300,  300, {.hidden = true}},
    {Kind::PictureBox,  "Cover",     "",     3000,  150,  750,  750, {.back = Black, .hidden = true}},
    {Kind::PictureBox,  "Shell",     "",     4500,  150,  750,  750, {.back = Black, .border = Border::Flat, .hidden = true}},
    {Kind::Label,       "Shelled",   "Shell",   0,    0,  600,  600, {}},
    {Kind::Line,        "Rule",      "",     3000, 1200, 5250, 1200},
    {Kind::Label,       "Beneath",   "",     3000,  150, 2250, 1500, {}},
    {Kind::TextBox,     "Field",     "",      150, 1800, 1500,  300, {.text = "one", .tabIndex = 1}},
    {Kind::TextBox,     "Memo",      "",      150, 2250, 1500,  600, {.multiLine = true, .tabIndex = 2}},
    {Kind::PictureBox,  "Sunken",    "",     4500, 2700,  600,  300, {.picture = "lamplit"}},
    {Kind::Timer,       "Ticker",    "",        0,    0,    0,    0, {.interval = 0}},
};
consteval Control zone(std::string_view name) { return controlIn(ZoneControls, name); }

const Handler ZoneHandlers[] = {
    LOGGED("Front_Click"), LOGGED("Back_Click"), LOGGED("Behind_Click"), LOGGED("Inner_Click"),
    LOGGED("Hidden_Click"), LOGGED("Shelled_Click"), LOGGED("Beneath_Click"), LOGGED("Form_Load"),
    // Three steps for a fault injected into the second.
    {"Ticker_Timer", [](Form &me) {
         me.setCaption(zone("Back"), "first");
         me.setCaption(zone("Front"), "second");
         me.setVisible(zone("Hidden"), true);
     }},
    // Caption of Back, then a property a text box lacks, then Back's caption.
    {"Form_Unload", [](Form &me) {
         me.setCaption(zone("Back"), "first");
         me.setCaption(zone("Field"), "never");
         me.setCaption(zone("Back"), "second");
     }},
};

const FormDescription ZoneForm{
    {.name = "Zones", .caption = "Zones", .clientWidth = 6000, .clientHeight = 4500}, ZoneControls, ZoneHandlers};

const FormDescription OtherForm{{.name = "Other", .caption = "Other", .clientWidth = 1500, .clientHeight = 1500}, {}, {}};

QWindow *windowOf(const char *form) { return widgetOf(app().loaded(form))->windowHandle(); }

} // namespace

class tst_FormsRuntime : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void clickRouting_data();
    void clickRouting();
    void pictureIsDrawnOneToOneAndClipped();
    void textReadsBackAsWritten_data();
    void textReadsBackAsWritten();
    void unchangedCaptionDoesNotRepaint();
    void fontsResolve_data();
    void fontsResolve();

    void runTimeErrorStopsTheHandlerThere();
    void injectedFaultStopsTheHandlerThere();
    void showLoadsOnceBeforeShowing();
    void endStopsEveryHandler();
    void closingFromTheFrameUnloads();

private:
    void start(bool withFaults = false);
};

void tst_FormsRuntime::init()
{
    start();
    clicks.clear();
}

// A program of the two windows, on the Qt backend, behind the fault
// injection if asked.
void tst_FormsRuntime::start(bool withFaults)
{
    startAfresh(withFaults).add(ZoneForm);
    app().add(OtherForm);
}

void tst_FormsRuntime::clickRouting_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("releasedAt");  // null: where it was pressed
    QTest::addColumn<QString>("reaches");    // empty: nothing is clicked

    QTest::newRow("front alone") << QPoint(12, 12) << QPoint() << "Front_Click";
    QTest::newRow("overlap goes to the first listed") << QPoint(35, 35) << QPoint() << "Front_Click";
    QTest::newRow("back alone") << QPoint(60, 60) << QPoint() << "Back_Click";
    QTest::newRow("label listed before a box lies behind it") << QPoint(125, 40) << QPoint() << "";
    QTest::newRow("label beside the box") << QPoint(92, 80) << QPoint() << "Behind_Click";
    QTest::newRow("box border is not its client") << QPoint(100, 10) << QPoint() << "";
    QTest::newRow("child at the client origin") << QPoint(101, 11) << QPoint() << "Inner_Click";
    QTest::newRow("child's clipped part") << QPoint(100, 30) << QPoint() << "";
    QTest::newRow("hidden child takes nothing") << QPoint(145, 55) << QPoint() << "";
    QTest::newRow("hidden box passes to what is behind") << QPoint(210, 20) << QPoint() << "Beneath_Click";
    QTest::newRow("hidden box hides its children") << QPoint(305, 15) << QPoint() << "Beneath_Click";
    QTest::newRow("a line takes no click") << QPoint(250, 80) << QPoint() << "Beneath_Click";
    QTest::newRow("empty window") << QPoint(380, 280) << QPoint() << "";
    QTest::newRow("pressed inside, released outside") << QPoint(60, 60) << QPoint(380, 280) << "";
    QTest::newRow("pressed outside, released inside") << QPoint(380, 280) << QPoint(60, 60) << "";
    QTest::newRow("pressed and released on two zones") << QPoint(12, 12) << QPoint(60, 60) << "";
}

void tst_FormsRuntime::clickRouting()
{
    QFETCH(QPoint, at);
    QFETCH(QPoint, releasedAt);
    QFETCH(QString, reaches);
    QCOMPARE(app().show("Zones"), Status::Ok);
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    clicks.clear();
    QTest::mousePress(windowOf("Zones"), Qt::LeftButton, {}, at);
    QTest::mouseRelease(windowOf("Zones"), Qt::LeftButton, {}, releasedAt.isNull() ? at : releasedAt);
    QCOMPARE(clicks, reaches.isEmpty() ? QStringList() : QStringList{reaches});
}

void tst_FormsRuntime::pictureIsDrawnOneToOneAndClipped()
{
    QCOMPARE(app().show("Zones"), Status::Ok);
    QWidget *window = widgetOf(app().loaded("Zones"));
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage lamp = QImage(QStringLiteral(":/pictures/lamplit.jpg")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(lamp.size(), QSize(15, 13));
    // Box at (100, 10), 60 x 60, flat border: the client starts at (101, 11).
    QCOMPARE(shot.copy(101, 11, 15, 13), lamp);
    // Beyond the picture the back colour; the border stays a border.
    QCOMPARE(shot.pixel(101 + 15, 11), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(101, 11 + 13), qRgb(0, 0, 0));
    // The transparent child over the client origin shows the picture through.
    QCOMPARE(shot.pixel(101, 11), lamp.pixel(0, 0));
    // The sunken border is two pixels deep: box at (300, 180), client at (302, 182).
    QCOMPARE(shot.copy(302, 182, 15, 13), lamp);
    QVERIFY(shot.pixel(301, 181) != lamp.pixel(0, 0));
    QCOMPARE(shot.pixel(300, 180), window->palette().color(QPalette::Dark).rgb());
}

void tst_FormsRuntime::textReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("one line") << "Field" << "On";
    QTest::newRow("empty") << "Field" << "";
    QTest::newRow("spaces kept") << "Field" << "On ";
    QTest::newRow("CR LF ends") << "Memo" << "a\r\n\r\nb\r\n";
    QTest::newRow("no final line end") << "Memo" << "a\r\nb";
}

void tst_FormsRuntime::textReadsBackAsWritten()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QCOMPARE(app().load("Zones"), Status::Ok);
    Form *form = app().loaded("Zones");
    QCOMPARE(::setProperty(form, control, Property::Text, text), Status::Ok);
    QVariant back;
    QCOMPARE(getProperty(form, control, Property::Text, back), Status::Ok);
    QCOMPARE(back.toString(), text);
}

void tst_FormsRuntime::unchangedCaptionDoesNotRepaint()
{
    QCOMPARE(app().show("Zones"), Status::Ok);
    Form *form = app().loaded("Zones");
    QWidget *back = controlOf(form, QStringLiteral("Back"));
    QVERIFY(QTest::qWaitForWindowExposed(back->window()));
    EventCounter paints({QEvent::Paint});
    QCoreApplication::processEvents();
    paints.watch(back);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(::setProperty(form, QStringLiteral("Back"), Property::Caption, QStringLiteral("Back")), Status::Ok);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    QCOMPARE(::setProperty(form, QStringLiteral("Back"), Property::Caption, QStringLiteral("Moved")), Status::Ok);
    QTRY_COMPARE(paints.count, 1);
}

void tst_FormsRuntime::fontsResolve_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("Arial") << "Arial" << "Liberation Sans";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif" << "Liberation Sans";
}

void tst_FormsRuntime::fontsResolve()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    qtBackend();  // installs the runtime's substitutions
    QFont font(face);
    font.setPixelSize(fontPixels(8.25));
    QCOMPARE(QFontInfo(font).family(), family);
    QCOMPARE(QFontInfo(font).pixelSize(), 11);
}

void tst_FormsRuntime::runTimeErrorStopsTheHandlerThere()
{
    QCOMPARE(app().show("Zones"), Status::Ok);
    Form *form = app().loaded("Zones");
    QTest::ignoreMessage(QtWarningMsg,
                         "Run-time error in Form_Unload: Field.Caption: property not supported by this control");
    QVERIFY(runHandler(*form, "Form_Unload"));
    QVariant caption;
    getProperty(form, QStringLiteral("Back"), Property::Caption, caption);
    QCOMPARE(caption.toString(), QStringLiteral("first"));  // the step before stays done
    auto boxes = [] {
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()
                && box->text().contains(QLatin1String("Form_Unload"))
                && box->text().contains(QLatin1String("Field")) && box->text().contains(QLatin1String("Caption")))
                ++n;
        return n;
    };
    QCOMPARE(boxes(), 1);
    // The program goes on; the same error again is neither a second box
    // nor a second line (a failing 1 ms timer would write 1000 a second).
    QTest::failOnWarning(QRegularExpression("Run-time error in Form_Unload"));
    runHandler(*form, "Form_Unload");
    QCOMPARE(boxes(), 1);
    QVERIFY(!app().hasEnded());
}

void tst_FormsRuntime::injectedFaultStopsTheHandlerThere()
{
    start(true);
    QCOMPARE(app().show("Zones"), Status::Ok);
    Form *form = app().loaded("Zones");
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    faultInjection().inject("Front", Property::Caption);
    QTest::ignoreMessage(QtWarningMsg, "Run-time error in Ticker_Timer: Front.Caption: the operation failed");
    runHandler(*form, "Ticker_Timer");
    QVariant caption, hidden;
    QCOMPARE(getProperty(form, QStringLiteral("Back"), Property::Caption, caption), Status::Ok);
    QCOMPARE(caption.toString(), QStringLiteral("first"));
    QCOMPARE(getProperty(form, QStringLiteral("Hidden"), Property::Visible, hidden), Status::Ok);
    QCOMPARE(hidden.toBool(), false);
    // Clicks still work after the error.
    QTest::mouseClick(windowOf("Zones"), Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(clicks.last(), QStringLiteral("Back_Click"));
}

void tst_FormsRuntime::showLoadsOnceBeforeShowing()
{
    QVERIFY(!app().loaded("Zones"));
    QCOMPARE(app().show("Zones"), Status::Ok);
    QCOMPARE(clicks, QStringList{"Form_Load"});
    QWidget *window = widgetOf(app().loaded("Zones"));
    // Focus starts at the lowest tab index that can take it.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget(), controlOf(app().loaded("Zones"), QStringLiteral("Field"))->focusProxy());
    QVERIFY(window->isVisible());
    QCOMPARE(app().hide("Zones"), Status::Ok);
    QVERIFY(!window->isVisible());
    QVERIFY(app().loaded("Zones"));
    QCOMPARE(app().show("Zones"), Status::Ok);
    QCOMPARE(clicks, QStringList{"Form_Load"});  // loaded once
    QCOMPARE(app().show("Nonesuch"), Status::NoSuchForm);
}

void tst_FormsRuntime::endStopsEveryHandler()
{
    QCOMPARE(app().show("Zones"), Status::Ok);
    Form *form = app().loaded("Zones");
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    QWindow *window = windowOf("Zones");
    form->end();
    QVERIFY(app().hasEnded());
    QVERIFY(!app().loaded("Zones"));
    clicks.clear();
    QVERIFY(!runHandler(*form, "Nonesuch_Click"));
    runHandler(*form, "Front_Click");
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(12, 12));
    QCOMPARE(clicks, QStringList());
}

void tst_FormsRuntime::closingFromTheFrameUnloads()
{
    QCOMPARE(app().show("Other"), Status::Ok);
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Other")));
    windowOf("Other")->close();
    QVERIFY(!app().loaded("Other"));
    QVERIFY(app().hasEnded());
}

QTEST_MAIN(tst_FormsRuntime)
#include "tst_formsruntime.moc"
