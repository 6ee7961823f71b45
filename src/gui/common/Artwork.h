#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures at the resolution of the screen, so they stay sharp
// on HiDPI screens. The usual sizes come drawn with the program; any other is
// drawn from the picture's SVG when first asked for.
namespace Artwork {

// `name` is the artwork's file name without ".svg".
QPixmap pixmap(const QString& name, QSize size, qreal devicePixelRatio);
// At the size the windows show it.
QPixmap pixmap(const QString& name, qreal devicePixelRatio);
// The size, at a scale of 1, at which the windows show the picture.
QSize shownSize(const QString& name);
QIcon icon(const QString& name);

} // namespace Artwork
