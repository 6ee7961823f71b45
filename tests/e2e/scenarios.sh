#!/usr/bin/env bash
# End-to-end scenarios: scenarios.sh NAME runs one of them.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

page_file() {
    # Records given as printf texts, each filled with blanks to 2000 bytes.
    : >"$WORK/kel.kel"
    local text
    for text in "$@"; do
        printf "$text" >"$WORK/.record"
        truncate -s 2000 "$WORK/.record"
        tr '\0' ' ' <"$WORK/.record" | head -c 2000 >>"$WORK/kel.kel"
    done
}

# A click into the page, the caret to the end of its text, and typing.
type_at_page_end() {
    click_at 200 150
    xdotool key ctrl+End
    type_text "$1"
}

scenario_type_and_end() {
    start_desktop
    # A notebook's folder is no place to load the program's libraries from.
    touch "$WORK/libQt6Core.so.6" "$WORK/libxcb.so.1"
    start_kelmo
    wait_for_window
    # What only printing or odd sizes need is loaded when they come.
    if grep -E 'libQt6PrintSupport|libQt6Svg' "/proc/$PROGRAM_PID/maps"; then
        cat "$WORK/.program.log";         fail "Qt's print support or SVG library was loaded at start"
    fi
    # Wherever a click lands in the page, what is typed goes onto the page.
    click_at 200 40
    type_text "Hello"
    click_at 150 110
    xdotool key Return
    type_text "World"
    click_at 100 160
    type_text "!"
    xdotool key ctrl+End
    type_text "?"
    menu_end
    wait_for_end
    expect_pages 1
    expect_record 1 'Hello\r\nWorld!?'
    expect_no_temp
}

scenario_close_box() {
    start_desktop
    page_file "page one"
    start_kelmo
    wait_for_window
    click_at 200 150
    type_text " closed"
    xdotool key alt+F4
    wait_for_end
    expect_record 1 'page one closed'
    expect_no_temp
}

scenario_sigterm() {
    start_desktop
    # Ended while the message about a part page at the start is up, it ends
    # and leaves the notebook as it was.
    page_file "page one"
    printf 'part' >>"$WORK/kel.kel"
    cp "$WORK/kel.kel" "$WORK/.before"
    start_kelmo
    wait_for 15 xdotool search --onlyvisible --name '^Kelmo Note$' || fail "no message about the part page"
    kill -TERM "$PROGRAM_PID"
    wait_for_end
    cmp -s "$WORK/kel.kel" "$WORK/.before" || fail "ending during the start changed the notebook"
    page_file "page one"
    start_kelmo
    wait_for_window
    click_at 200 150
    type_text " terminated"
    kill -TERM "$PROGRAM_PID"
    wait_for_end
    expect_record 1 'page one terminated'
    expect_no_temp
}

scenario_next_and_delete() {
    start_desktop
    page_file "one" "two"
    start_kelmo
    wait_for_window
    click_button last
    click_button next
    click_at 100 40
    type_text "three"
    click_button previous
    click_button delete
    wait_for 5 xdotool search --onlyvisible --name '^Achtung!$' || fail "no question before deleting"
    xdotool key Escape
    sleep 0.3
    click_button delete
    wait_for 5 xdotool search --onlyvisible --name '^Achtung!$' || fail "no question before deleting"
    xdotool key Return
    sleep 0.3
    menu_end
    wait_for_end
    expect_pages 2
    expect_record 1 'one'
    expect_record 2 'three'
}

scenario_all_bytes() {
    start_desktop
    for ((i = 0; i < 256; i++)); do printf "\\x$(printf %02x "$i")"; done >"$WORK/kel.kel"
    head -c 1744 /dev/zero | tr '\0' ' ' >>"$WORK/kel.kel"
    page_file_tail="$(mktemp)"
    printf 'second' >"$page_file_tail"
    truncate -s 2000 "$page_file_tail"
    cat "$page_file_tail" >>"$WORK/kel.kel"
    rm -f "$page_file_tail"
    cp "$WORK/kel.kel" "$WORK/.before"
    start_kelmo
    wait_for_window
    menu_end
    wait_for_end
    cmp -s "$WORK/kel.kel" "$WORK/.before" || fail "the notebook changed without typing"
}

