// What every control draws with: the descriptions' colours as COLORREFs,
// fonts and brushes made once and shared for the life of the program, the
// layout's scale, and painting through an off-screen buffer so that a
// readout rewritten a hundred times a second never flickers.
#pragma once

#include "description/description.h"
#include "animation/framedecoder.h"
#include "description/geometry.h"
#include "win32.h"

#include <functional>

namespace runtime::win32 {

// Device pixels per layout pixel: 1 at 96 DPI, and a whole number on a
// scaled screen, so that every picture is enlarged pixel for pixel.
int layoutScale();

// A rectangle of layout pixels in device pixels.
RECT device(const Rect &layout, int scale);

// The colour, or fallback when unset; system colours as the system has them.
COLORREF colourRef(Colour colour, Colour fallback);
HBRUSH sharedBrush(COLORREF colour);

// The face at its pixel size (twips.h) times the layout's scale, which
// keeps text in proportion to the boxes it sits in.
HFONT sharedFont(const Font &font, int scale);

// Draws the image over the rectangle, each pixel enlarged to a block, never
// blended; nothing when it has no pixels.
void drawImage(HDC dc, const Image &image, const RECT &at);

// BeginPaint and EndPaint around paint(dc, dirty), drawn off screen first.
void paintBuffered(HWND window, const std::function<void(HDC, const RECT &)> &paint);

} // namespace runtime::win32
