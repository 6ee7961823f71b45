#include "Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {

QPixmap pixmap(const QString& name, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(QStringLiteral(":/artwork/%1.svg").arg(name));
    QPixmap result(size * devicePixelRatio);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    renderer.render(&painter);
    painter.end();
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QIcon icon(const QString& name)
{
    QIcon result;
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        result.addPixmap(pixmap(name, QSize(side, side), 1.0));
    return result;
}

} // namespace Artwork