scenario_start_hidden() {
    start_desktop
    printf '\x01\x00' >"$WORK/optionen.kel"
    start_kelmo
    wait_for 10 tray_icon || fail "the tray icon did not appear"
    sleep 1
    [ -z "$(main_window)" ] || fail "the window is visible after a hidden start"
    tray_click double
    wait_for 5 main_window || fail "a double click on the tray icon did not show the window"
    WINDOW="$(main_window)"
    menu_end
    wait_for_end
}

scenario_search() {
    start_desktop
    page_file "buy milk"
    start_kelmo
    wait_for_window
    read -r _ _ _ short <<<"$(geometry "$WINDOW")"
    [ "$short" -eq 225 ] || fail "the window's client area is $short pixels high, not the designed 225"
    click_button search
    # Down to the search panel's bottom edge (4575 twips), whatever the frame;
    # the roll takes its 299 steps, longer on a busy machine.
    wait_for 10 client_height_is 305 ||
        fail "the window rolled down to $(geometry "$WINDOW" | cut -d' ' -f4) pixels, not to the panel's 305"
    click_at 108 253
    type_text "milk"
    click_at 204 284
    type_text "tea"
    click_button search
    wait_for 10 client_height_is "$short" ||
        fail "the window rolled up to $(geometry "$WINDOW" | cut -d' ' -f4) pixels, not $short"
    menu_end
    wait_for_end
    expect_record 1 'buy tea'
}

scenario_options() {
    start_desktop
    page_file "Aa Bb Cc"
    start_kelmo
    wait_for_window
    read -r x y _ _ <<<"$(geometry "$WINDOW")"
    import -window root -crop "200x60+$((x + 34))+$((y + 2))" "$WORK/.before.png"
    menu_options
    wait_for 5 xdotool search --onlyvisible --name '^Options$' || fail "the options dialog did not open"
    local dialog
    dialog="$(xdotool search --onlyvisible --name '^Options$' | head -n1)"
    read -r dx dy _ _ <<<"$(geometry "$dialog")"
    xdotool mousemove $((dx + 30)) $((dy + 130)) click 1
    for ((i = 0; i < 5; i++)); do xdotool key Down; done
    sleep 0.5
    import -window root -crop "200x60+$((x + 34))+$((y + 2))" "$WORK/.after.png"
    cmp -s "$WORK/.before.png" "$WORK/.after.png" && fail "picking 14 points did not change the editor"
    # Escape in the open list closes the list alone, then the dialog.
    xdotool key alt+Down
    sleep 0.5
    xdotool key Escape
    sleep 0.5
    xdotool search --onlyvisible --name '^Options$' >/dev/null || fail "Escape in an open list closed the dialog"
    xdotool windowactivate --sync "$dialog" key alt+F4
    sleep 0.5
    [ "$(od -An -tx1 -j128 -N2 "$WORK/optionen.kel" | tr -d ' ')" = "0500" ] ||
        fail "optionen.kel does not hold size index 5"
    [ "$(stat -c %s "$WORK/optionen.kel")" -eq 258 ] || fail "optionen.kel is not 258 bytes long"
    menu_end
    wait_for_end
}

scenario_second_copy() {
    start_desktop
    page_file "first copy"
    start_kelmo
    wait_for_window
    local first="$PROGRAM_PID"
    click_at 200 150
    type_text " kept"
    (cd "$WORK" && timeout 10 "$PROGRAM" >/dev/null 2>&1) || fail "the second copy did not end at once"
    kill -0 "$first" 2>/dev/null || fail "the first copy ended"
    # A copy that cannot reach the first (another runtime folder, through a
    # link to the folder) says the notebook is open elsewhere and ends.
    mkdir -m 700 "$WORK/.othertmp"
    ln -s "$WORK" "$WORK/.linked"
    (cd "$WORK/.linked" && XDG_RUNTIME_DIR="$WORK/.othertmp" exec timeout 20 "$PROGRAM" >/dev/null 2>&1) &
    local third=$!
    wait_for 10 xdotool search --onlyvisible --name '^Kelmo Note$' || fail "the third copy said nothing"
    xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Kelmo Note$' | head -n1)" key Return
    wait "$third" || fail "the third copy did not end"
    kill -0 "$first" 2>/dev/null || fail "the first copy ended"
    menu_end
    wait_for_end
    expect_record 1 'first copy kept'
}

