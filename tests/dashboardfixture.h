// What the dashboard tests share: the window loaded afresh for each test,
// clicks delivered through the window system at window coordinates, and
// what the user then sees (control states, a grab of the window, and which
// widget the window system handed the click to).
#pragma once

#include "dashboardform.h"
#include "disclaimerform.h"
#include "description/binding.h"
#include "formaccess.h"
#include "description/layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

// Where a control of the dashboard lies in the window, and its centre
// pixel, from the window's own table (checked by tst_windowtables).
inline QRect placeOf(const char *control)
{
    const runtime::Rect r = runtime::windowRect(dashboardForm(), runtime::rowNamed(dashboardForm(), control));
    return QRect(r.x, r.y, r.width, r.height);
}
inline QPoint centreOf(const char *control) { return placeOf(control).center(); }

class ClickWitness : public QObject
{
public:
    QString last;  // the control that received the last release, or the window

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The first widget offered the release is the one the window system
        // chose; an ignored event then travels on up to the parents.
        if (event->type() == QEvent::MouseButtonRelease && watched->isWidgetType() && last.isEmpty()) {
            QWidget *w = static_cast<QWidget *>(watched);
            while (w->objectName().isEmpty() && w->parentWidget())
                w = w->parentWidget();  // a box's client area, a text box's editor
            last = w->objectName();
        }
        return false;
    }
};

class DashboardFixture : public QObject
{

protected:
    runtime::Form *form = nullptr;
    QWindow *window = nullptr;
    ClickWitness witness;

    void loadDashboard()
    {
        startAfresh(true);
        faultInjection().clear();
        app().add(disclaimerForm());
        app().add(dashboardForm());
        QCOMPARE(app().show("Form1"), runtime::Status::Ok);
        form = app().loaded("Form1");
        window = widgetOf(form)->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        qApp->installEventFilter(&witness);
    }

    void click(QPoint at)
    {
        witness.last.clear();
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }

    bool visible(const QString &control) const
    {
        QVariant v;
        if (getProperty(form, control, runtime::Property::Visible, v) != runtime::Status::Ok)
            qFatal("no control %s", qPrintable(control));
        return v.toBool();
    }

    QString text(const QString &control, runtime::Property p = runtime::Property::Text) const
    {
        QVariant v;
        if (getProperty(form, control, p, v) != runtime::Status::Ok)
            qFatal("no text in %s", qPrintable(control));
        return v.toString();
    }

    // The front-most visible display picture, or "" for none.
    QString display() const
    {
        for (const char *name : {"velkpursuit", "velkauto", "velknormall", "Picture1"})
            if (visible(QString::fromLatin1(name)))
                return QString::fromLatin1(name);
        return {};
    }

    QStringList litLamps() const
    {
        QStringList lit;
        for (int i = 6; i <= 21; ++i)
            if (visible(QStringLiteral("Picture%1").arg(i)))
                lit << QStringLiteral("Picture%1").arg(i);
        return lit;
    }

    QImage shot() const
    {
        return widgetOf(form)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QImage picture(const char *name, const char *extension)
    {
        return QImage(QStringLiteral(":/pictures/%1.%2").arg(QLatin1String(name), QLatin1String(extension)))
                .convertToFormat(QImage::Format_RGB32);
    }

    // The timer's next tick: the readouts show their sources' texts.
    void readoutsCatchUp()
    {
        QTRY_COMPARE(text(QStringLiteral("Label10"), runtime::Property::Caption), text(QStringLiteral("Text3")));
        QTRY_COMPARE(text(QStringLiteral("Label11"), runtime::Property::Caption), text(QStringLiteral("Text4")));
    }

    // Power on through the power zone, and wait for the readouts' tick.
    void powerOn()
    {
        click(centreOf("Label1"));
        QTRY_COMPARE(text(QStringLiteral("Label10"), runtime::Property::Caption), QStringLiteral("000"));
    }
};
