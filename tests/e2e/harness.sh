#!/usr/bin/env bash
# Drives the real Kelmo-Note as a person would: a virtual X server with a
# window manager (openbox) and a tray host (trayer), the mouse and keyboard
# through xdotool, and the files it leaves in a fresh working folder.
# Sourced by scenarios.sh; every function fails the scenario on its own.
set -euo pipefail

PROGRAM="${KELMO_PROGRAM:?set KELMO_PROGRAM to the kelmo-note executable}"
ARTIFACTS="${KELMO_E2E_ARTIFACTS:-$PWD}"
SCENARIO="${1:?usage: scenarios.sh SCENARIO}"
WORK="$(mktemp -d /tmp/kelmo-e2e-XXXXXX)"
HELPERS=()
PROGRAM_PID=""

fail() {
    echo "FAIL [$SCENARIO]: $*" >&2
    mkdir -p "$ARTIFACTS"
    import -display "$DISPLAY" -window root "$ARTIFACTS/e2e-$SCENARIO.png" 2>/dev/null &&
        echo "screenshot: $ARTIFACTS/e2e-$SCENARIO.png" >&2
    exit 1
}

stop_helpers() {
    local pid
    for pid in "${HELPERS[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Wait until they are gone, so that the next X server never meets a
    # dying one on the same display.
    for pid in "${HELPERS[@]}"; do wait "$pid" 2>/dev/null || true; done
    HELPERS=()
}

cleanup() {
    [ -n "$PROGRAM_PID" ] && kill -9 "$PROGRAM_PID" 2>/dev/null || true
    stop_helpers
    rm -rf "$WORK"
}
trap cleanup EXIT

# Waits until a command succeeds, for at most $1 seconds.
wait_for() {
    local seconds="$1"
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# A virtual screen with a window manager and a tray host. Starting them is
# tried afresh a few times: a tray host that does not come up is not what a
# scenario tests.
start_desktop() {
    local attempt
    for attempt in 1 2 3; do
        try_start_desktop && return 0
        echo "the desktop did not come up (attempt $attempt): $(tail -n 3 "$WORK/.desktop.log" 2>/dev/null)" >&2
        stop_helpers
    done
    fail "the desktop (Xvfb, openbox, trayer) did not start"
}

start_screen() {
    start_bare_screen || return 1
    start_window_manager openbox
}

start_window_manager() {
    "$@" >>"$WORK/.desktop.log" 2>&1 &
    WINDOW_MANAGER_PID=$!
    HELPERS+=($!)
    # A window mapped while the window manager is still taking over the
    # screen can be missed by it and stay unframed.
    wait_for 15 window_manager_running
}

# A window manager busy elsewhere takes what the program asks of it only
# later, in the order asked.
pause_window_manager() { kill -STOP "$WINDOW_MANAGER_PID"; }
resume_window_manager() {
    sleep 0.5
    kill -CONT "$WINDOW_MANAGER_PID"
}

window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# The virtual screen alone: no window manager, no tray.
start_bare_screen() {
    local fd_file="$WORK/.display"
    rm -f "$fd_file"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >"$WORK/.desktop.log" 2>&1 &
    SCREEN_PID=$!
    HELPERS+=($!)
    wait_for 20 test -s "$fd_file" || return 1
    export DISPLAY=":$(head -n1 "$fd_file")"
}

try_start_desktop() {
    start_screen || return 1
    start_trayer
}

start_trayer() {
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 26 --SetDockType true \
        >>"$WORK/.desktop.log" 2>&1 &
    TRAYER_PID=$!
    HELPERS+=($!)
    wait_for 15 xdotool search --classname '^trayer$' || return 1
    sleep 0.5
}

# A StatusNotifier desktop: the test's own session bus and openbox; the tray
# host, xfce4-panel with its tray plugin, comes and goes with start_panel and
# stop_panel.
start_status_notifier_desktop() {
    start_screen || fail "the virtual screen did not start: $(tail -n 3 "$WORK/.desktop.log" 2>/dev/null)"
    # The panel's settings come from here, read by the settings daemon the
    # bus starts, so the bus must know the folder too.
    export XDG_CONFIG_HOME="$WORK/.config"
    local settings="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
    mkdir -p "$settings"
    cp "$(dirname "${BASH_SOURCE[0]}")/xfce4-panel.xml" "$settings/"
    start_session_bus
}

start_session_bus() {
    export NO_AT_BRIDGE=1
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/.bus" 4>"$WORK/.bus.pid" ||
        fail "no session bus"
    HELPERS+=("$(cat "$WORK/.bus.pid")")
    export DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$WORK/.bus")"
}

# Xfce's window manager, which reads its settings through the session bus,
# with trayer as the tray.
start_xfwm4_desktop() {
    start_bare_screen || fail "the virtual screen did not start"
    export XDG_CONFIG_HOME="$WORK/.config"
    start_session_bus
    start_window_manager xfwm4 --compositor=off || fail "xfwm4 did not start: $(tail -n 3 "$WORK/.desktop.log")"
    start_trayer || fail "trayer did not start"
}

PANEL_PID=""
start_panel() {
    xfce4-panel --disable-wm-check >>"$WORK/.desktop.log" 2>&1 &
    PANEL_PID=$!
    HELPERS+=("$PANEL_PID")
    wait_for 20 watcher_there || fail "the StatusNotifier host did not start"
}

stop_panel() {
    kill "$PANEL_PID"
    wait "$PANEL_PID" 2>/dev/null || true
    wait_for 10 watcher_gone || fail "the StatusNotifier host did not go away"
    sleep 0.5
}

watcher_there() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher | grep -q true
}