# On a StatusNotifier host that stops and starts again: the menu is the
# icon's own, the icon follows the host, and the window is never out of reach.
scenario_status_notifier() {
    start_status_notifier_desktop
    page_file "page"
    start_panel
    start_kelmo
    wait_for 15 main_window || fail "the main window did not appear"
    WINDOW="$(main_window)"
    wait_for 5 frame_known || fail "the window manager did not frame the window"
    wait_for 10 status_notifier_item || fail "the tray icon did not appear on the StatusNotifier host"
    sleep 1
    [ "$(published_menu | tr '\n' '|')" = "Minimize|Maxsimize|Options|Print|About Kelmo-Note|Find in all pages...|End|" ] ||
        fail "the published menu is not the popup menu: $(published_menu | tr '\n' '|')"
    skips_taskbar || fail "with a tray the window has a taskbar entry"
    tray_hints_once || fail "the window's hints are not given once: $(xprop -id "$WINDOW" _NET_WM_WINDOW_TYPE _NET_WM_STATE)"
    only_closes || fail "the title bar offers more than closing: $(xprop -id "$WINDOW" _NET_WM_ALLOWED_ACTIONS)"
    # Where the window stands beside the panel; wherever it goes meanwhile,
    # it stands there again whenever the panel is back.
    local place
    place="$(geometry "$WINDOW" | cut -d' ' -f1,2)"

    click_button minimize
    wait_for 5 eval '[ -z "$(main_window)" ]' || fail "Minimize did not hide the window into the tray"
    panel_icon_click 1
    wait_for 5 main_window || fail "a click on the icon did not show the window"
    wait_for 5 window_active || fail "the shown window did not take the keyboard"
    tray_hints_once || fail "shown again, the window's hints are not given once: $(xprop -id "$WINDOW" _NET_WM_WINDOW_TYPE _NET_WM_STATE)"
    type_text "A"

    stop_panel
    wait_for 5 eval '! skips_taskbar' || fail "without a tray the window has no taskbar entry"
    click_button minimize
    wait_for 5 eval '[ "$(wm_state)" = Iconic ]' ||
        fail "without a tray, Minimize left the window $(wm_state), not minimised"
    start_panel
    wait_for 10 status_notifier_item || fail "the tray icon did not come back with the StatusNotifier host"
    sleep 1
    [ -z "$(main_window)" ] || fail "the minimised window came up by itself when the tray came back"
    panel_icon_click 1
    # Hidden while minimised, the window is shown in a native window made anew.
    wait_for 5 main_window || fail "a click on the icon did not bring the minimised window back"
    WINDOW="$(main_window)"
    wait_for 5 eval '[ "$(wm_state)" = Normal ]' || fail "a click on the icon did not undo the minimise"
    wait_for 5 eval '[ "$(geometry "$WINDOW" | cut -d" " -f1,2)" = "$place" ]' ||
        fail "the window came back at $(geometry "$WINDOW"), not at $place"
    wait_for 5 skips_taskbar || fail "with the tray back the window has a taskbar entry again"
    tray_hints_once || fail "with the tray back, the window's hints are not given once"
    wait_for 5 window_active || fail "the window did not take the keyboard back"
    type_text "B"

    # The tray goes and comes back while the window is open and has the keyboard,
    # each time with the window manager too busy to follow at once.
    pause_window_manager
    stop_panel
    resume_window_manager
    wait_for 5 eval '! skips_taskbar' || fail "without a tray the window has no taskbar entry"
    wait_for 5 stays_on_top || fail "without a tray the open window no longer stays on top"
    pause_window_manager
    start_panel
    wait_for 10 status_notifier_item || fail "the tray icon did not come back with the StatusNotifier host"
    resume_window_manager
    wait_for 5 window_active || fail "the open window lost the keyboard when the tray came back"
    wait_for 5 skips_taskbar || fail "with the tray back the open window has a taskbar entry"
    stays_on_top || fail "with the tray back the open window no longer stays on top"
    wait_for 5 eval '[ "$(geometry "$WINDOW" | cut -d" " -f1,2)" = "$place" ]' ||
        fail "with the tray back the window stands at $(geometry "$WINDOW"), not at $place"
    type_text "C"

    panel_icon_click 3
    wait_for 5 panel_menu_open || fail "a right click on the icon did not open its menu"
    xdotool key Up Return
    wait_for_end
    expect_record 1 'ABCpage'
}

