// The tests' way into a loaded form in Qt's terms: its window and controls
// as widgets, and its properties as QVariants (flags as bool, texts as
// QString), each access with the runtime's status.
#pragma once

#include "faultinjection.h"
#include "form.h"
#include "qtbackend.h"
#include "qtwindow.h"
#include "registry.h"

#include <QString>
#include <QVariant>
#include <QWidget>

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

// The Qt backend, with faults to inject into its windows' writes.
inline FaultInjection &faultInjection()
{
    static FaultInjection *faults = new FaultInjection(runtime::qt::QtBackend::instance());
    return *faults;
}

inline runtime::Status getProperty(const runtime::Form *form, const QString &control, runtime::Property property,
                                   QVariant &value)
{
    runtime::Value v;
    const runtime::Status s = form->property(control.toStdString(), property, v);
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
    return form->setProperty(control.toStdString(), property, v);
}
