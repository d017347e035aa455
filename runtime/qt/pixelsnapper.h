// On a scaled screen the pointer arrives in fractions of a pixel, and Qt
// hands it to the control at the nearest whole pixel: at twice the scale
// the right and lower device pixel of every pixel would click the
// neighbour. The snapper moves each position to the pixel that was
// painted where the pointer is, so a click lands on what the user sees.
#pragma once

class QWindow;

namespace runtime::qt {

// Snaps the window's mouse events from now on; asking again changes nothing.
void snapPixels(QWindow *window);

} // namespace runtime::qt
