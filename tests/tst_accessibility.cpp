// The dashboard as a screen reader meets it: the accessibility tree walked
// from the window, every click zone a named button whose press action does
// what a click does, and the lamps, readouts, central display and status
// field telling what the user sees, before and after each press; a zone
// the keyboard's focus goes to is told, by its name.
#include "accessibility/accessibletree.h"
#include "accessiblenames.h"
#include "dashboardfixture.h"
#include "dashboardmodel.h"
#include "formaccess.h"

#include <QAccessible>

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using runtime::Property;

namespace {

// What the update handler heard, as "control: event".
QStringList heard;

void listen(QAccessibleEvent *event)
{
    if (QObject *o = event->object())
        heard << o->objectName() + QStringLiteral(": ") + QString::number(int(event->type()), 16);
}

QString eventName(const char *control, QAccessible::Event type)
{
    return QString::fromLatin1(control) + QStringLiteral(": ") + QString::number(int(type), 16);
}

QAccessibleActionInterface *actions(QAccessibleInterface *iface)
{
    return iface ? iface->actionInterface() : nullptr;
}

const QRgb Black = qRgb(0, 0, 0);


} // namespace

class tst_Accessibility : public DashboardFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void everyZoneIsANamedButton();
    void zoneNames_data();
    void zoneNames();
    void pressingAZone_data();
    void pressingAZone();
    void lampsTellLitOrDark_data();
    void lampsTellLitOrDark();
    void readoutsTellTheirText();
    void zoneOutOfReachCannotBePressed();
    void pressGoesThroughTheClickPath();
    void exitThroughItsAction();
    void focusIsTold();
    void disclaimer_data();
    void disclaimer();

private:
    // The tree as a screen reader walks it from the window, by control.
    QHash<QString, QAccessibleInterface *> walk(QObject *window) const;
    QAccessibleInterface *node(const char *control) const;
    QString displayTold() const;
    void press(const char *control);
    bool shows(const char *picture, const char *extension, QPoint origin, QRect area) const;
};

void tst_Accessibility::initTestCase()
{
    // Listen to the announcements as a screen reader's bridge would; the
    // offscreen platform has no bridge to switch accessibility on for us.
    QAccessible::installUpdateHandler(listen);
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void tst_Accessibility::init()
{
    loadDashboard();
    heard.clear();
}

QHash<QString, QAccessibleInterface *> tst_Accessibility::walk(QObject *window) const
{
    QHash<QString, QAccessibleInterface *> found;
    QList<QAccessibleInterface *> todo{QAccessible::queryAccessibleInterface(window)};
    while (!todo.isEmpty()) {
        QAccessibleInterface *iface = todo.takeFirst();
        if (!iface)
            continue;
        if (!iface->object()->objectName().isEmpty())
            found.insert(iface->object()->objectName(), iface);
        for (int i = 0; i < iface->childCount(); ++i)
            todo << iface->child(i);
    }
    return found;
}

QAccessibleInterface *tst_Accessibility::node(const char *control) const
{
    return walk(widgetOf(form)).value(QString::fromLatin1(control));
}

// What the central display tells: the one part of it a screen reader sees.
QString tst_Accessibility::displayTold() const
{
    QStringList told;
    for (QAccessibleInterface *iface : walk(widgetOf(form)))
        if (iface->text(QAccessible::Name) == QLatin1String("Central display") && !iface->state().invisible)
            told << iface->text(QAccessible::Value);
    return told.size() == 1 ? told.first() : QStringLiteral("told %1 times").arg(told.size());
}

void tst_Accessibility::press(const char *control)
{
    QAccessibleActionInterface *a = actions(node(control));
    QVERIFY2(a && a->actionNames().contains(QAccessibleActionInterface::pressAction()), control);
    a->doAction(QAccessibleActionInterface::pressAction());
}

// Whether the window shows the picture one to one in area (window pixels).
bool tst_Accessibility::shows(const char *picture, const char *extension, QPoint origin, QRect area) const
{
    const QImage image = DashboardFixture::picture(picture, extension);
    const QImage window = shot();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (window.pixel(x, y) != image.pixel(QPoint(x, y) - origin))
                return false;
    return true;
}

void tst_Accessibility::everyZoneIsANamedButton()
{
    QSet<QString> names;
    QStringList zones;
    for (QAccessibleInterface *iface : walk(widgetOf(form))) {
        if (iface->role() != QAccessible::Button)
            continue;
        const QString name = iface->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(iface->object()->objectName()));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names << name;
        zones << iface->object()->objectName();
        if (iface->object()->objectName() != QLatin1String("Label7")) {
            QVERIFY2(!iface->state().invisible, qPrintable(name));
            QCOMPARE(actions(iface)->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        }
    }
    // Forty zones have something to do; the round button of the right
    // console does nothing and is no button to a screen reader.
    QCOMPARE(zones.size(), 40);
    QVERIFY(!zones.contains(QStringLiteral("Label28")));
    QCOMPARE(node("Label28")->role(), QAccessible::StaticText);
    QVERIFY(node("Label28")->text(QAccessible::Name).isEmpty());
    // Captions are read as they are; the window by what it is.
    QCOMPARE(node("Label6")->text(QAccessible::Name), QStringLiteral("Tovek's VELK Simulator"));
    QCOMPARE(QAccessible::queryAccessibleInterface(widgetOf(form))->text(QAccessible::Name),
             QStringLiteral("VELK Simulator dashboard"));
}

void tst_Accessibility::zoneNames_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("name");
    for (const NamedZone &z : NamedZones)
        QTest::newRow(z.zone) << z.zone << z.name;
    for (const LampZone &z : LampZones)
        QTest::newRow(z.zone) << z.zone << z.name;
}

