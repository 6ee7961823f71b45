#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

// A window's title (WM_NAME), as the probes look for a program's window.
inline std::string titleOf(xcb_connection_t* x, xcb_window_t window)
{
    auto* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    if (!reply)
        return {};
    std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                      static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return title;
}
