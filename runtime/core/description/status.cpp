#include "description/status.h"

namespace runtime {

const char *describe(Status status)
{
    switch (status) {
    case Status::Ok:             return "no error";
    case Status::NoSuchForm:     return "no such window";
    case Status::NoSuchControl:  return "no such control";
    case Status::NoSuchProperty: return "property not supported by this control";
    case Status::Failed:         return "the operation failed";
    }
    return "";
}

const char *describe(Property property)
{
    switch (property) {
    case Property::Visible:   return "Visible";
    case Property::Text:      return "Text";
    case Property::Caption:   return "Caption";
    case Property::Navigate:  return "Navigate";
    case Property::Show:      return "Show";
    case Property::Hide:      return "Hide";
    case Property::Unload:    return "Unload";
    case Property::AppFolder: return "App.Path";
    }
    return "";
}

} // namespace runtime
