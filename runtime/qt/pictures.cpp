// The picture store behind picture(): the embedded pictures, listed once
// (the core's rule finds a name's file among them), and each decoded once,
// on first use, kept for the life of the application and shared by every
// box that shows it. One that will not decode is named once on the error
// stream with the decoder's reason. Each decoding is told on the category
// "velk.pictures" (QT_LOGGING_RULES="velk.pictures.debug=true"): when a
// start is slow, which pictures it decoded, and in what order.
#include "pictures.h"
#include "platform/picturefiles.h"
#include "platform/diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLoggingCategory>

namespace runtime::qt {

namespace {

Q_LOGGING_CATEGORY(decodings, "velk.pictures", QtWarningMsg)

struct Pictures
{
    std::vector<std::string> files;
    QHash<QString, QPixmap> decoded;
};

Pictures &pictures()
{
    static Pictures *p = [] {
        auto *p = new Pictures;
        for (const QString &file : QDir(QStringLiteral(":/pictures")).entryList(QDir::Files))
            p->files.push_back(file.toStdString());
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
    if (image.isNull()) {
        // Once: a picture that failed is kept as failed. Its box stays bare.
        QString why = reader.errorString();
        if (!why.isEmpty())
            why[0] = why[0].toLower();
        printError(QStringLiteral("the built-in picture %1 cannot be shown: %2")
                           .arg(QFileInfo(path).fileName(), why).toStdString());
        return {};
    }
    // fromImage converts to the screen's native pixel format (in place, the
    // image being ours), so painting is a plain copy every time.
    return QPixmap::fromImage(std::move(image));
}

} // namespace

QString picturePath(const QString &name)
{
    const std::string file = pictureFile(pictures().files, name.toStdString());
    return file.empty() ? QString() : QStringLiteral(":/pictures/") + QString::fromStdString(file);
}

QPixmap picture(const QString &name)
{
    Pictures &p = pictures();
    const QString key = name.toLower();
    auto it = p.decoded.constFind(key);
    if (it != p.decoded.constEnd())
        return *it;
    const QString path = picturePath(key);
    QPixmap pixmap = path.isEmpty() ? QPixmap() : decode(path);
    if (!pixmap.isNull())
        qCDebug(decodings).noquote() << "decoded" << key;
    p.decoded.insert(key, pixmap);
    return pixmap;
}

} // namespace runtime::qt

