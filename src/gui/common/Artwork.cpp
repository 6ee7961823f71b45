#include "Artwork.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
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

namespace {

// Draws the artwork at whatever size and resolution the icon is asked for,
// when it is asked for, and keeps what it drew.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(const QString& name)
        : name_(name)
    {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QString key = QStringLiteral("%1/%2x%3@%4/%5")
                                .arg(name_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(scale)
                                .arg(static_cast<int>(mode));
        QPixmap result;
        if (QPixmapCache::find(key, &result))
            return result;
        result = Artwork::pixmap(name_, size, scale);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        QPixmapCache::insert(key, result);
        return result;
    }
    QIconEngine* clone() const override { return new SvgIconEngine(name_); }
    QString key() const override { return QStringLiteral("kelmo-svg"); }

private:
    QString name_;
};

} // namespace

QIcon icon(const QString& name)
{
    return QIcon(new SvgIconEngine(name));
}

} // namespace Artwork
