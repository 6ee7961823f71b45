// Starts a program under the running X server and says when its window was
// mapped and first drawn, and how much CPU time and resident memory it had
// taken a second later: "map_ms paint_ms cpu_ms rss_kib".
// Usage: kelmo_startup_probe TITLE PROGRAM [ARGUMENTS...]
#include "WindowTitle.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The window with `title` below `parent`, or 0; window managers put it into
// a frame of their own.
xcb_window_t findTitled(xcb_connection_t* x, xcb_window_t parent, const std::string& title, int depth = 0)
{
    if (titleOf(x, parent) == title)
        return parent;
    if (depth == 3)
        return 0;
    auto* tree = xcb_query_tree_reply(x, xcb_query_tree(x, parent), nullptr);
    if (!tree)
        return 0;
    xcb_window_t found = 0;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
        found = findTitled(x, children[i], title, depth + 1);
    std::free(tree);
    return found;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// The time the scheduler gave all of the program's threads, in nanoseconds
// rather than the clock ticks of /proc/PID/stat.
double cpuMilliseconds(pid_t pid)
{
    double total = 0;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long nanoseconds = 0;
        if (schedstat >> nanoseconds)
            total += static_cast<double>(nanoseconds) / 1e6;
    }
    return total;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &events);
    const auto* damageExtension = xcb_get_extension_data(x, &xcb_damage_id);
    auto* version = xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr);
    std::free(version);
    xcb_flush(x);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[2], argv + 2);
        ::_exit(127);
    }

    double mapped = -1;
    double painted = -1;
    xcb_window_t client = 0;
    while (painted < 0 && millisecondsSince(start) < 20000) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        const int type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY && !client) {
            // Timed when the event comes, and looked for only in the window
            // just mapped: the walk through the windows must not count as
            // the program's time.
            const double now = millisecondsSince(start);
            client = findTitled(x, reinterpret_cast<xcb_map_notify_event_t*>(event)->window, title);
            if (client) {
                mapped = now;
                xcb_damage_create(x, xcb_generate_id(x), client, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(x);
            }
        } else if (damageExtension && type == damageExtension->first_event + XCB_DAMAGE_NOTIFY) {
            painted = millisecondsSince(start);
        }
        std::free(event);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::printf("%.1f %.1f %.1f %ld\n", mapped, painted, cpuMilliseconds(pid), residentKiB(pid));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    return mapped < 0 || painted < 0 ? 1 : 0;
}
