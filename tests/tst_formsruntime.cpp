// The forms runtime as a user meets it: descriptions checked before
// anything is built, clicks routed by stacking and visibility through the
// window system, pictures drawn one to one and clipped, run-time errors
// that stop a handler part-way, and the lifetime of windows.
#include "eventcounter.h"
#include "form.h"
#include "forms.h"
#include "label.h"
#include "twips.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace runtime;

namespace {

QStringList clicks;  // what the test form's handlers saw, in order

#define LOGGED(name) {name, [](Form &) { clicks << QStringLiteral(name); }}

constexpr Colour Black = rgb(0x000000);

// A window of zones that overlap in every way the runtime has to decide.
const ControlRow ZoneControls[] = {
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
    {Kind::Timer,       "Namer",     "",        0,    0,    0,    0, {.interval = 0}},
};

const Handler ZoneHandlers[] = {
    LOGGED("Front_Click"), LOGGED("Back_Click"), LOGGED("Behind_Click"), LOGGED("Inner_Click"),
    LOGGED("Hidden_Click"), LOGGED("Shelled_Click"), LOGGED("Beneath_Click"), LOGGED("Form_Load"),
    // Three steps for a fault injected into the second.
    {"Ticker_Timer", [](Form &me) {
         me.setCaption("Back", QStringLiteral("first"));
         me.setCaption("Front", QStringLiteral("second"));
         me.setVisible("Hidden", true);
     }},
    // One buffer naming two controls in turn, as a caller that builds names does.
    {"Namer_Timer", [](Form &me) {
         char name[8];
         for (const char *control : {"Back", "Beneath", "Back"}) {
             qstrcpy(name, control);
             me.setCaption(name, me.text("Field") + QLatin1String(control));
         }
     }},
    // Caption of Back, then a property a text box lacks, then Back's caption.
    {"Form_Unload", [](Form &me) {
         me.setCaption("Back", QStringLiteral("first"));
         me.setCaption("Field", QStringLiteral("never"));
         me.setCaption("Back", QStringLiteral("second"));
     }},
};

const FormDescription ZoneForm{
    {.name = "Zones", .caption = "Zones", .clientWidth = 6000, .clientHeight = 4500}, ZoneControls, ZoneHandlers};

const FormDescription OtherForm{{.name = "Other", .caption = "Other", .clientWidth = 1500, .clientHeight = 1500}, {}, {}};

QWindow *windowOf(const char *form) { return Forms::loaded(QString::fromUtf8(form))->window()->windowHandle(); }

} // namespace

class tst_FormsRuntime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void validate_data();
    void validate();
    void pixelConversion_data();
    void pixelConversion();

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
    void aReusedNameBufferReachesEachControl();
    void showLoadsOnceBeforeShowing();
    void lastUnloadEndsTheProgram();
    void endStopsEveryHandler();
    void closingFromTheFrameUnloads();
};

void tst_FormsRuntime::initTestCase()
{
    Forms::add(ZoneForm);
    Forms::add(OtherForm);
}

void tst_FormsRuntime::init()
{
    Forms::reset();
    clicks.clear();
}

void tst_FormsRuntime::validate_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("error");  // empty: the description is sound

    QTest::newRow("sound") << 0 << QString();
    QTest::newRow("unknown kind") << 1 << "unknown kind";
    QTest::newRow("duplicate name") << 2 << "Twin: duplicate name";
    QTest::newRow("duplicate name, other case") << 3 << "twin: duplicate name";
    QTest::newRow("unknown container") << 4 << "unknown container Nowhere";
    QTest::newRow("container not a box") << 5 << "unknown container Twin";
    QTest::newRow("handler names no control") << 6 << "no control named Ghost";
    QTest::newRow("handler names no event") << 7 << "Twin has no event Timer";
    QTest::newRow("handler not Control_Event") << 8 << "not of the form Control_Event";
    QTest::newRow("twips off the pixel grid") << 9 << "7 twips";
    QTest::newRow("unknown picture") << 10 << "no picture named nosuch";
    QTest::newRow("form event unknown") << 11 << "Form has no event Click";
}

