#include "pictures.h"

#include <QDir>
#include <QPixmapCache>

namespace runtime {

QString picturePath(const QString &name)
{
    const QStringList found = QDir(QStringLiteral(":/pictures")).entryList({name + QStringLiteral(".*")}, QDir::Files);
    return found.size() == 1 ? QStringLiteral(":/pictures/") + found.first() : QString();
}

QPixmap picture(const QString &name)
{
    // QPixmapCache rather than a static map: pixmaps must not outlive the application.
    const QString key = QStringLiteral("picture:") + name;
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(picturePath(name));
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

} // namespace runtime
