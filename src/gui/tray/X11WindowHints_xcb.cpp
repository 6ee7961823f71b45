#include "X11WindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace {

constexpr const char* kAtomNames[] = {"_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_TOOLBAR",
                                      "_NET_WM_STATE",       "_NET_WM_STATE_SKIP_TASKBAR",
                                      "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SHADED"};

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return x11->connection();
}

std::vector<xcb_atom_t> readAtoms(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return atoms;
}

struct AtomInList {
    xcb_atom_t property;
    xcb_atom_t value;
};

// Atoms the server did not give are left alone.
bool given(const AtomInList& place)
{
    return place.property != XCB_ATOM_NONE && place.value != XCB_ATOM_NONE;
}

// Puts each value first in its property's list, or takes it out; the lists
// are read all at once.
void placeAtoms(xcb_connection_t* connection, xcb_window_t window, std::initializer_list<AtomInList> asked,
                bool wanted)
{
    std::vector<AtomInList> places;
    std::copy_if(asked.begin(), asked.end(), std::back_inserter(places), given);
    std::vector<xcb_get_property_cookie_t> cookies;
    for (const AtomInList& place : places)
        cookies.push_back(xcb_get_property(connection, 0, window, place.property, XCB_ATOM_ATOM, 0, 64));
    for (std::size_t i = 0; i < places.size(); ++i) {
        std::vector<xcb_atom_t> atoms = readAtoms(connection, cookies[i]);
        std::erase(atoms, places[i].value);
        if (wanted)
            atoms.insert(atoms.begin(), places[i].value);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, places[i].property, XCB_ATOM_ATOM, 32,
                            static_cast<std::uint32_t>(atoms.size()), atoms.data());
    }
}

// Puts each value in front of its property's list without reading it:
// only for lists that cannot hold the value yet.
void prependAtoms(xcb_connection_t* connection, xcb_window_t window, std::initializer_list<AtomInList> asked)
{
    for (const AtomInList& place : asked)
        if (given(place))
            xcb_change_property(connection, XCB_PROP_MODE_PREPEND, window, place.property, XCB_ATOM_ATOM, 32,
                                1, &place.value);
}

struct HintTarget {
    xcb_connection_t* connection = nullptr;
    xcb_window_t id = XCB_WINDOW_NONE;
};

// The connection and native window the hints go to: none off X11, before the
// window is made, or where the server did not name every atom asked for.
HintTarget hintTarget(const QWidget& window, const std::vector<xcb_atom_t>& names)
{
    xcb_connection_t* connection = x11Connection();
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    if (!connection || id == XCB_WINDOW_NONE || names.size() != std::size(kAtomNames))
        return {};
    return {connection, id};
}

enum class StateChange : std::uint32_t { Remove = 0, Add = 1 };

// Asks the window manager to add or remove up to two states of a mapped
// window.
void changeStates(xcb_connection_t* connection, xcb_window_t window, StateChange change,
                  xcb_atom_t netWmState, xcb_atom_t first, xcb_atom_t second)
{
    constexpr std::uint32_t kFromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = netWmState;
    message.data.data32[0] = static_cast<std::uint32_t>(change);
    message.data.data32[1] = first;
    message.data.data32[2] = second;
    message.data.data32[3] = kFromApplication;
    // The message goes to the root of the window's own screen.
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return;
    xcb_send_event(connection, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    std::free(geometry);
}

} // namespace

X11WindowHints::X11WindowHints()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    for (const char* name : kAtomNames)
        pendingAtoms.push_back(
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name).sequence);
    xcb_flush(connection);
}

X11WindowHints::~X11WindowHints()
{
    if (xcb_connection_t* connection = x11Connection())
        for (const unsigned int request : pendingAtoms)
            xcb_discard_reply(connection, request);
}

const std::vector<std::uint32_t>& X11WindowHints::holeAtome()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection || pendingAtoms.empty())
        return atoms;
    for (const unsigned int request : pendingAtoms) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, {request}, nullptr);
        atoms.push_back(reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
        std::free(reply);
    }
    pendingAtoms.clear();
    return atoms;
}

void X11WindowHints::beforeMap(const QWidget& window, bool inTray)
{
    const std::vector<std::uint32_t>& names = holeAtome();
    const auto [connection, id] = hintTarget(window, names);
    if (!connection)
        return;
    // Window managers that know no toolbars go on to the types Qt gave; and
    // without a tray the taskbar entry is the way back to a minimised window.
    const std::initializer_list<AtomInList> hints = {{names[0], names[1]}, {names[2], names[3]}};
    if (id == hintedWindow) {
        placeAtoms(connection, id, hints, inTray);
        return;
    }
    // A native window new to us carries Qt's hints alone, so ours need not
    // be looked for: reading the lists would hold up its first map.
    hintedWindow = id;
    if (inTray)
        prependAtoms(connection, id, hints);
}

void X11WindowHints::sendNow()
{
    if (xcb_connection_t* connection = x11Connection())
        xcb_flush(connection);
}

void X11WindowHints::repeatStates(const QWidget& window, bool inTray)
{
    const std::vector<std::uint32_t>& names = holeAtome();
    const auto [connection, id] = hintTarget(window, names);
    if (!connection)
        return;
    const bool onTop = window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    const xcb_atom_t none = XCB_ATOM_NONE;
    changeStates(connection, id, StateChange::Add, names[2], onTop ? names[4] : none,
                 inTray ? names[3] : none);
    xcb_flush(connection);
}

void X11WindowHints::unshade(const QWidget& window)
{
    const std::vector<std::uint32_t>& names = holeAtome();
    const auto [connection, id] = hintTarget(window, names);
    if (!connection || !window.isVisible())
        return;
    changeStates(connection, id, StateChange::Remove, names[2], names[5], XCB_ATOM_NONE);
    xcb_flush(connection);
}
