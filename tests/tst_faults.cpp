// Faults injected into the window's writes (faultinjection.h) in the middle of each
// kind of handler of the real dashboard: power on, power off, a mode zone,
// a voice-box zone, a lamp, the timer tick and the load handler. Every
// handler is run by the runtime, from a click through the window, a tick
// of the timer or the loading of the window. For each fault: the steps
// before it stay done and the steps after it do not run (the state after
// differs from the state before by exactly the expected changes), the
// error is reported once, naming handler, control and property, in one
// message box that does not block, and the dashboard goes on answering
// clicks.
#include "dashboardfixture.h"
#include "formaccess.h"

#include "animation/animationview.h"
#include "label.h"
#include "textbox.h"

#include <QMessageBox>

using runtime::Form;
using runtime::Property;

Q_DECLARE_METATYPE(runtime::Property)

namespace {

const QHash<QString, QPoint> Zones = {
    {"power", centreOf("Label1")}, {"normal", centreOf("Label3")}, {"auto", centreOf("Label4")},
    {"pursuit", centreOf("Label5")}, {"programs", centreOf("Label9")}, {"small", centreOf("Label8")},
    {"Label12", centreOf("Label12")},  // left console row 1: Picture6
    {"Label13", centreOf("Label13")},  // the same row's other button
    {"Label45", centreOf("Label45")},  // right console row 1: Picture21
};

// Run-time error reports, caught on their way to the log.
QStringList reports;
QtMessageHandler previousHandler = nullptr;

void catchReports(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("Run-time error")))
        reports << message;
    else
        previousHandler(type, context, message);
}

// A load handler that has the fault injected as the runtime calls it,
// before the dashboard's own Form_Load runs.
struct LoadFault
{
    QString control;
    Property property;
} loadFault;
runtime::HandlerFn dashboardLoad = nullptr;
std::vector<runtime::Handler> faultyHandlers;

void faultyLoad(Form &me)
{
    faultInjection().inject(loadFault.control.toStdString(), loadFault.property);
    dashboardLoad(me);
}

} // namespace

class tst_Faults : public DashboardFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void faultPartWay_data();
    void faultPartWay();

private:
    // Every visible state the handlers touch, as "name=value", read from
    // the widgets themselves: the runtime's reads may be the faulty ones.
    QMap<QString, QString> state() const;
    static QString changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after);
    int m_injected = 0;
};

void tst_Faults::initTestCase()
{
    previousHandler = qInstallMessageHandler(catchReports);
}

void tst_Faults::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
    qInfo("%d faults injected", m_injected);
}

void tst_Faults::init()
{
    reports.clear();
}

void tst_Faults::cleanup()
{
    startAfresh();
}

QMap<QString, QString> tst_Faults::state() const
{
    QMap<QString, QString> s;
    QStringList shown{"Picture1", "velkauto", "velknormall", "velkpursuit"};
    for (int i = 6; i <= 21; ++i)
        shown << QStringLiteral("Picture%1").arg(i);
    for (const QString &c : shown)
        s[c] = controlOf(form, c)->isHidden() ? "hidden" : "shown";
    for (const QString &c : {"Text1", "Text3", "Text4"})
        s[c] = static_cast<runtime::qt::TextBox *>(controlOf(form, c))->text();
    for (const QString &c : {"Label10", "Label11"})
        s[c] = static_cast<runtime::qt::Label *>(controlOf(form, c))->caption();
    s["WebBrowser1"] = animationOf(controlOf(form, "WebBrowser1")).address().empty() ? "" : "navigated";
    return s;
}

QString tst_Faults::changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList c;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            c << it.key() + '=' + it.value();
    return c.join(' ');
}

