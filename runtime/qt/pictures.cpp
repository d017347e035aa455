// The picture store behind picture(): an index of the embedded pictures by
// name, made once, and each picture decoded once, on first use, kept for
// the life of the application and shared by every box that shows it.
#include "pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace runtime::qt {

namespace {

struct Pictures
{
    QHash<QString, QString> paths;  // by lower-case name; empty when the name is ambiguous
    QHash<QString, QPixmap> decoded;
    QStringList decodes;
};

Pictures &pictures()
{
    static Pictures *p = [] {
        auto *p = new Pictures;
        // The folder is listed once: a name is looked up for every control
        // that shows a picture, in checking a description and in building it.
        // "name.*" is what finds a file, so a file answers to every part of
        // its name that ends before a dot.
        const QStringList files = QDir(QStringLiteral(":/pictures")).entryList(QDir::Files);
        for (const QString &file : files) {
            for (qsizetype dot = file.indexOf(QLatin1Char('.')); dot > 0; dot = file.indexOf(QLatin1Char('.'), dot + 1)) {
                const QString name = file.left(dot).toLower();
                p->paths.insert(name, p->paths.contains(name) ? QString() : QStringLiteral(":/pictures/") + file);
            }
        }
        // Pixmaps must not outlive the application.
        qAddPostRoutine([] { pictures().decoded.clear(); });
        return p;
    }();
    return *p;
}

QPixmap decode(const QString &path)
{
    // Only the reader of the picture's own format: left to guess, Qt would
    // load every image plugin to ask it about a BMP before trying its own
    // built-in reader.
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // fromImage converts to the screen's native pixel format (in place, the
    // image being ours), so painting is a plain copy every time.
    return QPixmap::fromImage(std::move(image));
}

} // namespace

QString picturePath(const QString &name)
{
    return pictures().paths.value(name.toLower());
}

QPixmap picture(const QString &name)
{
    Pictures &p = pictures();
    const QString key = name.toLower();
    auto it = p.decoded.constFind(key);
    if (it != p.decoded.constEnd())
        return *it;
    const QString path = p.paths.value(key);
    QPixmap pixmap = path.isEmpty() ? QPixmap() : decode(path);
    if (!pixmap.isNull())
        p.decodes << key;
    p.decoded.insert(key, pixmap);
    return pixmap;
}

QStringList decodedPictures()
{
    return pictures().decodes;
}

} // namespace runtime::qt