void tst_Accessibility::zoneNames()
{
    QFETCH(QString, zone);
    QFETCH(QString, name);
    QAccessibleInterface *iface = node(zone.toLatin1());
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), name);
    // Where a screen reader points is where the zone is.
    QWidget *w = controlOf(form, zone);
    QCOMPARE(iface->rect(), QRect(w->mapToGlobal(QPoint()), w->size()));
    // Pointing at its last column and row meets what a click there does.
    const QPoint corner = placeOf(zone.toLatin1()).bottomRight();
    QCOMPARE(runtime::accessibility::hit(*form, -1, corner.x(), corner.y()),
             form->row(DashboardModel().hit(corner).toStdString()));
}

void tst_Accessibility::pressingAZone_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("display");   // what the display tells
    QTest::addColumn<QString>("picture");   // the box the user sees there, or ""
    QTest::addColumn<QString>("readouts");

    const QString on = QStringLiteral("On"), off = QStringLiteral("Off");
    QTest::newRow("nothing pressed") << QStringList() << off << "nothing" << "" << "";
    QTest::newRow("power on") << QStringList{"Label1"} << on << "normal picture" << "velknormall" << "000";
    QTest::newRow("auto") << QStringList{"Label1", "Label4"} << on << "auto picture" << "velkauto" << "000";
    QTest::newRow("pursuit") << QStringList{"Label1", "Label5"} << on << "pursuit picture" << "velkpursuit" << "000";
    QTest::newRow("normal after auto") << QStringList{"Label1", "Label4", "Label3"} << on << "normal picture"
                                      << "velknormall" << "000";
    QTest::newRow("voice box") << QStringList{"Label1", "Label9"} << on << "voice box" << "Picture1" << "000";
    QTest::newRow("voice box, small buttons") << QStringList{"Label1", "Label8"} << on << "voice box" << "Picture1"
                                             << "000";
    QTest::newRow("power off from the voice box") << QStringList{"Label1", "Label9", "Label1"} << off << "nothing"
                                                 << "" << "";
    QTest::newRow("mode while off") << QStringList{"Label5"} << off << "nothing" << "" << "";
}

