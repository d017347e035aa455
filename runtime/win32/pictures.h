// The pictures the program carries: RCDATA resources of the executable,
// named as the descriptions name them (case does not matter), holding the
// files' own bytes (JPEG, BMP, ICO). Each is decoded once, on first use,
// with the Windows Imaging Component, into a bitmap shared by every box
// that shows it for the life of the program.
#pragma once

#include "win32.h"

#include <string_view>

namespace runtime::win32 {

struct Picture
{
    HBITMAP bitmap = nullptr;  // 32-bit, top-down; nullptr when it cannot be decoded
    int width = 0, height = 0;
};

bool hasPicture(std::string_view name);
const Picture &picture(std::string_view name);

// Draws the picture at (x, y), each of its pixels as scale x scale device pixels.
void drawPicture(HDC dc, const Picture &picture, int x, int y, int scale);

// The icon of the given size (a standard one) of a picture that is an
// ICO file, from its ICON resource; nullptr when it is not one.
HICON pictureIcon(std::string_view name, int size);

} // namespace runtime::win32
