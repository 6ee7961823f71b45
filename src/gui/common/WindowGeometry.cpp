#include "WindowGeometry.h"

#include "Placement.h"
#include "core/common/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

WindowGeometry::WindowGeometry(QWidget& window_, int clientLeft_, int clientTop_)
    : QObject(&window_)
    , window(window_)
    , clientLeft(clientLeft_)
    , clientTop(clientTop_)
{
    frameSettled.setSingleShot(true);
    frameSettled.setInterval(200);
    connect(&frameSettled, &QTimer::timeout, this, &WindowGeometry::passeEin);
    window.installEventFilter(this);
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show)
        gezeigt();
    else if (event->type() == QEvent::Move)
        bewegt();
    return QObject::eventFilter(watched, event);
}

float WindowGeometry::left() const
{
    return Twips::current(window.frameGeometry().x(), setLeft,
                          static_cast<float>(Placement::twipsPerPixelX(&window)));
}

float WindowGeometry::top() const
{
    return Twips::current(window.frameGeometry().y(), setTop,
                          static_cast<float>(Placement::twipsPerPixelY(&window)));
}

// The user cannot resize the window, so once set, its client area is the one
// it was given, and only the frame around it may change. Reading the size
// back from the window would not do: under X11 the window reports its sizes
// late, and a late report in the middle of a roll would send the next steps
// astray. The frame is added as it is now: some window managers tell theirs
// only after the first rolls (XWayland under weston, one started later), and
// the client area then keeps its size.
float WindowGeometry::width() const
{
    return setClientWidth >= 0
               ? setClientWidth +
                     static_cast<float>(messeRahmen().width() * Placement::twipsPerPixelX(&window))
               : static_cast<float>(window.frameGeometry().width() * Placement::twipsPerPixelX(&window));
}

float WindowGeometry::height() const
{
    return setClientHeight >= 0
               ? setClientHeight +
                     static_cast<float>(messeRahmen().height() * Placement::twipsPerPixelY(&window))
               : static_cast<float>(window.frameGeometry().height() * Placement::twipsPerPixelY(&window));
}

QSize WindowGeometry::messeRahmen() const
{
    return window.frameGeometry().size() - window.size();
}

void WindowGeometry::move(float left, float top, float width, float height)
{
    const QRect frame = window.frameGeometry();
    const QSize decoration = messeRahmen();
    setLeft = left;
    setTop = top;
    setClientWidth = width - static_cast<float>(decoration.width() * Placement::twipsPerPixelX(&window));
    setClientHeight = height - static_cast<float>(decoration.height() * Placement::twipsPerPixelY(&window));
    const QPoint place(Twips::toPixels(left, Placement::twipsPerPixelX(&window)),
                       Twips::toPixels(top, Placement::twipsPerPixelY(&window)));
    const QSize outer(Twips::toPixels(width, Placement::twipsPerPixelX(&window)),
                      Twips::toPixels(height, Placement::twipsPerPixelY(&window)));
    if (place != frame.topLeft())
        window.move(place);
    const QSize client = (outer - decoration).expandedTo(QSize(1, 1));
    if (client != window.size())
        window.setFixedSize(client);
}

float WindowGeometry::outerHeight(int clientTwips) const
{
    return static_cast<float>(clientTwips + messeRahmen().height() * Placement::twipsPerPixelY(&window));
}

void WindowGeometry::keepPlace()
{
    const QPoint wanted(Twips::toPixels(left(), Placement::twipsPerPixelX(&window)),
                        Twips::toPixels(top(), Placement::twipsPerPixelY(&window)));
    if (wanted != window.frameGeometry().topLeft())
        window.move(wanted);
}

QPoint WindowGeometry::berechneOrt() const
{
    const QScreen* screen = window.screen();
    const QPoint screenOrigin = screen ? screen->geometry().topLeft() : QPoint();
    return screenOrigin + QPoint(Twips::toPixels(clientLeft, Placement::twipsPerPixelX(&window)),
                                 Twips::toPixels(clientTop, Placement::twipsPerPixelY(&window)));
}

// The client area goes to its place on the screen, whatever frame the window
// manager puts around it; where that does not fit, the window is moved in
// once it is shown and its frame is known.
void WindowGeometry::placeAtDesignedPlace(int clientWidth, int clientHeight)
{
    const QSize client = Placement::size(&window, clientWidth, clientHeight);
    fittedPlace = berechneOrt();
    window.setGeometry(QRect(fittedPlace, client));
    window.setFixedSize(client);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &WindowGeometry::beobachteBildschirm);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &WindowGeometry::passeEinSpaeter);
    for (QScreen* each : QGuiApplication::screens())
        beobachteBildschirm(each);
}

void WindowGeometry::gezeigt()
{
    sinceTaken.start();
    if (window.windowHandle())
        connect(window.windowHandle(), &QWindow::screenChanged, this, &WindowGeometry::passeEinSpaeter,
                Qt::UniqueConnection);
    passeEinSpaeter();
}

// A new frame comes with the window manager taking the window (again), and
// meanwhile Qt passes on places that are none (the window at 0,0 inside the
// frame), and a window manager busy elsewhere may place the window itself:
// the window is fitted in once they have stopped. Moved later, in a settled
// frame, to where it was not put, the window was moved by the user: from then
// on it stays where they leave it, and is only kept on its screen.
void WindowGeometry::bewegt()
{
    const QSize frame = messeRahmen();
    if (frame != knownFrame) {
        knownFrame = frame;
        frameSettled.start();
        sinceTaken.start();
        return;
    }
    if (window.isVisible() && !frameSettled.isActive() && sinceTaken.isValid() &&
        sinceTaken.elapsed() >= kTakingMs && window.geometry().topLeft() != fittedPlace)
        movedByUser = true;
}

void WindowGeometry::beobachteBildschirm(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &WindowGeometry::passeEinSpaeter);
    connect(screen, &QScreen::availableGeometryChanged, this, &WindowGeometry::passeEinSpaeter);
    passeEinSpaeter();
}

void WindowGeometry::passeEinSpaeter()
{
    QTimer::singleShot(0, this, &WindowGeometry::passeEin);
}

// A minimised window is left where it is: moving it would bring it back, and
// it is fitted in again when it is.
void WindowGeometry::passeEin()
{
    if (!window.isVisible() || window.isMinimized() || !window.screen())
        return;
    const QRect frame = window.frameGeometry();
    const QPoint clientOffset = window.geometry().topLeft() - frame.topLeft();
    const QPoint client = movedByUser ? window.geometry().topLeft() : berechneOrt();
    const QRect room = window.screen()->availableGeometry();
    QPoint wanted = client - clientOffset;
    wanted.setX(std::clamp(wanted.x(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())));
    wanted.setY(std::clamp(wanted.y(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
    fittedPlace = wanted + clientOffset;
    if (wanted != frame.topLeft())
        window.move(wanted);
}
