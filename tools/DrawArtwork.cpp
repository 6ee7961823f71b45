// Draws one of our SVG pictures into a PNG of the given size in pixels, for
// the icon theme and for the pictures the windows show at the usual screen
// scales: draw-artwork INPUT.svg WIDTHxHEIGHT OUTPUT.png (or SIZE for a square)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
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
        std::fprintf(stderr, "usage: %s INPUT.svg WIDTHxHEIGHT OUTPUT.png\n", argv[0]);
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
    return image.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
