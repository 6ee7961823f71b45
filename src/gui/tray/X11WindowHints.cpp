#include "X11WindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef KELMO_HAVE_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace {

// The atoms of the names, asked for all at once: each answer waited for one
// by one would be a round trip to the server before the window shows.
std::vector<xcb_atom_t> internAtoms(xcb_connection_t* connection, std::initializer_list<const char*> names)
{
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const char* name : names)
        cookies.push_back(
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
    std::vector<xcb_atom_t> atoms;
    for (const xcb_intern_atom_cookie_t cookie : cookies) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        atoms.push_back(reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
        std::free(reply);
    }
    return atoms;
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

// Puts each value first in its property's list, or takes it out; the lists
// are read all at once. Atoms the server did not give are left alone.
void placeAtoms(xcb_connection_t* connection, xcb_window_t window, std::initializer_list<AtomInList> asked,
                bool wanted)
{
    std::vector<AtomInList> places;
    std::copy_if(asked.begin(), asked.end(), std::back_inserter(places), [](const AtomInList& place) {
        return place.property != XCB_ATOM_NONE && place.value != XCB_ATOM_NONE;
    });
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

} // namespace
#endif

void X11WindowHints::beforeMap(const QWidget& window, bool inTray)
{
#ifdef KELMO_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11 || id == 0)
        return;
    xcb_connection_t* connection = x11->connection();
    const std::vector<xcb_atom_t> atoms =
        internAtoms(connection, {"_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_TOOLBAR", "_NET_WM_STATE",
                                 "_NET_WM_STATE_SKIP_TASKBAR"});
    // Window managers that know no toolbars go on to the types Qt gave; and
    // without a tray the taskbar entry is the way back to a minimised window.
    placeAtoms(connection, id, {{atoms[0], atoms[1]}, {atoms[2], atoms[3]}}, inTray);
#else
    (void)window;
    (void)inTray;
#endif
}

void X11WindowHints::sendNow()
{
#ifdef KELMO_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11)
        xcb_flush(x11->connection());
#endif
}
