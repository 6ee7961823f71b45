#include "Placement.h"

#include "core/common/Twips.h"

#include <QFont>
#include <QScreen>
#include <QWidget>

namespace Placement {
namespace {

constexpr double kDefaultDpi = 96.0;
constexpr int kDesignedPointSize = 8;

} // namespace

double twipsPerPixelX(const QWidget* widget)
{
    return Twips::perPixel(widget->screen() ? widget->screen()->logicalDotsPerInchX() : kDefaultDpi);
}

double twipsPerPixelY(const QWidget* widget)
{
    return Twips::perPixel(widget->screen() ? widget->screen()->logicalDotsPerInchY() : kDefaultDpi);
}

void place(QWidget* widget, int left, int top, int width, int height)
{
    const double x = twipsPerPixelX(widget);
    const double y = twipsPerPixelY(widget);
    widget->setGeometry(Twips::toPixels(left, x), Twips::toPixels(top, y), Twips::toPixels(width, x),
                        Twips::toPixels(height, y));
}

QSize size(const QWidget* widget, int width, int height)
{
    return {Twips::toPixels(width, twipsPerPixelX(widget)), Twips::toPixels(height, twipsPerPixelY(widget))};
}

QFont designedFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Arial Narrow")});
    font.setPointSize(kDesignedPointSize);
    return font;
}

void centreOnScreen(QWidget* window)
{
    if (!window->screen())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(window->screen()->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace Placement
