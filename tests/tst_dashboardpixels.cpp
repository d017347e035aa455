// What the dashboard looks like, pixel for pixel: each picture box shows
// its picture one to one from its client origin, clipped and never
// scaled; lamps and sockets, the mode pictures, the readouts over the
// painted digits, the top bar, and the voice box animating in its clip box.
#include "dashboardfixture.h"

using runtime::Property;

namespace {

const QRgb Black = qRgb(0, 0, 0);

bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

// Compares the window's pixels in area (window coordinates) with a picture
// whose top-left lies at origin; outside the picture the box's back colour.
QString mismatch(const QImage &shot, const QImage &picture, QPoint origin, QRect area, QRgb back,
                 const QList<QRect> &covered = {})
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint p(x, y);
            if (std::any_of(covered.begin(), covered.end(), [p](const QRect &r) { return r.contains(p); }))
                continue;
            const QPoint q = p - origin;
            const QRgb want = picture.rect().contains(q) ? picture.pixel(q) : back;
            if (shot.pixel(p) != want)
                return QStringLiteral("at (%1, %2): %3 instead of %4")
                        .arg(x).arg(y).arg(shot.pixel(p), 8, 16).arg(want, 8, 16);
        }
    return {};
}

} // namespace

class tst_DashboardPixels : public DashboardFixture
{
    Q_OBJECT

private slots:
    void init() { loadDashboard(); }

    void panelsAreDrawnOneToOne_data();
    void panelsAreDrawnOneToOne();
    void displayPicturesAreClippedNeverScaled_data();
    void displayPicturesAreClippedNeverScaled();
    void lampsCoverTheirSockets();
    void readoutsCoverThePaintedDigits();
    void topBar();
    void voiceBoxAnimatesInItsClipBox();
};

void tst_DashboardPixels::panelsAreDrawnOneToOne_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QPoint>("origin");  // the box's client origin in the window
    QTest::addColumn<QRect>("area");     // the client area as far as the window shows it
    QTest::addColumn<QRect>("covered");  // what lies in front of it: its readout or the panel above

    QTest::newRow("left panel, cut at the window's edge")
            << "leftpanel.jpg" << QPoint(-119, 249) << QRect(0, 249, 384, 207) << QRect(209, 297, 105, 57);
    QTest::newRow("right panel, to the window's edge")
            << "rightpanel.jpg" << QPoint(529, 257) << QRect(529, 257, 495, 207) << QRect(657, 305, 97, 49);
    QTest::newRow("left console, to the bottom edge")
            << "leftconsole.jpg" << QPoint(17, 465) << QRect(17, 465, 175, 303) << QRect();
    QTest::newRow("right console, top rows behind the panel")
            << "rightconsole.jpg" << QPoint(809, 457) << QRect(809, 457, 207, 311) << QRect(809, 457, 207, 8);
}