scenario_xfwm4_beside_another_window() {
    start_xfwm4_desktop
    page_file "page"
    xmessage -geometry 500x300+100+300 "another program" >/dev/null 2>&1 &
    HELPERS+=($!)
    sleep 0.5
    start_kelmo
    wait_for_window
    click_at 150 40
    xdotool key ctrl+End
    # Each time the print dialog closes, the keyboard comes back to the page
    # and not to the other program's window below.
    local i
    for i in 1 2 3 4 5 6; do
        xdotool key ctrl+p
        wait_for 5 xdotool search --onlyvisible --name '^Print$' || fail "Ctrl+P did not open the print dialog"
        sleep 0.3
        xdotool key Escape
        wait_for 3 window_active || fail "closing the print dialog ($i) gave the keyboard to $(xdotool getactivewindow getwindowname)"
        type_text "$i"
    done
    # Rolled up with xfwm4's own button, the window is rolled out again by
    # the tray, and what is typed then goes into the page.
    local x y w
    read -r x y w _ <<<"$(geometry "$WINDOW")"
    xdotool mousemove $((x + w - 34)) $((y - 14)) click 1
    wait_for 3 rolled_up || fail "xfwm4 did not roll the window up"
    tray_click double
    wait_for 3 rolled_out || fail "the tray did not roll the window out again"
    type_text "7"
    xdotool key ctrl+q
    wait_for_end
    expect_record 1 'page1234567'
}

scenario_no_window_manager() {
    start_bare_screen || fail "the virtual screen did not start"
    page_file "milk"
    start_kelmo
    wait_for 15 main_window || fail "the main window did not appear"
    WINDOW="$(main_window)"
    sleep 0.5
    # Without a window manager the keyboard goes where the pointer is.
    click_at 150 140
    type_text " tea"
    xdotool key ctrl+f
    sleep 0.5
    type_text "coffee"
    xdotool key Return
    wait_for 5 xdotool search --onlyvisible --name '^Kelmo Note$' || fail "no box said that nothing was found"
    xdotool key Escape
    sleep 0.5
    # A window manager that comes later frames the window while the search
    # panel is down; rolling it up keeps the client area as designed.
    start_window_manager openbox || fail "openbox did not start"
    wait_for 5 frame_known || fail "openbox did not frame the window"
    click_button search
    wait_for 10 client_height_is 225 ||
        fail "the window rolled up to $(geometry "$WINDOW" | cut -d' ' -f4) pixels, not 225"
    read -r _ _ width _ <<<"$(geometry "$WINDOW")"
    [ "$width" -eq 280 ] || fail "the window is $width pixels wide once framed, not the designed 280"
    # The box handed the keyboard back: the window's shortcuts still work.
    xdotool key ctrl+q
    wait_for_end
    expect_record 1 'milk tea'
}

# Another program that truncates the notebook, then writes five records
# 1.2 s apart, opening it anew each time.
slow_writer() {
    : >"$WORK/kel.kel"
    local i
    for i in 1 2 3 4 5; do
        sleep 1.2
        printf '%-2000s' "theirs $i" >>"$WORK/kel.kel"
    done
}