void tst_Accessibility::pressingAZone()
{
    QFETCH(QStringList, presses);
    QFETCH(QString, status);
    QFETCH(QString, display);
    QFETCH(QString, picture);
    QFETCH(QString, readouts);

    QTRY_COMPARE(text("Label10", Property::Caption), QString());  // the first tick
    for (const QString &zone : presses)
        press(zone.toLatin1());
    QTRY_COMPARE(text("Label10", Property::Caption), readouts);
    QCOMPARE(text("Label11", Property::Caption), readouts);

    // What the user sees ...
    QCOMPARE(text("Text1"), status);
    QCOMPARE(this->display(), picture);
    const QRect spot(361, 300, 150, 100);
    if (picture == QLatin1String("velknormall"))
        QVERIFY(shows("modenormal", "bmp", {353, 265}, spot));
    else if (picture == QLatin1String("velkauto"))
        QVERIFY(shows("modeauto", "bmp", {353, 265}, spot));
    else if (picture == QLatin1String("velkpursuit"))
        QVERIFY(shows("modepursuit", "bmp", {353, 265}, spot));
    else if (picture.isEmpty())
        QCOMPARE(shot().pixel(450, 300), Black);  // the window's background between the panels

    // ... is what a screen reader is told.
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(
            static_cast<QWidget *>(node("Text1")->object())->focusProxy());
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("CPU status"));
    QCOMPARE(field->text(QAccessible::Value), status);
    QCOMPARE(displayTold(), display);
    QAccessibleInterface *view = node("WebBrowser1");
    QCOMPARE(view->role(), QAccessible::Animation);
    QCOMPARE(view->text(QAccessible::Name), QStringLiteral("Voice box animation"));
    QCOMPARE(view->state().invisible, picture != QLatin1String("Picture1"));
    QCOMPARE(node("Label10")->text(QAccessible::Value), readouts);
    QCOMPARE(node("Label11")->text(QAccessible::Value), readouts);
    // Whenever the display changes, each of its pictures is told: another may speak for it now.
    QCOMPARE(heard.contains(eventName("velkpursuit", QAccessible::StateChanged)), presses.contains("Label1"));
}

void tst_Accessibility::lampsTellLitOrDark_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("lamp");
    QTest::addColumn<QString>("lampName");
    for (const LampZone &z : LampZones)
        QTest::newRow(z.zone) << z.zone << z.lamp << z.lampName;
}

void tst_Accessibility::lampsTellLitOrDark()
{
    QFETCH(QString, zone);
    QFETCH(QString, lamp);
    QFETCH(QString, lampName);
    const QByteArray lampId = lamp.toLatin1();
    QWidget *box = controlOf(form, lamp);
    const QRect lampArea(box->mapTo(widgetOf(form), QPoint(1, 1)), QSize(15, 13));
    const QImage lit = picture("lamplit", "jpg");

    // Dark: hidden, the socket shows; yet a screen reader still finds the
    // lamp where it is, and hears it is dark.
    QAccessibleInterface *iface = node(lampId);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), lampName);
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QVERIFY(!iface->state().invisible);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("dark"));
    QVERIFY(!visible(lamp));

    press(zone.toLatin1());
    QVERIFY(visible(lamp));
    QVERIFY(shows("lamplit", "jpg", lampArea.topLeft(), lampArea));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("lit"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("lit"));
    QVERIFY(heard.contains(eventName(lampId, QAccessible::StateChanged)));
    QVERIFY(heard.contains(eventName(lampId, QAccessible::ValueChanged)));
    QCOMPARE(litLamps(), QStringList{lamp});

    press(zone.toLatin1());
    QVERIFY(!visible(lamp));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("dark"));
    QVERIFY(!iface->state().invisible);
}

void tst_Accessibility::readoutsTellTheirText()
{
    QAccessibleInterface *speed = node("Label10");
    QCOMPARE(speed->role(), QAccessible::StaticText);
    QCOMPARE(speed->text(QAccessible::Name), QStringLiteral("Speed readout"));
    QCOMPARE(node("Label11")->text(QAccessible::Name), QStringLiteral("Engine speed readout"));
    QTRY_COMPARE(speed->text(QAccessible::Value), QString());
    heard.clear();
    press("Label1");
    QTRY_COMPARE(speed->text(QAccessible::Value), QStringLiteral("000"));
    QCOMPARE(speed->text(QAccessible::Description), QStringLiteral("000"));
    QVERIFY(heard.contains(eventName("Label10", QAccessible::ValueChanged)));
    QVERIFY(heard.contains(eventName("Label11", QAccessible::ValueChanged)));
    // Named, a readout keeps its name and tells its text as its description.
    QVERIFY(heard.contains(eventName("Label10", QAccessible::DescriptionChanged)));
    QVERIFY(!heard.contains(eventName("Label10", QAccessible::NameChanged)));
    // A steady readout is not announced again at every tick.
    QTest::qWait(30);
    heard.clear();
    QTest::qWait(30);
    QVERIFY(!heard.contains(eventName("Label10", QAccessible::ValueChanged)));
}