void tst_DashboardPixels::panelsAreDrawnOneToOne()
{
    QFETCH(QString, picture);
    QFETCH(QPoint, origin);
    QFETCH(QRect, area);
    QFETCH(QRect, covered);
    const QImage image = QImage(QStringLiteral(":/pictures/") + picture).convertToFormat(QImage::Format_RGB32);
    const QString diff = mismatch(shot(), image, origin, area, Black, {covered});
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void tst_DashboardPixels::displayPicturesAreClippedNeverScaled_data()
{
    QTest::addColumn<QPoint>("zone");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("clientWidth");
    QTest::newRow("normal") << centreOf("Label3") << "modenormal.bmp" << 183;
    QTest::newRow("auto") << centreOf("Label4") << "modeauto.bmp" << 183;
    QTest::newRow("pursuit") << centreOf("Label5") << "modepursuit.bmp" << 175;
}

void tst_DashboardPixels::displayPicturesAreClippedNeverScaled()
{
    QFETCH(QPoint, zone);
    QFETCH(QString, picture);
    QFETCH(int, clientWidth);
    powerOn();
    click(zone);
    const QImage image = QImage(QStringLiteral(":/pictures/") + picture).convertToFormat(QImage::Format_RGB32);
    const QImage window = shot();
    const QString diff = mismatch(window, image, {353, 265}, QRect(353, 265, clientWidth, 191), Black);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    // Right of the box the right panel shows through (pursuit is narrower).
    const int right = 352 + clientWidth + 2;
    QVERIFY2(mismatch(window, QImage(QStringLiteral(":/pictures/rightpanel.jpg")).convertToFormat(QImage::Format_RGB32),
                      {529, 257}, QRect(right, 300, 537 - right, 100), Black).isEmpty(),
             "the right panel should show beside the display");
}

void tst_DashboardPixels::lampsCoverTheirSockets()
{
    const QImage lamp = picture("lamplit", "jpg");
    const QImage left = picture("leftconsole", "jpg");
    // Dark: the console's painted socket shows where the lamp box lies.
    QString diff = mismatch(shot(), left, {17, 465}, QRect(88, 504, 25, 17), Black);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    click({49, 513});  // row 1 of the left console
    const QImage lit = shot();
    diff = mismatch(lit, lamp, {89, 505}, QRect(89, 505, 23, 15), Black);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    click({977, 569});  // right console row 3, right button
    diff = mismatch(shot(), lamp, {921, 561}, QRect(921, 561, 23, 15), Black);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void tst_DashboardPixels::readoutsCoverThePaintedDigits()
{
    // Off, after the first tick: the readouts are blank black boxes over the
    // panels' painted digits.
    QTRY_COMPARE(text("Label10", Property::Caption), QString());
    QTest::qWait(20);
    const QRect readouts[] = {{209, 297, 105, 57}, {657, 305, 97, 49}};
    QImage window = shot();
    for (const QRect &r : readouts)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                QCOMPARE(window.pixel(x, y), Black);
    // Nor does any of the painted digits' glow show beside them.
    for (int y = 309; y <= 348; ++y)
        for (int x : {314, 315, 655, 656})
            QVERIFY2(qRed(window.pixel(x, y)) < 40, qPrintable(QStringLiteral("red at %1,%2").arg(x).arg(y)));
    // On: "000" in red, whole inside each box.
    powerOn();
    QTest::qWait(20);
    window = shot();
    for (const QRect &r : readouts) {
        QRect red;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (isRed(window.pixel(x, y)))
                    red |= QRect(x, y, 1, 1);
        QVERIFY(red.width() > r.width() / 2);
        QVERIFY(red.height() > r.height() / 3);
        QVERIFY2(r.adjusted(1, 1, -1, -1).contains(red), "the digits are cut by their box");
    }
}

void tst_DashboardPixels::topBar()
{
    const QImage window = shot();
    for (QPoint onLine : {QPoint(0, 24), QPoint(500, 24), QPoint(1016, 24), QPoint(744, 5), QPoint(992, 5), QPoint(1016, 5)})
        QVERIFY2(isRed(window.pixel(onLine)), qPrintable(QStringLiteral("%1,%2").arg(onLine.x()).arg(onLine.y())));
    QCOMPARE(window.pixel(1020, 24), Black);
    QCOMPARE(window.pixel(500, 100), Black);  // the empty band
    int red = 0;  // banner, title and the X are red text on black
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 1024; ++x)
            red += isRed(window.pixel(x, y));
    QVERIFY(red > 500);
}

void tst_DashboardPixels::voiceBoxAnimatesInItsClipBox()
{
    powerOn();
    click({965, 341});  // program buttons: the voice box
    const QRect clip(361, 265, 167, 191);
    QImage first;
    QTRY_VERIFY((first = shot().copy(clip)) != QImage() && [&] {
        for (int y = 0; y < first.height(); ++y)
            for (int x = 0; x < first.width(); ++x)
                if (isRed(first.pixel(x, y)))
                    return true;
        return false;
    }());
    QTRY_VERIFY(shot().copy(clip) != first);
    // Beside the clip box the left panel shows, not the view.
    const QImage window = shot();
    const QString diff = mismatch(window, picture("leftpanel", "jpg"), {-119, 249}, QRect(353, 300, 7, 100), Black);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

QTEST_MAIN(tst_DashboardPixels)
#include "tst_dashboardpixels.moc"
