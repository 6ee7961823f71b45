#!/usr/bin/env bash
# How often a program wakes up while nobody uses it: context switches (from
# /proc/PID/status) over 60 s, for Kelmo-Note shown and hidden in the tray and
# for a bare Qt window with a tray icon, under Xvfb with openbox and trayer.
# Usage: bench/idle.sh [SECONDS]   (KELMO_NOTE=path measures another build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-release"
seconds="${1:-60}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELMO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kelmo-note kelmo_minimal_qt >/dev/null
program="${KELMO_NOTE:-$build/src/kelmo-note}"

# shellcheck source=x-session.sh
source "$here/bench/x-session.sh" tray

switches() {
    awk '/ctxt_switches/ {n += $2} END {print n}' "/proc/$1/task/"*/status 2>/dev/null
}

measure() {
    local name="$1" pid="$2"
    sleep 3
    local before after
    before="$(switches "$pid")"
    sleep "$seconds"
    after="$(switches "$pid")"
    printf '%-32s %6d wake-ups in %d s\n' "$name" $((after - before)) "$seconds"
}

"$build/bench/kelmo_minimal_qt" >/dev/null 2>&1 &
minimal=$!
measure "bare Qt window with a tray icon" "$minimal"
kill "$minimal"

(cd "$work" && exec "$program") >/dev/null 2>&1 &
kelmo=$!
measure "Kelmo-Note, shown" "$kelmo"
# Minimize, the first entry of the tray icon's menu, hides the window.
icon="$(xdotool search --onlyvisible --classname '^kelmo-note$' | while read -r id; do
    [ "$(xwininfo -id "$id" | awk '/Width:/ {print $2}')" -le 64 ] && echo "$id"; done | head -n1 || true)"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.5
xdotool key Down Return
measure "Kelmo-Note, in the tray" "$kelmo"
kill "$kelmo"
