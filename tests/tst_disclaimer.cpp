// The disclaimer window as the user meets it at start-up: its layout, the
// warning text with the focus, keys that do nothing they shouldn't, and
// the three ways out, each driven through the window system.
#include "dashboardfixture.h"
#include "formaccess.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include "animation/animationview.h"


using runtime::Property;

namespace {

const QString Warning = QStringLiteral(
    "WARNING!!\r\n\r\nThis is not a new version of the VELK-Simulator!\r\n"
    "This is the first one! NEVER released to the public before!\r\n"
    "But this is the project that gave me the idea of creating a talking VELK!\r\n\r\n"
    "So enjoy this special release ;)\r\n\r\n"
    "NOTE: You cannot expect much from this release, it just shows you the beginning.\r\n");

const QPoint Agree(56, 184), Decline(272, 184);

} // namespace

class tst_Disclaimer : public DashboardFixture
{
    Q_OBJECT

private slots:
    void init();

    void startsAlone();
    void layout_data();
    void layout();
    void warningHasTheFocus();
    void keysPressNoButton();
    void resizingMovesNothing();
    void agreeHidesThenLoadsThenShows();
    void declineEnds();
    void closingEnds();

private:
    runtime::Form *disclaimer = nullptr;
    QWindow *disclaimerWindow = nullptr;
};

void tst_Disclaimer::init()
{
    startAfresh();
    app().add(disclaimerForm());
    app().add(dashboardForm());
    QCOMPARE(app().show("Form2"), runtime::Status::Ok);
    disclaimer = app().loaded("Form2");
    disclaimerWindow = widgetOf(disclaimer)->windowHandle();
    QVERIFY(QTest::qWaitForWindowActive(disclaimerWindow));
}

void tst_Disclaimer::startsAlone()
{
    QVERIFY(!app().loaded("Form1"));
    QWidget *w = widgetOf(disclaimer);
    QCOMPARE(w->windowTitle(), QStringLiteral("VELK-Simulator Version 1"));
    QCOMPARE(w->size(), QSize(324, 270));
    QVERIFY(!(w->windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(w->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32),
             QImage(QStringLiteral(":/pictures/appicon.ico")).convertToFormat(QImage::Format_RGB32));
    QVariant text;
    QCOMPARE(getProperty(disclaimer, QStringLiteral("Text1"), Property::Text, text), runtime::Status::Ok);
    QCOMPARE(text.toString(), Warning);
    QCOMPARE(Warning.size(), 319);
    // The information line fits its label on one line.
    QWidget *info = controlOf(disclaimer, QStringLiteral("Label3"));
    QVariant caption;
    getProperty(disclaimer, QStringLiteral("Label3"), Property::Caption, caption);
    QVERIFY(caption.toString().startsWith(QLatin1String("Looking for info or the latest version? Visit: ")));
    QVERIFY(QFontMetrics(info->font()).horizontalAdvance(caption.toString()) <= info->width());
}

void tst_Disclaimer::layout_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Command2") << "Command2" << QRect(224, 168, 97, 33) << 11 << false;
    QTest::newRow("Command1") << "Command1" << QRect(8, 168, 97, 33) << 11 << false;
    QTest::newRow("Text1") << "Text1" << QRect(8, 32, 313, 129) << 11 << false;
    QTest::newRow("Line1") << "Line1" << QRect(8, 208, 313, 1) << 11 << false;
    QTest::newRow("Label3") << "Label3" << QRect(8, 240, 313, 25) << 11 << true;
    QTest::newRow("Label2") << "Label2" << QRect(8, 216, 313, 17) << 11 << false;
    QTest::newRow("Label1") << "Label1" << QRect(8, 8, 313, 25) << 18 << true;
}

void tst_Disclaimer::layout()
{
    QFETCH(QString, control);
    QFETCH(QRect, rect);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QWidget *w = controlOf(disclaimer, control);
    QCOMPARE(w->geometry(), rect);
    QCOMPARE(QFontInfo(w->font()).pixelSize(), pixelSize);
    QCOMPARE(w->font().bold(), bold);
}