scenario_slow_writer() {
    start_desktop
    page_file "page one"
    start_kelmo
    wait_for_window
    # With a change of ours unsaved, the file is left alone while it is being
    # written; once it is quiet, both are kept, and the notice that says so
    # comes while typing goes on and takes none of the keys.
    type_at_page_end " mine"
    slow_writer &
    local writer=$!
    xdotool type --delay 300 " and all of this is typed on while it happens"
    wait "$writer"
    wait_for 10 notice_window || fail "no notice that both are kept"
    window_active "$WINDOW" || fail "the notice took the keyboard"
    # A click on the notice gives the keyboard straight back to the page.
    xdotool mousemove --window "$(notice_window)" 20 10 click 1
    wait_for 3 window_active || fail "a click on the notice kept the keyboard"
    type_text " and"
    local aside=("$WORK"/kel\ \(changed\ elsewhere*.kel)
    [ "${#aside[@]}" -eq 1 ] && [ -f "${aside[0]}" ] || fail "the writer's notebook was not kept aside"
    [ "$(stat -c %s "${aside[0]}")" -eq 10000 ] || fail "the writer's notebook was kept aside before it was whole"
    rm "${aside[0]}"
    # Another program has the keyboard: a notice leaves it there.
    xmessage -geometry 300x100+100+300 "another program" >/dev/null 2>&1 &
    HELPERS+=($!)
    wait_for 5 xdotool search --onlyvisible --name '^xmessage$' || fail "xmessage did not appear"
    local other
    other="$(xdotool search --onlyvisible --name '^xmessage$' | head -n1)"
    type_at_page_end " too"
    printf '%-2000s' "theirs again" >"$WORK/.incoming" && mv "$WORK/.incoming" "$WORK/kel.kel"
    xdotool windowactivate --sync "$other"
    sleep 6
    notice_window >/dev/null || fail "no notice that both are kept"
    [ "$(xdotool getactivewindow)" = "$other" ] || fail "the notice took the keyboard from another program"
    menu_end
    wait_for_end
    expect_pages 1
    expect_record 1 'page one mine and all of this is typed on while it happens and too'
    # With nothing of ours unsaved, the notebook is taken once it is whole.
    start_kelmo
    wait_for_window
    slow_writer
    sleep 5
    type_at_page_end "!"
    menu_end
    wait_for_end
    expect_pages 5
    expect_record 1 'theirs 1!'
    expect_record 5 'theirs 5'
    expect_no_temp
}

# The display goes away (a remote display dropped, a logout without a
# session manager), and a UPS tells of a power cut: what was typed and not
# yet saved is in the notebook.
scenario_display_gone() {
    start_desktop
    page_file "page one"
    start_kelmo
    wait_for_window
    type_at_page_end " typed"
    kill -KILL "$SCREEN_PID"
    wait_for_end
    grep -q 'connection broke' "$WORK/.program.log" || fail "the program did not end for the lost display"
    expect_pages 1
    expect_record 1 'page one typed'
    expect_no_temp
    stop_helpers
    start_desktop
    start_kelmo
    wait_for_window
    type_at_page_end " and kept"
    kill -PWR "$PROGRAM_PID"
    wait_for_end
    expect_record 1 'page one typed and kept'
    expect_no_temp
}

# Another local user (nobody) may enter the notebook's folder and holds a
# lock on it: the start goes on, and the notebook stays private.
scenario_other_user() {
    if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1 || ! command -v setpriv >/dev/null; then
        echo "skipped: needs root, setpriv and the user nobody to act as another user"
        return 0
    fi
    start_desktop
    chmod 755 "$WORK"
    page_file "private"
    chmod 600 "$WORK/kel.kel"
    # setpriv, not runuser: a login session's end would take the test with it.
    setpriv --reuid "$(id -u nobody)" --regid "$(id -g nobody)" --clear-groups -- \
        flock -n "$WORK" sleep 20 >/dev/null 2>&1 &
    HELPERS+=($!)
    sleep 0.5
    start_kelmo
    wait_for_window
    type_at_page_end " and still mine"
    menu_end
    wait_for_end
    expect_record 1 'private and still mine'
    [ "$(stat -c %a "$WORK/kel.kel")" = 600 ] || fail "the notebook is no longer private"
    [ "$(stat -c %a "$WORK/.kel.lock")" = 600 ] || fail "the lock file can be opened by others"
}

# A word on two far pages, found from page 1: the second place is opened
# and typed over, and the notebook holds it after the end.
scenario_find_all() {
    start_desktop
    local pages=("Shopping: milk" "Call the dentist" )
    local i
    for i in $(seq 3 29); do pages+=("page $i"); done
    pages+=("Dentist at nine")
    page_file "${pages[@]}"
    start_kelmo
    wait_for_window
    click_at 200 150
    xdotool key ctrl+shift+f
    wait_for 5 xdotool search --onlyvisible --name '^Find in all pages$' || fail "no find window"
    type_text "dentist"
    xdotool key Down Return
    wait_for 3 window_active || fail "the page did not get the keyboard"
    type_text "Doctor"
    # Closed with Escape, the find window hands the keyboard back to the page.
    xdotool key ctrl+shift+f
    wait_for 5 xdotool search --onlyvisible --name '^Find in all pages$' || fail "no find window"
    xdotool key Escape
    wait_for 3 window_active || fail "Escape in the find window left the keyboard nowhere"
    type_text "!"
    menu_end
    wait_for_end
    expect_pages 30
    expect_record 2 'Call the dentist'
    expect_record 30 'Doctor! at nine'
}

# The tray goes away and comes back, the window manager too busy to follow
# at once: the window keeps its place.
tray_goes_and_comes() {
    pause_window_manager
    kill "$TRAYER_PID"
    resume_window_manager
    wait_for 5 eval '! skips_taskbar' || fail "the tray went away and the window did not notice"
    pause_window_manager
    start_trayer
    resume_window_manager
    wait_for 10 tray_icon || fail "the icon did not come back with the tray"
    wait_for 5 skips_taskbar || fail "with the tray back the window has a taskbar entry"
}

# The classic tray goes and comes back: told by the X server's events, the
# window takes a taskbar entry and gives it up again, with nothing polled,
# and stays where it was: at its place, or where the user moved it.
scenario_classic_tray_comes_and_goes() {
    start_desktop
    start_kelmo
    wait_for_window
    skips_taskbar || fail "with a tray the window has a taskbar entry"
    local place
    place="$(geometry "$WINDOW")"
    tray_goes_and_comes
    wait_for 5 eval '[ "$(geometry "$(main_window)")" = "$place" ]' ||
        fail "the window stands at $(geometry "$(main_window)"), not back at $place"
    WINDOW="$(main_window)"
    # A person moves the window once it has stood there a moment.
    sleep 2.5
    xdotool windowmove "$WINDOW" 200 300
    wait_for 5 eval '[ "$(geometry "$WINDOW" | cut -d" " -f1)" != "$(echo "$place" | cut -d" " -f1)" ]' ||
        fail "the window could not be moved"
    sleep 0.5
    place="$(geometry "$WINDOW")"
    tray_goes_and_comes
    wait_for 5 eval '[ "$(geometry "$(main_window)")" = "$place" ]' ||
        fail "moved by the user, the window stands at $(geometry "$(main_window)") after the tray came back, not at $place"
    click_button minimize
    wait_for 5 eval '[ -z "$(main_window)" ]' || fail "Minimize did not hide the window into the tray"
    tray_click double
    wait_for 5 main_window || fail "a double click on the icon did not show the window"
    wait_for 5 eval '[ "$(geometry "$(main_window)")" = "$place" ]' ||
        fail "moved by the user, the window came back from the tray at $(geometry "$(main_window)"), not at $place"
    type_at_page_end "back"
    menu_end
    wait_for_end
    expect_record 1 'back'
}

scenario_keyboard_only() {
    start_desktop
    page_file "buy milk" "second"
    start_kelmo
    wait_for_window
    # The window manager gives the window the keyboard, as Alt+Tab would.
    xdotool windowactivate --sync "$WINDOW"
    sleep 0.3
    # A held key turns one page, however long it is held.
    xdotool keydown ctrl+Next
    sleep 1.5
    xdotool keyup ctrl+Next
    xdotool key alt+Home
    # Out of the page backwards, along the buttons (the rolled-up panel takes
    # no focus) to Search, which rolls the panel down and gives it the focus.
    xdotool key ctrl+shift+Tab shift+Tab shift+Tab space
    wait_for 10 client_height_is 305 ||
        fail "Space on Search did not roll the panel down ($(geometry "$WINDOW" | cut -d' ' -f4) pixels)"
    type_text "milk"
    xdotool key Return
    sleep 0.3
    type_text "tea"
    xdotool key ctrl+f
    wait_for 10 client_height_is 225 ||
        fail "Ctrl+F did not roll the panel up ($(geometry "$WINDOW" | cut -d' ' -f4) pixels)"
    # The menu at the window, from a button, and Options closed by Escape.
    xdotool key ctrl+Tab shift+F10 Down Down Down Return
    wait_for 5 xdotool search --onlyvisible --name '^Options$' || fail "the options dialog did not open"
    sleep 0.3
    xdotool key Escape
    wait_for 5 test -s "$WORK/optionen.kel" || fail "Escape did not close the options and store them"
    [ -z "$(xdotool search --onlyvisible --name '^Options$')" ] || fail "the options dialog is still open"
    wait_for 5 window_active || fail "closing the options did not give the keyboard back to the window"
    xdotool key ctrl+p
    wait_for 5 xdotool search --onlyvisible --name '^Print$' || fail "Ctrl+P did not open the print dialog"
    sleep 0.3
    xdotool key Escape
    wait_for 5 window_active || fail "closing the print dialog did not give the keyboard back to the window"
    xdotool key ctrl+q
    wait_for_end
    expect_pages 2
    expect_record 1 'buy tea'
    expect_record 2 'second'
}

"scenario_$SCENARIO"
pass
