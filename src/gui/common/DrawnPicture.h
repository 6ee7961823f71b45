#pragma once

#include <QImage>

class QIODevice;

// The pictures drawn while building, kept as their pixels: reading them
// needs no decoder and costs no more than the bytes. A picture is "KPX1",
// its width and height, then its premultiplied ARGB pixels row by row, all
// numbers 32-bit little-endian.
namespace DrawnPicture {

bool write(const QImage& image, QIODevice& device);
// A null image where the bytes are not a whole picture.
QImage read(QIODevice& device);

} // namespace DrawnPicture
