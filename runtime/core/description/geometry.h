// A rectangle in pixels, as the core computes places and crops.
#pragma once

namespace runtime {

struct Rect
{
    int x = 0, y = 0, width = 0, height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    int right() const { return x + width - 1; }
    int bottom() const { return y + height - 1; }
    Rect intersected(const Rect &o) const;
    bool operator==(const Rect &) const = default;
};

} // namespace runtime
