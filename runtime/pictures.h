// Pictures are embedded under :/pictures and looked up by name, without
// their extension ("leftpanel" finds leftpanel.jpg). Each is decoded once
// and shared by every box that shows it.
#pragma once

#include <QPixmap>
#include <QString>

namespace runtime {

QString picturePath(const QString &name);  // empty when there is no such picture
QPixmap picture(const QString &name);      // null when there is no such picture

} // namespace runtime
