// The two button consoles below the panels. They are built alike, so one
// painter draws both from a table of measurements; the dashboard's click
// zones and lamp boxes are laid over the keys and sockets drawn here.
#ifndef CONSOLES_H
#define CONSOLES_H

#include <QImage>

namespace Consoles {

QImage left();   // 170 x 303
QImage right();  // 200 x 304, with the extra round key left of row 2

} // namespace Consoles

#endif // CONSOLES_H
