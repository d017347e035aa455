// What the runtime knows of each kind of control: which hold others,
// which are drawn on their container's surface, which events they raise.
#pragma once

#include "formdescription.h"

#include <QStringList>

namespace runtime {

inline bool isContainer(Kind kind) { return kind == Kind::PictureBox; }

// Labels and lines are drawn on their container's surface, behind every
// windowed sibling.
inline bool isWindowed(Kind kind) { return kind != Kind::Label && kind != Kind::Line && kind != Kind::Timer; }

inline bool knownKind(Kind kind)
{
    switch (kind) {
    case Kind::PictureBox: case Kind::Label: case Kind::TextBox: case Kind::CommandButton:
    case Kind::Line: case Kind::Timer: case Kind::BrowserView:
        return true;
    }
    return false;
}

inline QStringList eventsOf(Kind kind)
{
    switch (kind) {
    case Kind::Label: case Kind::CommandButton: return {QStringLiteral("Click")};
    case Kind::Timer:                           return {QStringLiteral("Timer")};
    default:                                    return {};
    }
}

inline QStringList formEvents() { return {QStringLiteral("Load"), QStringLiteral("Unload")}; }

} // namespace runtime