void tst_Accessibility::zoneOutOfReachCannotBePressed()
{
    // The strip below the pursuit picture lies outside its box's client
    // area: no mouse reaches it, so neither does a screen reader, shown or not.
    for (const char *zone : {"Label1", "Label5"}) {
        press(zone);  // the power on; then the pursuit picture, with the strip in it, shown
        QAccessibleInterface *strip = node("Label7");
        QCOMPARE(strip->role(), QAccessible::Button);
        QVERIFY(strip->state().invisible);
        QVERIFY(actions(strip)->actionNames().isEmpty());
        actions(strip)->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!visible("Picture1"));
    }
    QCOMPARE(display(), QStringLiteral("velkpursuit"));
}

void tst_Accessibility::pressGoesThroughTheClickPath()
{
    // A failing step stops the handler and is reported just as for a click.
    faultInjection().inject("velknormall", Property::Visible);
    QTest::ignoreMessage(QtWarningMsg, "Run-time error in Label1_Click: velknormall.Visible: the operation failed");
    press("Label1");
    QCOMPARE(display(), QString());
    QCOMPARE(displayTold(), QStringLiteral("nothing"));
}

void tst_Accessibility::exitThroughItsAction()
{
    QCOMPARE(app().load("Form2"), runtime::Status::Ok);
    press("Label2");
    QVERIFY(app().hasEnded());
    QVERIFY(!app().loaded("Form1"));
    QVERIFY(!app().loaded("Form2"));
}

void tst_Accessibility::focusIsTold()
{
    QWidget *window = widgetOf(form);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);  // from the status field to the right console
    QVERIFY(heard.contains(eventName("Label45", QAccessible::Focus)));
    QAccessibleInterface *zone = node("Label45");
    QVERIFY(zone->state().focusable && zone->state().focused);
    QCOMPARE(zone->text(QAccessible::Name), QStringLiteral("Right console lamp 1, left button"));
}

void tst_Accessibility::disclaimer_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<bool>("ended");
    QTest::newRow("I Agree opens the dashboard") << QStringList{"Command1"} << false;
    QTest::newRow("I Do Not Agree ends the program") << QStringList{"Command2"} << true;
    // Agreed, the disclaimer is hidden but loaded: its buttons are still
    // in the tree, and a press a screen reader sends them changes nothing.
    QTest::newRow("hidden, I Do Not Agree does nothing") << QStringList{"Command1", "Command2"} << false;
}

void tst_Accessibility::disclaimer()
{
    QFETCH(QStringList, presses);
    QFETCH(bool, ended);
    startAfresh();
    app().add(disclaimerForm());
    app().add(dashboardForm());
    QCOMPARE(app().show("Form2"), runtime::Status::Ok);
    runtime::Form *disclaimer = app().loaded("Form2");
    const auto tree = walk(widgetOf(disclaimer));
    QCOMPARE(QAccessible::queryAccessibleInterface(widgetOf(disclaimer))->text(QAccessible::Name),
             QStringLiteral("VELK-Simulator Version 1"));
    QCOMPARE(tree.value("Command1")->text(QAccessible::Name), QStringLiteral("I Agree"));
    QCOMPARE(tree.value("Command2")->text(QAccessible::Name), QStringLiteral("I Do Not Agree"));
    QCOMPARE(tree.value("Label1")->text(QAccessible::Name), QStringLiteral("Disclaimer:"));
    auto *warning = QAccessible::queryAccessibleInterface(
            static_cast<QWidget *>(tree.value("Text1")->object())->focusProxy());
    QCOMPARE(warning->text(QAccessible::Name), QStringLiteral("Warning"));
    QVERIFY(warning->text(QAccessible::Value).startsWith(QLatin1String("WARNING!!")));
    for (const QString &button : presses) {
        // Hidden, a button is told invisible, with nothing to do; pressed
        // anyway, as a client may, it changes nothing.
        const bool shown = widgetOf(disclaimer)->isVisible();
        QCOMPARE(tree.value(button)->state().invisible, !shown);
        QCOMPARE(actions(tree.value(button))->actionNames().isEmpty(), !shown);
        actions(tree.value(button))->doAction(QAccessibleActionInterface::pressAction());
    }
    QCOMPARE(app().hasEnded(), ended);
    QVERIFY(ended || (app().loaded("Form1") && widgetOf(app().loaded("Form1"))->isVisible()
                      && !widgetOf(disclaimer)->isVisible()));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
