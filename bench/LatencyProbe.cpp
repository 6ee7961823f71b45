// Types into the window titled TITLE on the running X server, one key every
// INTERVAL milliseconds for SECONDS seconds, in bursts of BURST ms with IDLE
// ms between them, and says for each key how long it took until the window
// was drawn again (the Damage extension): "sent_ns latency_ms", with sent_ns
// on CLOCK_MONOTONIC. The window must have the keyboard.
// Usage: kelmo_latency_probe TITLE SECONDS INTERVAL BURST IDLE
#include "WindowTitle.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The window with the title, anywhere below `parent`.
xcb_window_t findWindow(xcb_connection_t* x, xcb_window_t parent, const std::string& title)
{
    auto* tree = xcb_query_tree_reply(x, xcb_query_tree(x, parent), nullptr);
    if (!tree)
        return XCB_NONE;
    xcb_window_t found = XCB_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && found == XCB_NONE; ++i)
        found = titleOf(x, children[i]) == title ? children[i] : findWindow(x, children[i], title);
    std::free(tree);
    return found;
}

// The key code that types `letter` in the server's keyboard map.
xcb_keycode_t keyFor(xcb_connection_t* x, xcb_keysym_t letter)
{
    const xcb_setup_t* setup = xcb_get_setup(x);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* map = xcb_get_keyboard_mapping_reply(
        x, xcb_get_keyboard_mapping(x, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr);
    xcb_keycode_t code = 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    for (int i = 0; i < count && code == 0; ++i)
        if (syms[i * map->keysyms_per_keycode] == letter)
            code = static_cast<xcb_keycode_t>(setup->min_keycode + i);
    std::free(map);
    return code;
}

// Waits for the window's next damage; false after `limit`.
bool waitForDamage(xcb_connection_t* x, std::uint8_t damageEvent, xcb_damage_damage_t damage,
                   std::chrono::milliseconds limit)
{
    const auto until = Clock::now() + limit;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool damaged = (event->response_type & 0x7f) == damageEvent;
            std::free(event);
            if (damaged) {
                xcb_damage_subtract(x, damage, XCB_NONE, XCB_NONE);
                xcb_flush(x);
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd wait{xcb_get_file_descriptor(x), POLLIN, 0};
        ::poll(&wait, 1, static_cast<int>(left));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s TITLE SECONDS INTERVAL_MS BURST_MS IDLE_MS\n", argv[0]);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_window_t window = findWindow(x, root, argv[1]);
    const auto* extension = xcb_get_extension_data(x, &xcb_damage_id);
    std::free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    if (window == XCB_NONE || !extension || !extension->present) {
        std::fprintf(stderr, "no window titled %s, or no Damage extension\n", argv[1]);
        return 1;
    }
    const xcb_damage_damage_t damage = xcb_generate_id(x);
    xcb_damage_create(x, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(x);
    const auto damageEvent = static_cast<std::uint8_t>(extension->first_event + XCB_DAMAGE_NOTIFY);
    waitForDamage(x, damageEvent, damage, std::chrono::milliseconds(200));

    const xcb_keycode_t key = keyFor(x, 'a');
    const auto interval = std::chrono::milliseconds(std::atoi(argv[3]));
    const auto burst = std::chrono::milliseconds(std::atoi(argv[4]));
    const auto idle = std::chrono::milliseconds(std::atoi(argv[5]));
    const auto end = Clock::now() + std::chrono::seconds(std::atoi(argv[2]));
    auto burstEnd = Clock::now() + burst;
    while (Clock::now() < end) {
        if (Clock::now() >= burstEnd) {
            std::this_thread::sleep_for(idle);
            burstEnd = Clock::now() + burst;
        }
        const auto sent = Clock::now();
        xcb_test_fake_input(x, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(x, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(x);
        const bool drawn = waitForDamage(x, damageEvent, damage, std::chrono::milliseconds(5000));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
        std::printf(
            "%lld %.2f\n",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(sent.time_since_epoch()).count()),
            drawn ? ms : 5000.0);
        std::this_thread::sleep_until(sent + interval);
    }
    xcb_disconnect(x);
    return 0;
}
