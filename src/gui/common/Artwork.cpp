#include "Artwork.h"

#include "ArtworkSizes.h"

#include "DrawnPicture.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace Artwork {

namespace {

// Qt's SVG image plugin is loaded only here, for sizes that did not come
// drawn with the program.
QImage drawFromSvg(const QString& name, QSize pixels)
{
    QImageReader reader(QStringLiteral(":/artwork/%1.svg").arg(name), "svg");
    reader.setScaledSize(pixels);
    return reader.read();
}

// Where the pictures drawn for the usual sizes lie: in share/kelmo-note/
// beside the program's folder, as installed and as built. As files they are
// read when shown; built into the program, every size for every scale would
// be loaded and kept with it.
const QString& drawnFolder()
{
    static const QString folder =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kelmo-note/artwork/");
    return folder;
}

QImage readDrawn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return DrawnPicture::read(file);
}

// One key for the picture at one size in pixels and one icon mode.
QString cacheKey(const QString& name, QSize size, qreal devicePixelRatio, QIcon::Mode mode)
{
    const QSize pixels = size * devicePixelRatio;
    return QStringLiteral("kelmo-artwork/%1/%2x%3/%4")
        .arg(name)
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(static_cast<int>(mode));
}

QPixmap draw(const QString& name, QSize size, qreal devicePixelRatio)
{
    const QSize pixels = size * devicePixelRatio;
    const QString drawn =
        drawnFolder() + QStringLiteral("%1-%2x%3.kpx").arg(name).arg(pixels.width()).arg(pixels.height());
    QImage image = readDrawn(drawn);
    if (image.isNull())
        image = drawFromSvg(name, pixels);
    QPixmap result = QPixmap::fromImage(image);
    if (result.isNull()) {
        // Without Qt's SVG plugin the picture stays empty rather than missing.
        result = QPixmap(pixels);
        result.fill(Qt::transparent);
    }
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

// The pictures shown again and again are kept once read: the rings and
// stitches of the binding, the buttons, the tray icon. Larger ones are asked
// for once, the window's icon by the window manager, and whoever asked keeps
// them; a copy here would only take memory (the window icon's 128 pixels
// alone are 64 KiB).
constexpr int kLargestKept = 48;

bool keptOnceRead(QSize size)
{
    return size.width() <= kLargestKept && size.height() <= kLargestKept;
}

} // namespace

QSize shownSize(const QString& name)
{
    for (const ArtworkSizes::Entry& entry : ArtworkSizes::kShown)
        if (name == QLatin1String(entry.name))
            return {entry.width, entry.height};
    return {};
}

QPixmap pixmap(const QString& name, qreal devicePixelRatio)
{
    return pixmap(name, shownSize(name), devicePixelRatio);
}

QPixmap pixmap(const QString& name, QSize size, qreal devicePixelRatio)
{
    const QString key = cacheKey(name, size, devicePixelRatio, QIcon::Normal);
    QPixmap result;
    if (!QPixmapCache::find(key, &result)) {
        result = draw(name, size, devicePixelRatio);
        if (keptOnceRead(size))
            QPixmapCache::insert(key, result);
    }
    // Kept from a screen whose scale gave the same pixels.
    if (result.devicePixelRatio() != devicePixelRatio)
        result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

namespace {

QSize squareIn(QSize space)
{
    const int side = std::min(space.width(), space.height());
    return {side, side};
}

// Gives the artwork at whatever size and resolution the icon is asked for,
// when it is asked for. Icons are square: in a space of
// another shape the icon is as large as fits, centred, as Qt's own are; a
// tray slot 22 wide and 24 high gets the 22 by 22 icon, not a stretched one.
class ArtworkIconEngine : public QIconEngine {
public:
    explicit ArtworkIconEngine(const QString& name)
        : pictureName(name)
    {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QRect square(QPoint(), squareIn(rect.size()));
        square.moveCenter(rect.center());
        painter->drawPixmap(square, zeichne(square.size(), mode, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        return zeichne(squareIn(size), mode, 1.0);
    }
    // QIcon::pixmap asks in device pixels, the size already multiplied by
    // the scale.
    QPixmap scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize space = scale > 0 ? (QSizeF(pixels) / scale).toSize() : pixels;
        return zeichne(squareIn(space), mode, scale);
    }
    QIconEngine* clone() const override { return new ArtworkIconEngine(pictureName); }
    QString key() const override { return QStringLiteral("kelmo-artwork"); }

private:
    // The icon at `size` in device-independent pixels on a screen of `scale`.
    QPixmap zeichne(QSize size, QIcon::Mode mode, qreal scale) const
    {
        QPixmap result = Artwork::pixmap(pictureName, size, scale);
        if (mode == QIcon::Normal)
            return result;
        const QString key = cacheKey(pictureName, size, scale, mode);
        if (!QPixmapCache::find(key, &result)) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
            QPixmapCache::insert(key, result);
        }
        return result;
    }

    QString pictureName;
};

} // namespace

QIcon icon(const QString& name)
{
    return QIcon(new ArtworkIconEngine(name));
}

} // namespace Artwork
