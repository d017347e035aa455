// The dashboard as a user drives it: every zone clicked through the window
// system at window coordinates, and what the user then sees. Covers power,
// display modes, lamps, readouts, the exit, and the places where stacking
// and visibility decide what a click reaches.
#include "dashboardfixture.h"
#include "formaccess.h"
#include "dashboardmodel.h"

#include "animation/animationview.h"
#include "eventcounter.h"

#include <QDir>

using runtime::Property;

namespace {

const QPoint Power = centreOf("Label1"), Normal = centreOf("Label3"), Auto = centreOf("Label4"),
             Pursuit = centreOf("Label5"), Programs = centreOf("Label9"), SmallButtons = centreOf("Label8"),
             Exit = centreOf("Label2");

const auto &LampZones = DashboardModel::LampZones;

} // namespace

class tst_Dashboard : public DashboardFixture
{
    Q_OBJECT

private slots:
    void init() { loadDashboard(); }

    void loadsInItsInitialState();
    void readoutsFollowTheirSources();
    void steadyReadoutsDoNotRepaint();
    void powerSwitchesOnAndOff();
    void modeZones_data();
    void modeZones();
    void modeZonesDoNothingWhileOff_data();
    void modeZonesDoNothingWhileOff();
    void onlyExactOnCountsAsOn_data();
    void onlyExactOnCountsAsOn();
    void switchingOnAlwaysShowsNormal();
    void clicksReachTheZoneInFront_data();
    void clicksReachTheZoneInFront();
    void zoneEdges_data();
    void zoneEdges();
    void lampZones_data();
    void lampZones();
    void bothButtonsOfARowShareItsLamp();
    void aDoubleClickIsTwoClicks();
    void statusFieldsAreReadOnly();
    void voiceBoxComesFromBesideTheExecutable();
    void exitZoneEnds_data();
    void exitZoneEnds();
};

void tst_Dashboard::loadsInItsInitialState()
{
    QWidget *w = widgetOf(form);
    QCOMPARE(w->geometry(), QRect(0, 0, 1024, 768));
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);  // no task-bar entry
    QCOMPARE(display(), QString());
    QCOMPARE(litLamps(), QStringList());
    QCOMPARE(text("Text1"), QStringLiteral("Off"));
    QCOMPARE(text("Text2"), QStringLiteral("CPU Status:"));
    QCOMPARE(text("Text3"), QString());
    QCOMPARE(text("Text4"), QString());
    QVERIFY(!visible("Text3"));
    QVERIFY(!visible("Text4"));
    QVERIFY(visible("Label7"));  // visible itself, but clipped away by its box
    QCOMPARE(text("Label29", Property::Caption),
             QStringLiteral("    Push The Buttons!           >>>          velk.example           >>"));
    QCOMPARE(text("Label6", Property::Caption), QStringLiteral("Tovek's VELK Simulator"));
    QCOMPARE(text("Label2", Property::Caption), QStringLiteral("X"));
    QVERIFY(w->windowIcon().isNull());
    // A hidden text box takes its font only when first shown: then it must
    // be its row's, as a shown control's is from the start.
    const struct { const char *name; int pixels; bool bold; } fonts[] = {
        {"Label10", 37, false}, {"Label11", 35, false}, {"Text3", 37, false}, {"Text4", 35, true}};
    for (const auto &f : fonts) {
        ::setProperty(form, QString::fromLatin1(f.name), Property::Visible, true);
        const QFont shown = controlOf(form, QString::fromLatin1(f.name))->font();
        QCOMPARE(QFontInfo(shown).pixelSize(), f.pixels);
        QCOMPARE(shown.bold(), f.bold);
    }
}

void tst_Dashboard::readoutsFollowTheirSources()
{
    // Until the first tick the design captions show; then the empty sources.
    startAfresh();
    app().add(dashboardForm());
    QCOMPARE(app().load("Form1"), runtime::Status::Ok);
    form = app().loaded("Form1");
    QCOMPARE(text("Label10", Property::Caption), QStringLiteral("000"));
    QCOMPARE(text("Label11", Property::Caption), QStringLiteral("000"));
    QTRY_COMPARE(text("Label10", Property::Caption), QString());
    QTRY_COMPARE(text("Label11", Property::Caption), QString());
    // Whatever the sources hold shows unchanged at the next tick.
    ::setProperty(form, QStringLiteral("Text3"), Property::Text, QStringLiteral(" 12x"));
    ::setProperty(form, QStringLiteral("Text4"), Property::Text, QStringLiteral("\t"));
    QTRY_COMPARE(text("Label10", Property::Caption), QStringLiteral(" 12x"));
    QTRY_COMPARE(text("Label11", Property::Caption), QStringLiteral("\t"));
}

