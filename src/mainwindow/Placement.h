#pragma once

class QWidget;
class QSize;

// Places windows and controls by their designed twips, at the resolution of
// the screen they are on.
namespace Placement {

double twipsPerPixelX(const QWidget* widget);
double twipsPerPixelY(const QWidget* widget);

// Sets the widget's place and size within its parent.
void place(QWidget* widget, int left, int top, int width, int height);
QSize size(const QWidget* widget, int width, int height);

// Puts a window in the middle of its screen.
void centreOnScreen(QWidget* window);

} // namespace Placement