void tst_FormsRuntime::validate()
{
    QFETCH(int, variant);
    QFETCH(QString, error);

    std::vector<ControlRow> rows = {
        {Kind::PictureBox, "Box", "", 0, 0, 150, 150},
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
    }
    const FormDescription d{{.name = "Check", .caption = "", .clientWidth = 150, .clientHeight = 150}, rows, handlers};
    const QStringList errors = Form::validate(d);
    if (error.isEmpty()) {
        QCOMPARE(errors, QStringList());
        return;
    }
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    // A description that fails the check never becomes a window.
    Forms::add(d);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(error)));
    QCOMPARE(Forms::show(QStringLiteral("Check")), Status::Failed);
    QVERIFY(!Forms::loaded(QStringLiteral("Check")));
}

void tst_FormsRuntime::pixelConversion_data()
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

void tst_FormsRuntime::pixelConversion()
{
    QFETCH(double, points);
    QFETCH(int, pixels);
    QCOMPARE(fontPixels(points), pixels);
    QCOMPARE(runtime::pixels(-1800), -120);
}

void tst_FormsRuntime::clickRouting_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("reaches");  // empty: nothing is clicked

    QTest::newRow("front alone") << QPoint(12, 12) << "Front_Click";
    QTest::newRow("overlap goes to the first listed") << QPoint(35, 35) << "Front_Click";
    QTest::newRow("back alone") << QPoint(60, 60) << "Back_Click";
    QTest::newRow("label listed before a box lies behind it") << QPoint(125, 40) << "";
    QTest::newRow("label beside the box") << QPoint(92, 80) << "Behind_Click";
    QTest::newRow("box border is not its client") << QPoint(100, 10) << "";
    QTest::newRow("child at the client origin") << QPoint(101, 11) << "Inner_Click";
    QTest::newRow("child's clipped part") << QPoint(100, 30) << "";
    QTest::newRow("hidden child takes nothing") << QPoint(145, 55) << "";
    QTest::newRow("hidden box passes to what is behind") << QPoint(210, 20) << "Beneath_Click";
    QTest::newRow("hidden box hides its children") << QPoint(305, 15) << "Beneath_Click";
    QTest::newRow("a line takes no click") << QPoint(250, 80) << "Beneath_Click";
    QTest::newRow("empty window") << QPoint(380, 280) << "";
}

void tst_FormsRuntime::clickRouting()
{
    QFETCH(QPoint, at);
    QFETCH(QString, reaches);
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    clicks.clear();
    QTest::mouseClick(windowOf("Zones"), Qt::LeftButton, {}, at);
    QCOMPARE(clicks, reaches.isEmpty() ? QStringList() : QStringList{reaches});
}

void tst_FormsRuntime::pictureIsDrawnOneToOneAndClipped()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    QWidget *window = Forms::loaded(QStringLiteral("Zones"))->window();
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
    QCOMPARE(Forms::load(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QCOMPARE(form->setProperty(control, Property::Text, text), Status::Ok);
    QVariant back;
    QCOMPARE(form->property(control, Property::Text, back), Status::Ok);
    QCOMPARE(back.toString(), text);
}

void tst_FormsRuntime::unchangedCaptionDoesNotRepaint()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QWidget *back = form->control(QStringLiteral("Back"));
    QVERIFY(QTest::qWaitForWindowExposed(back->window()));
    EventCounter paints({QEvent::Paint});
    QCoreApplication::processEvents();
    paints.watch(back);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(form->setProperty(QStringLiteral("Back"), Property::Caption, QStringLiteral("Back")), Status::Ok);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    QCOMPARE(form->setProperty(QStringLiteral("Back"), Property::Caption, QStringLiteral("Moved")), Status::Ok);
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
    Forms::instance();  // installs the runtime's substitutions
    QFont font(face);
    font.setPixelSize(fontPixels(8.25));
    QCOMPARE(QFontInfo(font).family(), family);
    QCOMPARE(QFontInfo(font).pixelSize(), 11);
}

void tst_FormsRuntime::runTimeErrorStopsTheHandlerThere()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QTest::ignoreMessage(QtWarningMsg,
                         "Run-time error in Form_Unload: Field.Caption: property not supported by this control");
    QVERIFY(form->runHandler(QStringLiteral("Form_Unload")));
    QVariant caption;
    form->property(QStringLiteral("Back"), Property::Caption, caption);
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
    form->runHandler(QStringLiteral("Form_Unload"));
    QCOMPARE(boxes(), 1);
    QVERIFY(!Forms::hasEnded());
}

