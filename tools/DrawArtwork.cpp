// Draws one of our SVG pictures at the given size in pixels, into a PNG for
// the icon theme or into the program's own pixels (.kpx) for the pictures the
// windows show at the usual screen scales:
// draw-artwork INPUT.svg WIDTHxHEIGHT OUTPUT.png|OUTPUT.kpx (or SIZE for a square)
#include "gui/common/DrawnPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

namespace {

QSize sizeFrom(const QString& text)
{
    const QStringList sides = text.split(QLatin1Char('x'));
    if (sides.size() == 1)
        return {sides[0].toInt(), sides[0].toInt()};
    return sides.size() == 2 ? QSize(sides[0].toInt(), sides[1].toInt()) : QSize();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INPUT.svg WIDTHxHEIGHT OUTPUT.png|OUTPUT.kpx\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const QSize size = sizeFrom(QString::fromLatin1(argv[2]));
    if (!renderer.isValid() || size.isEmpty())
        return 1;
    // As the program draws it: premultiplied, the whole picture stretched
    // over the whole image.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString output = QString::fromLocal8Bit(argv[3]);
    if (!output.endsWith(QLatin1String(".kpx")))
        return image.save(output) ? 0 : 1;
    QSaveFile file(output);
    return file.open(QIODevice::WriteOnly) && DrawnPicture::write(image, file) && file.commit() ? 0 : 1;
}
