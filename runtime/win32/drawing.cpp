#include "drawing.h"
#include "text.h"
#include "description/twips.h"

#include <map>
#include <tuple>

namespace runtime::win32 {

int layoutScale()
{
    static const int scale = [] {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return dpi >= 192 ? dpi / 96 : 1;
    }();
    return scale;
}

RECT device(const Rect &r, int scale)
{
    return {r.x * scale, r.y * scale, (r.x + r.width) * scale, (r.y + r.height) * scale};
}

COLORREF colourRef(Colour colour, Colour fallback)
{
    colour = colour.orElse(fallback);
    // The designer's system colours are GetSysColor's own indexes.
    if (colour.isSystem())
        return GetSysColor(int(colour.systemIndex()));
    return RGB((colour.value >> 16) & 0xFF, (colour.value >> 8) & 0xFF, colour.value & 0xFF);
}

HBRUSH sharedBrush(COLORREF colour)
{
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH &brush = brushes[colour];
    if (!brush)
        brush = CreateSolidBrush(colour);
    return brush;
}

HFONT sharedFont(const Font &font, int scale)
{
    static std::map<std::tuple<std::string, double, int, int>, HFONT> fonts;
    HFONT &made = fonts[{font.face, font.points, font.weight, scale}];
    if (!made) {
        // The same pixel size as every platform gives the font, in layout
        // pixels, then enlarged as the pictures are.
        made = CreateFontW(-fontPixels(font.points) * scale, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, toWide(font.face).c_str());
    }
    return made;
}

void drawImage(HDC dc, const Image &image, const RECT &at)
{
    const int width = image.width, height = image.height;
    if (width <= 0 || height <= 0 || image.pixels.size() < size_t(width) * size_t(height))
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0, width, height,
                  image.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void paintBuffered(HWND window, const std::function<void(HDC, const RECT &)> &paint)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const RECT &dirty = ps.rcPaint;
    const int w = dirty.right - dirty.left, h = dirty.bottom - dirty.top;
    if (w > 0 && h > 0) {
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(buffer, bitmap);
        SetViewportOrgEx(buffer, -dirty.left, -dirty.top, nullptr);
        paint(buffer, dirty);
        SetViewportOrgEx(buffer, 0, 0, nullptr);
        BitBlt(dc, dirty.left, dirty.top, w, h, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, old);
        DeleteObject(bitmap);
        DeleteDC(buffer);
    }
    EndPaint(window, &ps);
}

} // namespace runtime::win32