void tst_FormsRuntime::injectedFaultStopsTheHandlerThere()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    form->injectFault(QStringLiteral("Front"), Property::Caption, Form::Access::Write);
    QTest::ignoreMessage(QtWarningMsg, "Run-time error in Ticker_Timer: Front.Caption: the operation failed");
    form->runHandler(QStringLiteral("Ticker_Timer"));
    QVariant caption, hidden;
    QCOMPARE(form->property(QStringLiteral("Back"), Property::Caption, caption), Status::Ok);
    QCOMPARE(caption.toString(), QStringLiteral("first"));
    QCOMPARE(form->property(QStringLiteral("Hidden"), Property::Visible, hidden), Status::Ok);
    QCOMPARE(hidden.toBool(), false);
    // Clicks still work after the error.
    QTest::mouseClick(windowOf("Zones"), Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(clicks.last(), QStringLiteral("Back_Click"));
}

void tst_FormsRuntime::aReusedNameBufferReachesEachControl()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QVariant back, beneath;
    for (const QString field : {QStringLiteral("one:"), QStringLiteral("two:")}) {
        QCOMPARE(form->setProperty(QStringLiteral("Field"), Property::Text, field), Status::Ok);
        QVERIFY(form->runHandler(QStringLiteral("Namer_Timer")));
        QCOMPARE(form->property(QStringLiteral("Back"), Property::Caption, back), Status::Ok);
        QCOMPARE(form->property(QStringLiteral("Beneath"), Property::Caption, beneath), Status::Ok);
        QCOMPARE(back.toString(), field + QLatin1String("Back"));
        QCOMPARE(beneath.toString(), field + QLatin1String("Beneath"));
    }
}

void tst_FormsRuntime::showLoadsOnceBeforeShowing()
{
    QVERIFY(!Forms::loaded(QStringLiteral("Zones")));
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    QCOMPARE(clicks, QStringList{"Form_Load"});
    QWidget *window = Forms::loaded(QStringLiteral("Zones"))->window();
    // Focus starts at the lowest tab index that can take it.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget(), Forms::loaded(QStringLiteral("Zones"))->control(QStringLiteral("Field"))->focusProxy());
    QVERIFY(window->isVisible());
    QCOMPARE(Forms::hide(QStringLiteral("Zones")), Status::Ok);
    QVERIFY(!window->isVisible());
    QVERIFY(Forms::loaded(QStringLiteral("Zones")));
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    QCOMPARE(clicks, QStringList{"Form_Load"});  // loaded once
    QCOMPARE(Forms::show(QStringLiteral("Nonesuch")), Status::NoSuchForm);
}

void tst_FormsRuntime::lastUnloadEndsTheProgram()
{
    QSignalSpy ended(&Forms::instance(), &Forms::ended);
    QCOMPARE(Forms::show(QStringLiteral("Other")), Status::Ok);
    QCOMPARE(Forms::load(QStringLiteral("Zones")), Status::Ok);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Run-time error in Form_Unload"));
    QCOMPARE(Forms::unload(QStringLiteral("Zones")), Status::Ok);
    QCOMPARE(ended.count(), 0);
    QCOMPARE(Forms::unload(QStringLiteral("Other")), Status::Ok);
    QCOMPARE(ended.count(), 1);
}

void tst_FormsRuntime::endStopsEveryHandler()
{
    QCOMPARE(Forms::show(QStringLiteral("Zones")), Status::Ok);
    Form *form = Forms::loaded(QStringLiteral("Zones"));
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Zones")));
    QWindow *window = windowOf("Zones");
    form->end();
    QVERIFY(Forms::hasEnded());
    QVERIFY(!Forms::loaded(QStringLiteral("Zones")));
    clicks.clear();
    QVERIFY(!form->runHandler(QStringLiteral("Nonesuch_Click")));
    form->runHandler(QStringLiteral("Front_Click"));
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(12, 12));
    QCOMPARE(clicks, QStringList());
}

void tst_FormsRuntime::closingFromTheFrameUnloads()
{
    QSignalSpy ended(&Forms::instance(), &Forms::ended);
    QCOMPARE(Forms::show(QStringLiteral("Other")), Status::Ok);
    QVERIFY(QTest::qWaitForWindowExposed(windowOf("Other")));
    windowOf("Other")->close();
    QVERIFY(!Forms::loaded(QStringLiteral("Other")));
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(tst_FormsRuntime)
#include "tst_formsruntime.moc"
