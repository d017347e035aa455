#include "colours.h"

#include <QApplication>
#include <QWidget>

namespace runtime::qt {

static QColor systemColour(quint32 index)
{
    const QPalette pal = QApplication::palette();
    switch (index) {
    case 5:  return pal.color(QPalette::Base);        // window background
    case 8:  return pal.color(QPalette::Text);        // window text
    case 15: return pal.color(QPalette::Button);      // button face
    case 18: return pal.color(QPalette::ButtonText);  // button text
    default: return pal.color(QPalette::Window);
    }
}

QColor toQColor(Colour colour, Colour fallback)
{
    colour = colour.orElse(fallback);
    return colour.isSystem() ? systemColour(colour.systemIndex()) : QColor::fromRgb(colour.value);
}

void applyColours(QWidget *widget, Colour back, Colour fore,
                  QPalette::ColorRole backRole, QPalette::ColorRole foreRole)
{
    QPalette pal = widget->palette();
    if (back.isSet())
        pal.setColor(backRole, toQColor(back, back));
    if (fore.isSet())
        pal.setColor(foreRole, toQColor(fore, fore));
    widget->setPalette(pal);
}

} // namespace runtime::qt