watcher_gone() { ! watcher_there; }

# The bus name and object of the program's StatusNotifier item.
status_notifier_item() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        RegisteredStatusNotifierItems | grep -o "':[0-9.]*/[^']*'" | tr -d "'" | head -n1 | grep .
}

# The labels of the menu the item publishes, one a line, in menu order.
published_menu() {
    local item service path menu
    item="$(status_notifier_item)" || return 1
    service="${item%%/*}"
    path="/${item#*/}"
    menu="$(gdbus call --session --dest "$service" --object-path "$path" \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu |
        grep -o "'/[^']*'" | tr -d "'")"
    [ -n "$menu" ] && [ "$menu" != /NO_DBUSMENU ] || return 1
    gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.GetLayout -- 0 -1 '@as []' | grep -o "'label': <'[^']*'>" | cut -d"'" -f4
}

# The panel lies along the top of the screen and holds only the tray, so the
# one icon sits at its left end.
panel_icon_click() {
    xdotool mousemove 16 16 click "$1"
    sleep 0.7
}

# Whether the panel shows the icon's menu: its tray runs in a process of its
# own, named after the plugin wrapper, which opens the menu.
panel_menu_open() {
    local window
    for window in $(xdotool search --onlyvisible --class wrapper-2.0 2>/dev/null); do
        xwininfo -id "$window" | awk '/Height:/ {exit !($2 > 50)}' && return 0
    done
    return 1
}

# The window's state as the window manager keeps it: Normal, Iconic or
# Withdrawn.
wm_state() {
    xprop -id "$WINDOW" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'
}

# The hints of ours that go with a tray, each given once.
tray_hints_once() {
    local hints
    hints="$(xprop -id "$WINDOW" _NET_WM_WINDOW_TYPE _NET_WM_STATE)"
    [ "$(grep -o _NET_WM_WINDOW_TYPE_TOOLBAR <<<"$hints" | wc -l)" -eq 1 ] &&
        [ "$(grep -o _NET_WM_STATE_SKIP_TASKBAR <<<"$hints" | wc -l)" -eq 1 ]
}

# Whether the window keeps out of the taskbar, stays on top, and whether its
# title bar offers closing alone, as the window manager has taken them.
skips_taskbar() {
    xprop -id "$WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR
}

rolled_up() {
    xprop -id "$WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_SHADED
}
rolled_out() { ! rolled_up; }

stays_on_top() {
    xprop -id "$WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
}

only_closes() {
    local actions
    actions="$(xprop -id "$WINDOW" _NET_WM_ALLOWED_ACTIONS)" || return 1
    [[ $actions == *_NET_WM_ACTION_CLOSE* && $actions != *MINIMIZE* && $actions != *MAXIMIZE* ]]
}

start_kelmo() {
    (cd "$WORK" && exec "$PROGRAM" >"$WORK/.program.log" 2>&1) &
    PROGRAM_PID=$!
}

# The program's visible windows, as: ID WIDTH.
visible_windows() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^kelmo-note$' 2>/dev/null); do
        case "$(xdotool getwindowname "$id" 2>/dev/null)" in
        "Kelmo-Note notices" | "Find in all pages") continue ;;
        esac
        xwininfo -id "$id" | awk -v id="$id" '/Width:/ {print id, $2}'
    done
}

# The window of the program's notices, shown.
notice_window() {
    xdotool search --onlyvisible --name '^Kelmo-Note notices$' 2>/dev/null | head -n1 | grep .
}

