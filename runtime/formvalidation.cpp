// Checks a window description before anything of it is built: names,
// kinds, containers, the twips grid, pictures and the handler table.
#include "controlkinds.h"
#include "form.h"
#include "pictures.h"
#include "twips.h"

namespace runtime {

QStringList Form::validate(const FormDescription &d)
{
    QStringList errors;
    auto twips = [&errors](const char *what, const char *name, std::initializer_list<int> values) {
        for (int v : values)
            if (v % TwipsPerPixel)
                errors << QStringLiteral("%1 %2: %3 twips is not a whole number of pixels")
                                  .arg(QLatin1String(what), QString::fromUtf8(name)).arg(v);
    };
    if (!d.window.name || !*d.window.name)
        errors << QStringLiteral("the window has no name");
    twips("window", d.window.name, {d.window.clientWidth, d.window.clientHeight});
    if (d.window.icon && picturePath(QString::fromUtf8(d.window.icon)).isEmpty())
        errors << QStringLiteral("window icon: no picture named %1").arg(QString::fromUtf8(d.window.icon));

    QHash<QString, Kind> kinds;  // by lower-case name: names are not case-sensitive
    for (const ControlRow &row : d.controls) {
        const QString name = QString::fromUtf8(row.name ? row.name : "");
        if (name.isEmpty())
            errors << QStringLiteral("a control has no name");
        else if (kinds.contains(name.toLower()) || name.compare(QLatin1String("Form"), Qt::CaseInsensitive) == 0)
            errors << QStringLiteral("%1: duplicate name").arg(name);
        if (!knownKind(row.kind))
            errors << QStringLiteral("%1: unknown kind %2").arg(name).arg(int(row.kind));
        kinds.insert(name.toLower(), row.kind);
        twips("control", row.name, {row.left, row.top, row.width, row.height});
        if (row.settings.picture && picturePath(QString::fromUtf8(row.settings.picture)).isEmpty())
            errors << QStringLiteral("%1: no picture named %2").arg(name, QString::fromUtf8(row.settings.picture));
    }
    for (const ControlRow &row : d.controls) {
        const QString container = QString::fromUtf8(row.container ? row.container : "");
        if (container.isEmpty())
            continue;
        if (!kinds.contains(container.toLower()) || !isContainer(kinds.value(container.toLower())))
            errors << QStringLiteral("%1: unknown container %2").arg(QString::fromUtf8(row.name), container);
    }
    for (const Handler &h : d.handlers) {
        const QString handler = QString::fromUtf8(h.name ? h.name : "");
        const int cut = handler.lastIndexOf(QLatin1Char('_'));
        const QString object = handler.left(cut), event = handler.mid(cut + 1);
        const bool isForm = object == QLatin1String("Form");
        if (cut <= 0 || !h.fn)
            errors << QStringLiteral("handler %1: not of the form Control_Event").arg(handler);
        else if (!isForm && !kinds.contains(object.toLower()))
            errors << QStringLiteral("handler %1: no control named %2").arg(handler, object);
        else if (!(isForm ? formEvents() : eventsOf(kinds.value(object.toLower()))).contains(event))
            errors << QStringLiteral("handler %1: %2 has no event %3").arg(handler, object, event);
    }
    return errors;
}

} // namespace runtime
