// The pictures the program carries: RCDATA resources of the executable,
// named as the descriptions name them (case does not matter), holding the
// files' own bytes (JPEG, BMP, ICO). Each is decoded once, on first use,
// with the Windows Imaging Component, into pixels shared by every box
// that shows it for the life of the program.
#pragma once

#include "animation/framedecoder.h"
#include "win32.h"

#include <string_view>

namespace runtime::win32 {

bool hasPicture(std::string_view name);
// Its pixels as the core's frames hold them; none when it cannot be decoded,
// which is then said once on the error stream, with the decoder's reason.
const Image &picture(std::string_view name);

// The icon of the given size (a standard one) of a picture that is an
// ICO file, from its ICON resource; nullptr when it is not one.
HICON pictureIcon(std::string_view name, int size);

} // namespace runtime::win32
