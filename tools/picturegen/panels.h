// The two instrument panels either side of the central display. Their
// readouts, buttons and lamps sit at fixed pixels because the dashboard's
// click zones and readout labels are laid over them.
#ifndef PANELS_H
#define PANELS_H

#include <QImage>

namespace Panels {

QImage left();   // 500 x 220: speed, trip and odometer side
QImage right();  // 500 x 193: engine speed, power and mode buttons

} // namespace Panels

#endif // PANELS_H
