// The tests' way into a loaded form in Qt's terms: its window and controls
// as widgets, and its properties as QVariants (flags as bool, texts as
// QString), each access with the runtime's status. Each case starts a
// program afresh, as the program's own start does, on the Qt backend
// alone or with faults to inject into its windows' writes.
#pragma once

#include "browserview.h"
#include "faultinjection.h"
#include "formprobe.h"
#include "form/form.h"
#include "qtbackend.h"
#include "qtwindow.h"
#include "program/application.h"

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <memory>

inline bool runHandler(runtime::Form &form, std::string_view handlerName)
{
    return runtime::FormProbe::run(form, handlerName);
}

// The case's program: its Qt backend (a new one each case, so that no
// error box is left from the case before), the faults, and the application.
struct TestProgram
{
    std::unique_ptr<runtime::Application> application;
    std::unique_ptr<FaultInjection> faults;
    std::unique_ptr<runtime::qt::QtBackend> qt;

    static TestProgram &current()
    {
        static TestProgram *program = new TestProgram;
        return *program;
    }
};

// Starts a program afresh with nothing loaded, on the Qt backend, or on it
// behind the fault injection; the last case's windows go first.
inline runtime::Application &startAfresh(bool withFaults = false)
{
    TestProgram &p = TestProgram::current();
    p.application.reset();
    p.faults.reset();
    p.qt.reset();
    p.qt = std::make_unique<runtime::qt::QtBackend>();
    p.faults = std::make_unique<FaultInjection>(*p.qt);
    p.application = std::make_unique<runtime::Application>(
            withFaults ? static_cast<runtime::Backend &>(*p.faults) : *p.qt);
    return *p.application;
}

inline runtime::Application &app()
{
    TestProgram &p = TestProgram::current();
    return p.application ? *p.application : startAfresh();
}

inline runtime::qt::QtBackend &qtBackend()
{
    if (!TestProgram::current().qt)
        startAfresh();
    return *TestProgram::current().qt;
}

// What a browser view was asked for, has decoded and has shown.
inline const runtime::AnimationView &animationOf(QWidget *view)
{
    return static_cast<runtime::qt::BrowserView *>(view)->animation();
}

// The pictures decoded since listenForDecodings(), in the order they were:
// a picture shown again is never decoded again, and none before it is
// needed. Heard on the program's own "velk.pictures" category.
inline QStringList &decodedPictures()
{
    static QStringList decodes;
    return decodes;
}

inline void listenForDecodings()
{
    static QtMessageHandler previous = nullptr;
    QLoggingCategory::setFilterRules(QStringLiteral("velk.pictures.debug=true"));
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (qstrcmp(context.category, "velk.pictures") == 0)
            decodedPictures() << text.section(QLatin1Char(' '), 1);
        else if (previous)
            previous(type, context, text);
    });
}

inline const runtime::qt::QtWindow &qtWindowOf(const runtime::Form *form)
{
    return static_cast<const runtime::qt::QtWindow &>(FaultInjection::inner(form->window()));
}

inline QWidget *widgetOf(const runtime::Form *form)
{
    return qtWindowOf(form).widget();
}

inline QWidget *controlOf(const runtime::Form *form, const QString &name)
{
    return qtWindowOf(form).control(form->row(name.toStdString()));
}

// The faults to inject into the windows' writes of a program started
// afresh with them.
inline FaultInjection &faultInjection()
{
    if (!TestProgram::current().faults)
        startAfresh();
    return *TestProgram::current().faults;
}

inline runtime::Status getProperty(const runtime::Form *form, const QString &control, runtime::Property property,
                                   QVariant &value)
{
    runtime::Value v;
    const runtime::Status s = runtime::FormProbe::get(*form, control.toStdString(), property, v);
    if (s == runtime::Status::Ok)
        value = std::holds_alternative<bool>(v) ? QVariant(std::get<bool>(v))
                                                : QVariant(QString::fromStdString(std::get<std::string>(v)));
    return s;
}

inline runtime::Status setProperty(runtime::Form *form, const QString &control, runtime::Property property,
                                   const QVariant &value)
{
    const runtime::Value v = property == runtime::Property::Visible ? runtime::Value(value.toBool())
                                                                    : runtime::Value(value.toString().toStdString());
    return runtime::FormProbe::set(*form, control.toStdString(), property, v);
}
