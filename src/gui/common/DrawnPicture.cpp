#include "DrawnPicture.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <array>

namespace DrawnPicture {

namespace {

constexpr std::array<char, 4> kMagic{'K', 'P', 'X', '1'};
constexpr qint64 kHeaderSize = 12;
// Larger than anything drawn for a window; a damaged size must not ask for
// gigabytes.
constexpr quint32 kLargestSide = 4096;

} // namespace

bool write(const QImage& image, QIODevice& device)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::array<char, kHeaderSize> header{};
    std::copy(kMagic.begin(), kMagic.end(), header.begin());
    qToLittleEndian<quint32>(static_cast<quint32>(pixels.width()), header.data() + 4);
    qToLittleEndian<quint32>(static_cast<quint32>(pixels.height()), header.data() + 8);
    if (device.write(header.data(), kHeaderSize) != kHeaderSize)
        return false;
    // Rows of 32-bit pixels need no padding: the pixels are one block.
    QByteArray bytes(pixels.sizeInBytes(), Qt::Uninitialized);
    qToLittleEndian<quint32>(pixels.constBits(), pixels.width() * pixels.height(), bytes.data());
    return device.write(bytes) == bytes.size();
}

QImage read(QIODevice& device)
{
    std::array<char, kHeaderSize> header{};
    if (device.read(header.data(), kHeaderSize) != kHeaderSize ||
        !std::equal(kMagic.begin(), kMagic.end(), header.begin()))
        return {};
    const quint32 width = qFromLittleEndian<quint32>(header.data() + 4);
    const quint32 height = qFromLittleEndian<quint32>(header.data() + 8);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide ||
        device.size() != kHeaderSize + qint64{width} * height * 4)
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    auto* bits = reinterpret_cast<char*>(image.bits());
    if (image.isNull() || device.read(bits, image.sizeInBytes()) != image.sizeInBytes())
        return {};
    qFromLittleEndian<quint32>(bits, image.width() * image.height(), bits);
    return image;
}

} // namespace DrawnPicture