void tst_Dashboard::steadyReadoutsDoNotRepaint()
{
    // The readouts hold their text once the timer has caught up: nothing
    // may repaint, whether the timer sleeps or ticks.
    powerOn();
    EventCounter paints({QEvent::Paint});
    QTest::qWait(50);
    paints.watch(controlOf(form, QStringLiteral("Label10")));
    paints.watch(controlOf(form, QStringLiteral("Label11")));
    paints.watch(widgetOf(form));
    QTest::qWait(300);
    QCOMPARE(paints.count, 0);
}

void tst_Dashboard::powerSwitchesOnAndOff()
{
    click(Power);
    QCOMPARE(display(), QStringLiteral("velknormall"));
    QCOMPARE(text("Text1"), QStringLiteral("On"));
    QCOMPARE(text("Text3"), QStringLiteral("000"));
    QCOMPARE(text("Text4"), QStringLiteral("000"));
    QTRY_COMPARE(text("Label11", Property::Caption), QStringLiteral("000"));
    click(Programs);
    QCOMPARE(display(), QStringLiteral("Picture1"));
    click(Power);
    QCOMPARE(display(), QString());
    QCOMPARE(text("Text1"), QStringLiteral("Off"));
    QCOMPARE(text("Text3"), QString());
    QCOMPARE(text("Text4"), QString());
    QTRY_COMPARE(text("Label10", Property::Caption), QString());
    QTRY_COMPARE(text("Label11", Property::Caption), QString());
}

void tst_Dashboard::modeZones_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("shows");

    QTest::newRow("NORMAL") << Normal << "velknormall";
    QTest::newRow("AUTO") << Auto << "velkauto";
    QTest::newRow("PURSUIT") << Pursuit << "velkpursuit";
    QTest::newRow("program buttons") << Programs << "Picture1";
    QTest::newRow("small buttons") << SmallButtons << "Picture1";
    QTest::newRow("small buttons, over the hidden source field") << QPoint(300, 390) << "Picture1";
    QTest::newRow("small buttons, first column") << QPoint(185, 377) << "Picture1";
    QTest::newRow("NORMAL, top-left pixel") << QPoint(881, 393) << "velknormall";
    QTest::newRow("PURSUIT, bottom-right pixel") << QPoint(1017, 449) << "velkpursuit";
}

void tst_Dashboard::modeZones()
{
    QFETCH(QPoint, at);
    QFETCH(QString, shows);
    powerOn();
    click(Auto);
    QCOMPARE(display(), QStringLiteral("velkauto"));
    click(at);
    QCOMPARE(display(), shows);
    // Exactly one display picture is visible while on.
    int shown = 0;
    for (const char *name : {"velkpursuit", "velkauto", "velknormall", "Picture1"})
        shown += visible(QString::fromLatin1(name));
    QCOMPARE(shown, 1);
}

void tst_Dashboard::modeZonesDoNothingWhileOff_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::newRow("NORMAL") << Normal;
    QTest::newRow("AUTO") << Auto;
    QTest::newRow("PURSUIT") << Pursuit;
    QTest::newRow("program buttons") << Programs;
    QTest::newRow("small buttons") << SmallButtons;
}

void tst_Dashboard::modeZonesDoNothingWhileOff()
{
    QFETCH(QPoint, at);
    QTRY_COMPARE(text("Label10", Property::Caption), QString());
    click(at);
    QCOMPARE(display(), QString());
    QCOMPARE(text("Text1"), QStringLiteral("Off"));
    QTest::qWait(40);  // two ticks
    QCOMPARE(text("Label10", Property::Caption), QString());
}

void tst_Dashboard::onlyExactOnCountsAsOn_data()
{
    QTest::addColumn<QString>("status");
    QTest::newRow("lower case") << "on";
    QTest::newRow("upper case") << "ON";
    QTest::newRow("trailing space") << "On ";
    QTest::newRow("empty") << "";
}

void tst_Dashboard::onlyExactOnCountsAsOn()
{
    QFETCH(QString, status);
    ::setProperty(form, QStringLiteral("Text1"), Property::Text, status);
    click(Pursuit);
    QCOMPARE(display(), QString());
    click(Power);  // not "On": this switches on
    QCOMPARE(display(), QStringLiteral("velknormall"));
    QCOMPARE(text("Text1"), QStringLiteral("On"));
}

void tst_Dashboard::switchingOnAlwaysShowsNormal()
{
    powerOn();
    for (QPoint mode : {Pursuit, Programs}) {
        click(mode);
        click(Power);
        QCOMPARE(display(), QString());
        click(Power);
        QCOMPARE(display(), QStringLiteral("velknormall"));
    }
}

