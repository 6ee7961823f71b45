#pragma once

class QFont;
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

// The font the designed places were made for. Their texts were measured in a
// narrower face than this platform's usual one; a narrow face of the same
// size keeps every text whole in its designed place, at any resolution.
QFont designedFont();

// Puts a window in the middle of its screen.
void centreOnScreen(QWidget* window);

} // namespace Placement
