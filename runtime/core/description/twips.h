// The one conversion between the designer's twips and screen pixels. The
// descriptions are made at 15 twips to the pixel whatever the screen's DPI,
// so the layout stays pixel-exact on every screen.
#pragma once

namespace runtime {

inline constexpr int TwipsPerPixel = 15;

constexpr int pixels(int twips) { return twips / TwipsPerPixel; }

// Fonts follow the same fixed scale: n points are n * 4/3 pixels.
constexpr int fontPixels(double points) { return int(points * 4.0 / 3.0 + 0.5); }

} // namespace runtime
