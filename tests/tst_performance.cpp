// What the program must not do for nothing, counted rather than timed, so
// that no machine's speed decides a result: nothing of the dashboard is
// built or decoded before "I Agree"; each picture is decoded once however
// often it is shown, by its own format's reader alone, into the screen's
// own pixel format, and one that will not decode is said once; and no
// voice-box frame is decoded while the voice box is hidden behind a mode
// picture. Timings are the bench's (make bench).
#include "dashboardfixture.h"
#include "formaccess.h"

#include "animation/animationview.h"
#include "pictures.h"

#include <QFile>
#include <QSet>
#include <QTemporaryFile>

#include <unistd.h>


namespace {

const QPoint Normal = centreOf("Label3"), Auto = centreOf("Label4"), Pursuit = centreOf("Label5"),
             Programs = centreOf("Label9");

// One button of each lamp's row.
const char *const LampButtons[] = {"Label12", "Label14", "Label16", "Label18", "Label20", "Label22",
                                   "Label24", "Label25", "Label45", "Label43", "Label41", "Label39",
                                   "Label37", "Label35", "Label33", "Label32"};

// The program's pictures but the disclaimer's icon, by name.
const QStringList DashboardPictures = [] {
    QStringList names;
    for (const QString &file : QStringLiteral(VELK_PICTURES).split(u' '))
        if (!file.startsWith(QLatin1String("appicon")))
            names << file.section(u'.', 0, 0);
    return names;
}();

// The image-format plugins this process has loaded, by file name.
QSet<QString> loadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> plugins;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (const qsizetype at = line.indexOf("/imageformats/"); at >= 0)
            plugins << QString::fromUtf8(line.mid(at + 14));
    return plugins;
}

} // namespace

class tst_Performance : public DashboardFixture
{
    Q_OBJECT

private slots:
    // First: nothing has been decoded in this process before it.
    void disclaimerDecodesNothingOfTheDashboard();
    void picturesLoadOnlyTheirOwnReader();
    void eachPictureIsDecodedOnce();
    void brokenPictureIsSaidOnce();
    void picturesAreInTheScreensPixelFormat();
    void hiddenVoiceBoxDecodesNoFrame();
};

void tst_Performance::disclaimerDecodesNothingOfTheDashboard()
{
    listenForDecodings();
    startAfresh();
    app().add(disclaimerForm());
    app().add(dashboardForm());
    QCOMPARE(app().show("Form2"), runtime::Status::Ok);
    QVERIFY(QTest::qWaitForWindowExposed(widgetOf(app().loaded("Form2"))));
    QVERIFY(!app().loaded("Form1"));
    const QStringList decoded = decodedPictures();
    QVERIFY2(decoded.isEmpty() || decoded == QStringList{"appicon"}, qPrintable(decoded.join(u' ')));
}

void tst_Performance::picturesLoadOnlyTheirOwnReader()
{
#ifndef Q_OS_LINUX
    QSKIP("reads /proc/self/maps");
#endif
    // BMP is read by QtGui itself: asking every plugin about it first would
    // load them all, each a library mapped for the rest of the run.
    const QSet<QString> before = loadedImagePlugins();
    for (const char *name : {"modepursuit", "modeauto", "modenormal"})
        QVERIFY(!runtime::qt::picture(QString::fromLatin1(name)).isNull());
    QCOMPARE(loadedImagePlugins(), before);
    QVERIFY(!runtime::qt::picture(QStringLiteral("leftpanel")).isNull());
    for (const QString &plugin : loadedImagePlugins() - before)
        QVERIFY2(plugin.contains(QLatin1String("jpeg")), qPrintable(plugin));
}

void tst_Performance::eachPictureIsDecodedOnce()
{
    loadDashboard();
    const QStringList first = decodedPictures();
    for (const QString &name : DashboardPictures)
        QVERIFY2(first.count(name) == 1, qPrintable(name));

    // Every picture shown, some many times over: sixteen lamps share one.
    powerOn();
    for (QPoint mode : {Auto, Pursuit, Normal, Programs, Auto})
        click(mode);
    for (const char *button : LampButtons)
        click(centreOf(button));
    QCOMPARE(litLamps().size(), 16);
    (void)shot();
    // And the dashboard built afresh, as every test does.
    loadDashboard();
    (void)shot();
    QCOMPARE(decodedPictures(), first);
}

void tst_Performance::brokenPictureIsSaidOnce()
{
    QTemporaryFile said;
    QVERIFY(said.open());
    const int saved = dup(STDERR_FILENO);
    dup2(said.handle(), STDERR_FILENO);  // the error stream, caught
    for (int i = 0; i < 3; ++i)
        QVERIFY(runtime::qt::picture(QStringLiteral("broken")).isNull());
    dup2(saved, STDERR_FILENO);
    close(saved);
    QFile lines(said.fileName());
    QVERIFY(lines.open(QIODevice::ReadOnly));
    QCOMPARE(lines.readAll(), QByteArray("the built-in picture broken.bmp cannot be shown: unable to read image data\n"));
}

void tst_Performance::picturesAreInTheScreensPixelFormat()
{
    // A picture in any other format would be converted at every paint.
    const QImage::Format native = QPixmap(1, 1).toImage().format();
    for (const QString &name : DashboardPictures)
        QCOMPARE(runtime::qt::picture(name).toImage().format(), native);
}

void tst_Performance::hiddenVoiceBoxDecodesNoFrame()
{
    loadDashboard();
    const runtime::AnimationView &view = animationOf(controlOf(form, QStringLiteral("WebBrowser1")));
    // Hidden from the start: read, but nothing decoded, nothing shown.
    QTest::qWait(300);
    QVERIFY(view.playback().animation().isEmpty());
    QCOMPARE(view.framesShown(), 0);

    powerOn();
    click(Programs);
    QTRY_VERIFY(view.framesShown() >= 3);  // it plays while seen

    click(Normal);  // behind a mode picture
    QTest::qWait(150);  // a frame asked for before the click may still land
    const int atHide = view.framesShown();
    QTest::qWait(500);
    QCOMPARE(view.framesShown(), atHide);
}

QTEST_MAIN(tst_Performance)
#include "tst_performance.moc"