void tst_Disclaimer::warningHasTheFocus()
{
    QWidget *editor = controlOf(disclaimer, QStringLiteral("Text1"))->focusProxy();
    QCOMPARE(QApplication::focusWidget(), editor);
    // Tab goes on to "I Agree", then "I Do Not Agree", then back.
    const QStringList order = {"Command1", "Command2", "Text1", "Command1"};
    for (const QString &next : order) {
        QTest::keyClick(disclaimerWindow, Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QCOMPARE(focus == editor ? QStringLiteral("Text1") : focus->objectName(), next);
    }
    // Hidden and shown again, the window keeps the focus where it was, for
    // when it is active again.
    QCOMPARE(app().hide("Form2"), runtime::Status::Ok);
    QCOMPARE(app().show("Form2"), runtime::Status::Ok);
    QCOMPARE(widgetOf(disclaimer)->focusWidget()->objectName(), QStringLiteral("Command1"));
}

void tst_Disclaimer::keysPressNoButton()
{
    QTest::keyClick(disclaimerWindow, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(disclaimerWindow, Qt::Key_Return);
    QTest::keyClick(disclaimerWindow, Qt::Key_Enter);
    for (char c : {'o', 'k'})
        QTest::keyClick(disclaimerWindow, c);
    QTest::keyClick(disclaimerWindow, Qt::Key_Escape);
    QVariant text;
    getProperty(disclaimer, QStringLiteral("Text1"), Property::Text, text);
    QCOMPARE(text.toString(), Warning + QStringLiteral("\r\n\r\nok"));
    QVERIFY(widgetOf(disclaimer)->isVisible());
    QVERIFY(!app().loaded("Form1"));
    QVERIFY(!app().hasEnded());
}

void tst_Disclaimer::resizingMovesNothing()
{
    QWidget *w = widgetOf(disclaimer);
    const QRect agree = controlOf(disclaimer, QStringLiteral("Command1"))->geometry();
    const QRect text = controlOf(disclaimer, QStringLiteral("Text1"))->geometry();
    w->resize(700, 500);
    QTRY_COMPARE(w->size(), QSize(700, 500));
    QCOMPARE(controlOf(disclaimer, QStringLiteral("Command1"))->geometry(), agree);
    QCOMPARE(controlOf(disclaimer, QStringLiteral("Text1"))->geometry(), text);
    w->showMaximized();
    QCOMPARE(controlOf(disclaimer, QStringLiteral("Command1"))->geometry(), agree);
}

void tst_Disclaimer::agreeHidesThenLoadsThenShows()
{
    // Watch the order: the disclaimer hides, the dashboard's load handler
    // has asked for the voice box, and only then does the dashboard show.
    struct Order : QObject
    {
        QStringList seen;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (!o->isWidgetType() || !static_cast<QWidget *>(o)->isWindow())
                return false;
            if (e->type() == QEvent::Hide && o->objectName() == QLatin1String("Form2"))
                seen << QStringLiteral("Form2 hidden");
            if (e->type() == QEvent::Show && o->objectName() == QLatin1String("Form1")) {
                auto *view = controlOf(app().loaded("Form1"), QStringLiteral("WebBrowser1"));
                seen << (animationOf(view).address().empty()
                                 ? QStringLiteral("Form1 shown before loading")
                                 : QStringLiteral("Form1 shown"));
            }
            return false;
        }
    } order;
    qApp->installEventFilter(&order);
    QTest::mouseClick(disclaimerWindow, Qt::LeftButton, {}, Agree);
    qApp->removeEventFilter(&order);
    QCOMPARE(order.seen, (QStringList{"Form2 hidden", "Form1 shown"}));
    QVERIFY(app().loaded("Form2"));  // hidden, still loaded
    QVERIFY(!widgetOf(disclaimer)->isVisible());
    QVERIFY(widgetOf(app().loaded("Form1"))->isVisible());
}

void tst_Disclaimer::declineEnds()
{
    QTest::mouseClick(disclaimerWindow, Qt::LeftButton, {}, Decline);
    QVERIFY(app().hasEnded());
    QVERIFY(!app().loaded("Form2"));
    QVERIFY(!app().loaded("Form1"));
}

void tst_Disclaimer::closingEnds()
{
    disclaimerWindow->close();
    QVERIFY(app().hasEnded());
    QVERIFY(!app().loaded("Form1"));
}

QTEST_MAIN(tst_Disclaimer)
#include "tst_disclaimer.moc"