# The main window, and the tray icon: the small window the tray host embeds.
main_window() {
    visible_windows | awk '$2 > 100 {print $1; found=1; exit} END {exit !found}'
}

tray_icon() {
    visible_windows | awk '$2 <= 64 {print $1; found=1; exit} END {exit !found}'
}

wait_for_window() {
    wait_for 15 main_window || fail "the main window did not appear"
    WINDOW="$(main_window)"
    wait_for 10 tray_icon || fail "the tray icon did not appear"
    # The program measures its window with the frame; wait until the window
    # manager has said how large the frame is.
    wait_for 5 frame_known || fail "the window manager did not frame the window"
    sleep 0.3
}

frame_known() {
    xprop -id "$WINDOW" _NET_FRAME_EXTENTS | grep -q '='
}

# Client-area geometry of a window: X Y WIDTH HEIGHT.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# Whether the main window has the keyboard. The window manager says so
# before the server has moved the focus, and the server before the program
# has heard it; a person's first key comes later too.
window_active() {
    local window
    window="$(main_window)" || return 1
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] &&
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && sleep 0.5
}

client_height_is() {
    [ "$(geometry "$WINDOW" | cut -d' ' -f4)" -eq "$1" ]
}

# Clicks at a place inside the main window's client area, in pixels.
click_at() {
    read -r x y _ _ <<<"$(geometry "$WINDOW")"
    xdotool mousemove $((x + $1)) $((y + $2)) click 1
    sleep 0.3
}

# The picture buttons by their designed places (96 DPI).
click_button() {
    local left
    case "$1" in
    first) left=0 ;; previous) left=40 ;; next) left=80 ;; last) left=120 ;;
    search) left=160 ;; delete) left=200 ;; minimize) left=240 ;;
    *) fail "no button $1" ;;
    esac
    click_at $((left + 20)) 204
}

tray_click() {
    local icon
    icon="$(tray_icon)" || fail "no tray icon"
    read -r x y w h <<<"$(geometry "$icon")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    case "$1" in
    right) xdotool click 3 ;;
    double) xdotool click --repeat 2 --delay 60 1 ;;
    esac
    sleep 0.5
}

# How many windows of the program are on the screen; its menu is one more.
shown_windows() {
    xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | wc -l
}

# Opens the tray menu and chooses an entry by its place: the keyboard walks
# from the top (Down) or the bottom (Up).
tray_menu() {
    local before
    before="$(shown_windows)"
    tray_click right
    wait_for 5 eval '[ "$(shown_windows)" -gt "$before" ]' || fail "a right click on the tray icon opened no menu"
    local key="$1" times="$2"
    for ((i = 0; i < times; i++)); do xdotool key "$key"; done
    xdotool key Return
    sleep 0.5
}

menu_end() { tray_menu Up 1; }
menu_options() { tray_menu Down 3; }

wait_for_end() {
    local deadline=$((SECONDS + 15))
    while kill -0 "$PROGRAM_PID" 2>/dev/null; do
        [ "$SECONDS" -ge "$deadline" ] && fail "the program did not end"
        sleep 0.1
    done
    wait "$PROGRAM_PID" || true
    PROGRAM_PID=""
}

type_text() {
    xdotool type --delay 30 "$1"
    sleep 0.2
}

# Record N (from 1) of the notebook, as hex.
record_hex() {
    dd if="$WORK/kel.kel" bs=2000 skip=$(($1 - 1)) count=1 status=none | od -An -v -tx1 | tr -d ' \n'
}

# The hex of a record holding `text` (printf escapes allowed), filled with blanks.
expected_record_hex() {
    local text_hex
    text_hex="$(printf "$1" | od -An -v -tx1 | tr -d ' \n')"
    local blanks=$((2000 - ${#text_hex} / 2))
    printf '%s' "$text_hex"
    printf '20%.0s' $(seq 1 "$blanks")
}

expect_record() {
    local got want
    got="$(record_hex "$1")"
    want="$(expected_record_hex "$2")"
    [ "$got" = "$want" ] || fail "record $1 is not \"$2\" filled with blanks: ${got:0:80}..."
}

expect_pages() {
    local size
    size="$(stat -c %s "$WORK/kel.kel")"
    [ "$size" -eq $(($1 * 2000)) ] || fail "the notebook holds $size bytes, not $1 pages"
}

expect_no_temp() {
    [ ! -e "$WORK/keltemp.kel" ] || fail "keltemp.kel was left behind"
}

pass() {
    echo "PASS [$SCENARIO]"
}
