// The conformance table (cases.h) on the Qt backend, in-process on the
// offscreen platform: clicks go in at window coordinates through the
// window system's entry, as are keys, what the screen shows is read from
// the window's backing store, and the timer's interval is read from the
// timer itself.
#include "cases.h"
#include "formaccess.h"
#include "qtbackend.h"
#include "qtcontrol.h"
#include "qtwindow.h"
#include "program/application.h"
#include "description/timing.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <map>

using namespace conformance;

class tst_Conformance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void backend_data();
    void backend();

private:
    QImage shown(const char *control) const;
    QImage screen() const;
    void click(const char *control);
    void key(Qt::Key key) { QTest::keyClick(m_window->windowHandle(), key); }
    QString focused() const;
    static QImage ringed(QImage image, const char *control);
    Form *m_form = nullptr;
    QWidget *m_window = nullptr;
};

void tst_Conformance::initTestCase()
{
    startAfresh();
    app().add(window());
    QCOMPARE(app().show("Conformance"), Status::Ok);
    m_form = app().loaded("Conformance");
    m_window = widgetOf(m_form);
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

QImage tst_Conformance::screen() const
{
    return QGuiApplication::primaryScreen()->grabWindow(m_window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

void tst_Conformance::click(const char *control)
{
    const Point p = pointOf({"", Check::Click, control, At::Centre, ""});
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(p.x, p.y));
}

// The row of the widget with Qt's focus (a text box's editor is its).
QString tst_Conformance::focused() const
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (auto *c = dynamic_cast<qt::QtControl *>(w))
            return window().controls[size_t(c->row)].name;
    return "none";
}

// The image with the ring round the control, where the core lays it.
QImage tst_Conformance::ringed(QImage image, const char *control)
{
    const Rect r = ringOf(control);
    for (int y = r.y; y <= r.bottom(); ++y)
        for (int x = r.x; x <= r.right(); ++x)
            image.setPixel(x, y, 0xFF000000 | withRing(r, x, y, image.pixel(x, y) & 0xFFFFFF));
    return image;
}

QImage tst_Conformance::shown(const char *control) const
{
    const Rect r = windowRect(window(), rowOf(control));
    return QGuiApplication::primaryScreen()->grabWindow(m_window->winId(), r.x, r.y, r.width, r.height).toImage();
}

void tst_Conformance::backend_data()
{
    QTest::addColumn<int>("at");
    for (size_t i = 0; i < std::size(Cases); ++i)
        QTest::newRow(Cases[i].name) << int(i);
}

void tst_Conformance::backend()
{
    QFETCH(int, at);
    const Case &c = Cases[at];
    switch (c.check) {
    case Check::Click: {
        clickLog.clear();
        const Point p = pointOf(c);
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(p.x, p.y));
        QCOMPARE(QString::fromStdString(clickLog), *c.expect ? QString(c.expect) + ';' : QString());
        break;
    }
    case Check::TextReadsBack: {
        FormProbe::set(*m_form, c.control, Property::Text, std::string(c.expect));
        auto *editor = controlOf(m_form, c.control)->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString(c.expect));
        break;
    }
    case Check::CaptionRepaints: {
        const QImage before = shown(c.control);
        FormProbe::set(*m_form, c.control, Property::Caption, std::string(c.expect));
        QTRY_VERIFY(shown(c.control) != before);
        break;
    }
    case Check::Accessible: {
        // A text box is heard through its editor, which takes its focus.
        QWidget *w = controlOf(m_form, c.control);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w->focusProxy() ? w->focusProxy() : w);
        QVERIFY(a);
        static const std::map<QAccessible::Role, QString> roles = {
                {QAccessible::Button, "button"}, {QAccessible::StaticText, "statictext"},
                {QAccessible::Graphic, "graphic"}, {QAccessible::EditableText, "text"}};
        const auto role = roles.find(a->role());
        QCOMPARE(QStringList({role == roles.end() ? QString::number(a->role()) : role->second,
                              a->text(QAccessible::Name), a->text(QAccessible::Value),
                              a->state().readOnly ? "read-only" : ""}).join(u'|'),
                 QString(c.expect));
        break;
    }
    case Check::FocusOrder: {
        click(c.control);
        QStringList went;
        for (qsizetype stops = QString(c.expect).count(',') + 1; went.size() < stops;) {
            key(Qt::Key_Tab);
            went << focused();
        }
        QCOMPARE(went.join(','), QString(c.expect));
        break;
    }
    case Check::Ring: {
        const Rect ring = ringOf(c.control);
        QVERIFY2(ring.x >= 0 && ring.y >= 0 && ring.right() < m_window->width() && ring.bottom() < m_window->height(),
                 "a side of the ring would be cut off");
        click(c.control);
        const QImage before = screen();
        key(Qt::Key_Backtab);
        key(Qt::Key_Tab);
        QTRY_COMPARE(screen(), ringed(before, c.control));
        click(c.control);
        QTRY_COMPARE(screen(), before);
        break;
    }
    case Check::Key: {
        click(c.control);
        clickLog.clear();
        key(Qt::Key_Space);
        key(Qt::Key_Return);
        QCOMPARE(QString::fromStdString(clickLog), QString(c.expect));
        break;
    }
    case Check::TimerInterval: {
        QTimer *timer = nullptr;
        for (QTimer *t : m_window->findChildren<QTimer *>())
            if (dynamic_cast<qt::QtControl *>(t))
                timer = t;
        QVERIFY(timer && timer->isActive());
        const int asked = window().controls[size_t(rowOf(c.control))].settings.interval;
        QCOMPARE(timer->interval(), timerDeliveryMs(asked, qtBackend().refreshHz()));
        break;
    }
    }
}

QTEST_MAIN(tst_Conformance)
#include "tst_conformance.moc"