void tst_Dashboard::clicksReachTheZoneInFront_data()
{
    QTest::addColumn<QString>("mode");     // what the display shows before the click
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("reaches");  // the control the window system hands the click to

    // The small-button zone runs under the display stack by two columns.
    QTest::newRow("zone's right columns under a mode picture") << "velknormall" << QPoint(352, 389) << "velknormall";
    QTest::newRow("zone's right columns under pursuit") << "velkpursuit" << QPoint(353, 389) << "velkpursuit";
    QTest::newRow("zone's right columns beside the voice box") << "Picture1" << QPoint(353, 389) << "Label8";
    QTest::newRow("zone's right columns, display empty") << "" << QPoint(352, 389) << "Label8";
    QTest::newRow("hidden source field passes clicks on") << "" << QPoint(250, 390) << "Label8";
    // The one-pixel zone inside the pursuit picture lies below its client area.
    QTest::newRow("row under pursuit, left") << "velkpursuit" << QPoint(370, 457) << "Form1";
    QTest::newRow("row under pursuit, right") << "velkpursuit" << QPoint(530, 457) << "Picture4";
    QTest::newRow("pursuit's bottom border") << "velkpursuit" << QPoint(380, 456) << "velkpursuit";
    QTest::newRow("status fields in front of the display") << "velknormall" << QPoint(420, 456) << "Text2";
    QTest::newRow("Text2 in front of Text1") << "" << QPoint(464, 460) << "Text2";
    QTest::newRow("banner") << "" << QPoint(300, 12) << "Label29";
    QTest::newRow("black band") << "" << QPoint(500, 120) << "Form1";
    QTest::newRow("between the consoles") << "" << QPoint(600, 700) << "Form1";
    QTest::newRow("round button without action") << "" << QPoint(829, 541) << "Label28";
}

void tst_Dashboard::clicksReachTheZoneInFront()
{
    QFETCH(QString, mode);
    QFETCH(QPoint, at);
    QFETCH(QString, reaches);
    const QHash<QString, QPoint> chooser = {
        {"velknormall", Normal}, {"velkauto", Auto}, {"velkpursuit", Pursuit}, {"Picture1", Programs}};
    if (!mode.isEmpty()) {
        powerOn();
        click(chooser.value(mode));
    }
    QCOMPARE(display(), mode);
    const QStringList lampsBefore = litLamps();
    const QString status = text("Text1");
    click(at);
    QCOMPARE(witness.last, reaches);
    // Nothing the user can see changed.
    QCOMPARE(display(), mode);
    QCOMPARE(litLamps(), lampsBefore);
    QCOMPARE(text("Text1"), status);
}

// Every label probed through the window on each edge, on its last pixel
// inside and the first outside: the click goes where the layout's
// stacking and clipping say (the model works it out from the table).
void tst_Dashboard::zoneEdges_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("reaches");
    const DashboardModel model;
    const QRect window(0, 0, 1024, 768);
    for (const runtime::ControlRow &row : dashboardForm().controls) {
        if (row.kind != runtime::Kind::Label)
            continue;
        const QRect r = placeOf(row.name);
        const QPoint c = r.center();
        const struct
        {
            const char *edge;
            QPoint inside, outside;
        } probes[] = {
            {"left", {r.left(), c.y()}, {r.left() - 1, c.y()}},
            {"right", {r.right(), c.y()}, {r.right() + 1, c.y()}},
            {"top", {c.x(), r.top()}, {c.x(), r.top() - 1}},
            {"bottom", {c.x(), r.bottom()}, {c.x(), r.bottom() + 1}},
        };
        for (const auto &p : probes) {
            if (window.contains(p.inside))
                QTest::addRow("%s %s inside", row.name, p.edge) << p.inside << model.hit(p.inside);
            if (window.contains(p.outside))
                QTest::addRow("%s %s outside", row.name, p.edge) << p.outside << model.hit(p.outside);
        }
    }
}

void tst_Dashboard::zoneEdges()
{
    QFETCH(QPoint, at);
    QFETCH(QString, reaches);
    click(at);
    QCOMPARE(witness.last, reaches);
}

