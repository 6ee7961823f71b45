#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures, drawn from its own SVG artwork at the resolution
// of the screen, so they stay sharp on HiDPI screens.
namespace Artwork {

// `name` is the artwork's file name without ".svg".
QPixmap pixmap(const QString& name, QSize size, qreal devicePixelRatio);
QIcon icon(const QString& name);

} // namespace Artwork
