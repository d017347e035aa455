#include "status.h"

namespace runtime {

QString describe(Status status)
{
    switch (status) {
    case Status::Ok:             return QStringLiteral("no error");
    case Status::NoSuchForm:     return QStringLiteral("no such window");
    case Status::NoSuchControl:  return QStringLiteral("no such control");
    case Status::NoSuchProperty: return QStringLiteral("property not supported by this control");
    case Status::Failed:         return QStringLiteral("the operation failed");
    }
    return {};
}

QString describe(Property property)
{
    switch (property) {
    case Property::Visible:   return QStringLiteral("Visible");
    case Property::Text:      return QStringLiteral("Text");
    case Property::Caption:   return QStringLiteral("Caption");
    case Property::Navigate:  return QStringLiteral("Navigate");
    case Property::Show:      return QStringLiteral("Show");
    case Property::Hide:      return QStringLiteral("Hide");
    case Property::Unload:    return QStringLiteral("Unload");
    case Property::AppFolder: return QStringLiteral("App.Path");
    }
    return {};
}

} // namespace runtime