void tst_Faults::faultPartWay_data()
{
    QTest::addColumn<QString>("setup");    // zones clicked first, then the sources set for a tick
    QTest::addColumn<QString>("control");
    QTest::addColumn<Property>("property");
    QTest::addColumn<QString>("action");   // a zone to click, "tick" or "load"
    QTest::addColumn<QString>("handler");
    QTest::addColumn<QString>("changes");  // what the handler did before the fault, sorted

    const auto V = Property::Visible, T = Property::Text, C = Property::Caption;

    // Reads come from the form's own store and cannot fail: faults go into
    // the writes. Power on: show velknormall; Text1 "On"; Text3, Text4 "000".
    QTest::newRow("power on, showing velknormall") << "" << "velknormall" << V << "power" << "Label1_Click" << "";
    QTest::newRow("power on, writing Text1") << "" << "Text1" << T << "power" << "Label1_Click"
                                             << "velknormall=shown";
    QTest::newRow("power on, writing Text3") << "" << "Text3" << T << "power" << "Label1_Click"
                                             << "Text1=On velknormall=shown";
    QTest::newRow("power on, writing Text4") << "" << "Text4" << T << "power" << "Label1_Click"
                                             << "Text1=On Text3=000 velknormall=shown";
    // Power off, from the voice box: hide Picture1, velkauto, velkpursuit,
    // velknormall; Text3 and Text4 empty; Text1 "Off".
    QTest::newRow("power off, hiding Picture1") << "power programs" << "Picture1" << V << "power"
                                                << "Label1_Click" << "";
    // A write of what is already shown goes nowhere and cannot fail.
    QTest::newRow("power off from pursuit, hiding velkpursuit") << "power pursuit" << "velkpursuit" << V
                                                                << "power" << "Label1_Click" << "";
    QTest::newRow("power off, clearing Text3") << "power programs" << "Text3" << T << "power"
                                               << "Label1_Click" << "Picture1=hidden";
    QTest::newRow("power off, clearing Text4") << "power programs" << "Text4" << T << "power"
                                               << "Label1_Click" << "Picture1=hidden Text3=";
    QTest::newRow("power off, writing Text1") << "power programs" << "Text1" << T << "power"
                                              << "Label1_Click" << "Picture1=hidden Text3= Text4=";
    // Mode zones: Picture1, velkauto, velknormall, velkpursuit.
    QTest::newRow("AUTO, showing velkauto") << "power" << "velkauto" << V << "auto" << "Label4_Click" << "";
    QTest::newRow("AUTO, hiding velknormall") << "power" << "velknormall" << V << "auto" << "Label4_Click"
                                              << "velkauto=shown";
    QTest::newRow("NORMAL, hiding velkpursuit") << "power pursuit" << "velkpursuit" << V << "normal"
                                                << "Label3_Click" << "velknormall=shown";
    QTest::newRow("PURSUIT, showing velkpursuit") << "power" << "velkpursuit" << V << "pursuit"
                                                  << "Label5_Click" << "velknormall=hidden";
    QTest::newRow("program buttons, showing Picture1") << "power" << "Picture1" << V << "programs"
                                                       << "Label9_Click" << "";
    QTest::newRow("program buttons, hiding velknormall") << "power" << "velknormall" << V << "programs"
                                                         << "Label9_Click" << "Picture1=shown";
    QTest::newRow("small buttons, hiding velkauto") << "power auto" << "velkauto" << V << "small"
                                                    << "Label8_Click" << "Picture1=shown";
    // Lamps: the lamp's visibility flipped.
    QTest::newRow("left lamp, writing") << "" << "Picture6" << V << "Label12" << "Label12_Click" << "";
    QTest::newRow("lit right lamp, writing") << "Label45" << "Picture21" << V << "Label45" << "Label45_Click" << "";
    // The timer: Label10 from Text3, then Label11 from Text4; the sources
    // hold "111" and "222" before the faulty ticks.
    QTest::newRow("tick, writing Label10") << "" << "Label10" << C << "tick" << "Timer1_Timer" << "";
    QTest::newRow("tick, writing Label11") << "" << "Label11" << C << "tick" << "Timer1_Timer" << "Label10=111";
    // Loading: the application folder, then the browser view's navigation.
    QTest::newRow("load, navigating") << "" << "WebBrowser1" << Property::Navigate << "load" << "Form_Load"
                                      << "WebBrowser1=";
}

void tst_Faults::faultPartWay()
{
    QFETCH(QString, setup);
    QFETCH(QString, control);
    QFETCH(Property, property);
    QFETCH(QString, action);
    QFETCH(QString, handler);
    QFETCH(QString, changes);

    loadDashboard();
    for (const QString &zone : setup.split(' ', Qt::SkipEmptyParts))
        click(Zones.value(zone));
    readoutsCatchUp();
    QMap<QString, QString> before = state();
    QCOMPARE(reports, QStringList());

    ++m_injected;
    if (action == "load") {
        // The same dashboard, its load handler faulty from the start.
        startAfresh(true);
        const runtime::FormDescription &d = dashboardForm();
        faultyHandlers.assign(d.handlers.begin(), d.handlers.end());
        for (runtime::Handler &h : faultyHandlers)
            if (QByteArray(h.name) == "Form_Load")
                dashboardLoad = std::exchange(h.fn, faultyLoad);
        loadFault = {control, property};
        app().add(disclaimerForm());
        app().add({d.window, d.controls, faultyHandlers});
        QCOMPARE(app().show("Form1"), runtime::Status::Ok);
        form = app().loaded("Form1");
        window = widgetOf(form)->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        readoutsCatchUp();
    } else if (action == "tick") {
        ::setProperty(form, "Text3", Property::Text, QStringLiteral("111"));
        ::setProperty(form, "Text4", Property::Text, QStringLiteral("222"));
        before = state();
        faultInjection().inject(control.toStdString(), property);
        QTest::qWait(50);  // some fifty faulty ticks
    } else {
        faultInjection().inject(control.toStdString(), property);
        click(Zones.value(action));
    }
    QMap<QString, QString> after = state();
    if (action != "tick" && action != "load") {
        // The readouts follow their sources at every tick, which the
        // events of a click may let in: the timer's doing, not the zone's.
        for (const char *readout : {"Label10", "Label11"})
            before.remove(readout), after.remove(readout);
    }
    QCOMPARE(tst_Faults::changes(before, after), changes);

    // Reported once, by name, in one box that leaves the dashboard usable.
    QTest::qWait(50);
    QCOMPARE(reports.size(), 1);
    const QString named = QStringLiteral("%1: %2.%3").arg(handler, control, runtime::describe(property));
    QVERIFY2(reports.at(0).contains(named), qPrintable(reports.at(0)));
    QList<QMessageBox *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            boxes << box;
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.at(0)->text().contains(named));
    QVERIFY(!app().hasEnded());

    // The dashboard goes on: a lamp the fault does not touch still switches,
    // and nothing more is reported.
    const QString probe = control == "Picture6" ? "Label45" : "Label13";
    const QString lamp = control == "Picture6" ? "Picture21" : "Picture6";
    const bool lit = state().value(lamp) == "shown";
    click(Zones.value(probe));
    QCOMPARE(state().value(lamp) == "shown", !lit);
    click(Zones.value(probe));
    QCOMPARE(state().value(lamp) == "shown", lit);
    QTest::qWait(20);
    QCOMPARE(reports.size(), 1);
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