void tst_Dashboard::lampZones_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("lamp");
    for (const auto &z : LampZones) {
        QTest::addRow("%s centre", z.zone) << centreOf(z.zone) << z.zone << z.lamp;
        QTest::addRow("%s bottom-right", z.zone) << placeOf(z.zone).bottomRight() - QPoint(0, 1) << z.zone << z.lamp;
    }
    // Upper rows share a pixel row; the zone in front takes it.
    QTest::newRow("left console row 64 goes to row 2") << QPoint(17 + 20, 465 + 64) << "Label14" << "Picture7";
    QTest::newRow("right console row 64 goes to row 1") << QPoint(809 + 60, 457 + 64) << "Label45" << "Picture21";
    QTest::newRow("left console row 128 goes to row 4") << QPoint(17 + 120, 465 + 128) << "Label19" << "Picture9";
    QTest::newRow("right console row 128 goes to row 3") << QPoint(809 + 160, 457 + 128) << "Label40" << "Picture19";
}

void tst_Dashboard::lampZones()
{
    QFETCH(QPoint, at);
    QFETCH(QString, zone);
    QFETCH(QString, lamp);
    click(at);  // lamps switch whether the power is on or off
    QCOMPARE(witness.last, zone);
    QCOMPARE(litLamps(), QStringList{lamp});
    click(at);
    QCOMPARE(litLamps(), QStringList());
    QCOMPARE(text("Text1"), QStringLiteral("Off"));
}

void tst_Dashboard::bothButtonsOfARowShareItsLamp()
{
    powerOn();
    QStringList expected;
    for (int i = 0; i < int(std::size(LampZones)); i += 2) {
        click(centreOf(LampZones[i].zone));
        expected << QString::fromLatin1(LampZones[i].lamp);
    }
    expected.sort();
    QStringList lit = litLamps();
    lit.sort();
    QCOMPARE(lit, expected);
    for (int i = 1; i < int(std::size(LampZones)); i += 2)
        click(centreOf(LampZones[i].zone));
    QCOMPARE(litLamps(), QStringList());
    QCOMPARE(display(), QStringLiteral("velknormall"));  // lamps leave the power alone
}

void tst_Dashboard::aDoubleClickIsTwoClicks()
{
    // A quick second press is never lost: a double click on a lamp zone
    // flips the lamp twice.
    EventCounter presses({QEvent::MouseButtonPress, QEvent::MouseButtonDblClick});
    presses.watch(controlOf(form, QStringLiteral("Label12")));
    click(centreOf(LampZones[0].zone));
    QCOMPARE(litLamps(), QStringList{"Picture6"});
    QTest::mouseDClick(window, Qt::LeftButton, {}, centreOf(LampZones[0].zone));
    QCOMPARE(presses.count, 3);
    QCOMPARE(litLamps(), QStringList{"Picture6"});
}

void tst_Dashboard::statusFieldsAreReadOnly()
{
    for (QPoint field : {QPoint(480, 465), QPoint(430, 465)}) {
        click(field);
        for (char c : {'O', 'n'})
            QTest::keyClick(window, c);
        QTest::keyClick(window, Qt::Key_Backspace);
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(text("Text1"), QStringLiteral("Off"));
    QCOMPARE(text("Text2"), QStringLiteral("CPU Status:"));
    click(Normal);
    QCOMPARE(display(), QString());
}

void tst_Dashboard::voiceBoxComesFromBesideTheExecutable()
{
    // Looked for by the executable's folder, whatever the working folder.
    QDir::setCurrent(QDir::rootPath());
    loadDashboard();
    const runtime::AnimationView &view = animationOf(controlOf(form, QStringLiteral("WebBrowser1")));
    const std::string path = (QCoreApplication::applicationDirPath() + QStringLiteral("/velk voicebox.gif")).toStdString();
    QCOMPARE(view.address(), path);
    QTest::qWait(300);
    const int unseen = view.framesShown();
    QVERIFY(unseen <= 1);  // the first frame loads, unseen; no animation
    powerOn();
    click(Programs);
    QTRY_VERIFY(view.framesShown() >= unseen + 2);
    click(Auto);
    click(Programs);  // back again: the same file, not asked for anew
    QCOMPARE(view.address(), path);
}

void tst_Dashboard::exitZoneEnds_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("off") << false << Exit;
    QTest::newRow("on") << true << Exit;
    QTest::newRow("under the corner line") << false << QPoint(1016, 20);
    QTest::newRow("window manager's close") << false << QPoint();
}

void tst_Dashboard::exitZoneEnds()
{
    QFETCH(bool, on);
    QFETCH(QPoint, at);
    QCOMPARE(app().load("Form2"), runtime::Status::Ok);  // the hidden disclaimer
    if (on)
        powerOn();
    if (at.isNull())
        window->close();
    else
        click(at);
    QVERIFY(app().hasEnded());
    QVERIFY(!app().loaded("Form1"));
    QVERIFY(!app().loaded("Form2"));
}

QTEST_MAIN(tst_Dashboard)
#include "tst_dashboard.moc"
