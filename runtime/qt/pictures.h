// Pictures are embedded under :/pictures and looked up by name, without
// their extension ("leftpanel" finds leftpanel.jpg). Each is decoded once,
// on first use, into a pixmap in the screen's native pixel format, and
// shared by every box that shows it.
#pragma once

#include <QPixmap>
#include <QString>

namespace runtime::qt {

QString picturePath(const QString &name);  // empty when there is no such picture
QPixmap picture(const QString &name);      // null when there is no such picture

} // namespace runtime::qt
