// The central display's three mode pictures. They share the ten warning
// ovals and differ only in which mode indicator is lit, so switching the
// dashboard's mode looks like one display changing state.
#ifndef MODEDISPLAYS_H
#define MODEDISPLAYS_H

#include <QImage>

namespace ModeDisplays {

enum class Mode { Normal, Auto, Pursuit };

QImage paint(Mode lit);  // 199 x 199

} // namespace ModeDisplays

#endif // MODEDISPLAYS_H
