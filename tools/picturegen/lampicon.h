// The two smallest pictures: the lit console lamp that every lamp box shows,
// and the application icon, drawn pixel by pixel as palette indices because
// its exact pixels are part of what the program promises. The desktop's
// larger icons are that icon with every pixel repeated, so they stay as
// crisp as the original.
#ifndef LAMPICON_H
#define LAMPICON_H

#include <QImage>

namespace LampIcon {

QImage lamp();  // 15 x 13, a glowing red disc
QImage icon();  // 32 x 32, Format_Indexed8: 0 black, 1 red, 2 dark red
// icon() enlarged to size x size, size a whole multiple of 32, each pixel
// becoming a square block of its colour; same palette.
QImage icon(int size);

} // namespace LampIcon

#endif // LAMPICON_H
