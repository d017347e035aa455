// Turns a stored colour into the QColor it means on this desktop: system
// colours follow the application's palette.
#pragma once

#include "description/description.h"

#include <QColor>
#include <QPalette>

namespace runtime::qt {

QColor toQColor(Colour colour, Colour fallback);

// Applies back and fore colours to the palette roles a widget paints with.
void applyColours(QWidget *widget, Colour back, Colour fore,
                  QPalette::ColorRole backRole, QPalette::ColorRole foreRole);

} // namespace runtime::qt
