#include "X11TrayOwnerWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* x)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = DefaultScreen(x11->display()); i > 0 && screens.rem; --i)
        xcb_screen_next(&screens);
    return screens.data->root;
}

std::uint32_t atom(xcb_connection_t* x, const QByteArray& name)
{
    auto* reply = xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(name.size()), name.constData()), nullptr);
    const std::uint32_t found = reply ? reply->atom : 0;
    std::free(reply);
    return found;
}

// Adds StructureNotify to what this connection already asks of `window`:
// Qt's own wishes for the root window must stay.
void watchStructure(xcb_connection_t* x, xcb_window_t window)
{
    auto* attributes = xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr);
    if (!attributes)
        return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_change_window_attributes(x, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
}

} // namespace

X11TrayOwnerWatch::X11TrayOwnerWatch(QObject* parent)
    : QObject(parent)
{
    xcb_connection_t* x = connection();
    if (!x)
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    trayAtom = atom(x, "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(x11->display())));
    managerAtom = atom(x, "MANAGER");
    if (!trayAtom || !managerAtom)
        return;
    watchStructure(x, rootWindow(x));
    QCoreApplication::instance()->installNativeEventFilter(this);
    frageBesitzer();
}

X11TrayOwnerWatch::~X11TrayOwnerWatch()
{
    if (trayAtom && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11TrayOwnerWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == managerAtom && client->data.data32[1] == trayAtom)
            frageBesitzer();
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == currentOwner)
            frageBesitzer();
        break;
    default:
        break;
    }
    return false;
}

// The holder now, and a watch on its window's end.
void X11TrayOwnerWatch::frageBesitzer()
{
    xcb_connection_t* x = connection();
    auto* reply = xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, trayAtom), nullptr);
    const std::uint32_t now = reply ? reply->owner : 0;
    std::free(reply);
    if (now == currentOwner)
        return;
    currentOwner = now;
    if (currentOwner)
        watchStructure(x, currentOwner);
    emit ownerChanged();
}
