#include "X11WindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef KELMO_HAVE_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::vector<xcb_atom_t> readAtoms(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 64), nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return atoms;
}

// Puts the atom first in the property's list, or takes it out.
void placeAtom(xcb_connection_t* connection, xcb_window_t window, const char* property, const char* value,
               bool wanted)
{
    const xcb_atom_t name = internAtom(connection, property);
    const xcb_atom_t atom = internAtom(connection, value);
    if (name == XCB_ATOM_NONE || atom == XCB_ATOM_NONE)
        return;
    std::vector<xcb_atom_t> atoms = readAtoms(connection, window, name);
    std::erase(atoms, atom);
    if (wanted)
        atoms.insert(atoms.begin(), atom);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, name, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
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
    // Window managers that know no toolbars go on to the types Qt gave.
    placeAtom(connection, id, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_TOOLBAR", inTray);
    // Without a tray the taskbar entry is the way back to a minimised window.
    placeAtom(connection, id, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", inTray);
#else
    (void)window;
    (void)inTray;
#endif
}
