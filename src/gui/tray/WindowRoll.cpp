#include "WindowRoll.h"

#include "core/tray/RollSteps.h"
#include "gui/common/Placement.h"
#include "gui/common/WindowGeometry.h"

#include <QCoreApplication>
#include <QPushButton>

WindowRoll::WindowRoll(WindowGeometry& geometry_, QPushButton& button_)
    : geometry(geometry_)
    , button(button_)
{}

void WindowRoll::rollUp(std::int16_t minHeight)
{
    button.setEnabled(false);
    rolle(static_cast<std::int16_t>(
        -RollSteps::up(geometry.height(), minHeight, Placement::twipsPerPixelY(button.window()))));
    if (!stopped)
        button.setEnabled(true);
}

void WindowRoll::rollDown(std::int16_t maxHeight)
{
    button.setEnabled(false);
    rolle(RollSteps::down(geometry.height(), maxHeight, Placement::twipsPerPixelY(button.window())));
    if (!stopped)
        button.setEnabled(true);
}

void WindowRoll::finish(float target)
{
    button.setEnabled(false);
    geometry.move(geometry.left(), geometry.top(), geometry.width(), target);
    button.setEnabled(true);
}

std::int16_t WindowRoll::minHeightFor(float target) const
{
    return RollSteps::minHeightFor(geometry.height(), target,
                                   static_cast<float>(Placement::twipsPerPixelY(button.window())));
}

std::int16_t WindowRoll::maxHeightFor(float target) const
{
    return RollSteps::maxHeightFor(geometry.height(), target,
                                   static_cast<float>(Placement::twipsPerPixelY(button.window())));
}

// Each step re-reads the geometry, so a move by the user in between survives;
// the events between steps may also close the window, and then the closed
// window is left alone.
void WindowRoll::rolle(std::int16_t step)
{
    for (int i = 0; i < RollSteps::kCount && !stopped; ++i) {
        geometry.move(geometry.left(), geometry.top(), geometry.width(),
                      geometry.height() + static_cast<float>(step));
        QCoreApplication::processEvents();
    }
}
