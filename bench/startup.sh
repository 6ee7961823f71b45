#!/usr/bin/env bash
# Start-up of the real program under Xvfb: the time until its window is
# mapped and its resident memory a second later, median of 10 runs, beside a
# minimal Qt Widgets program. Usage: startup.sh KELMO MINIMAL
set -euo pipefail
kelmo="$(realpath "$1")"
minimal="$(realpath "$2")"
runs=${KELMO_STARTUP_RUNS:-10}
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
while [ ! -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox >/dev/null 2>&1 &
trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
sleep 1

now_ms() { date +%s%3N; }

# Prints "milliseconds-to-map resident-KiB" for one run of a program.
one_run() {
    local title="$1" folder="$2"
    shift 2
    local start pid mapped rss
    start="$(now_ms)"
    (cd "$folder" && exec "$@" >/dev/null 2>&1) &
    pid=$!
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
    mapped="$(now_ms)"
    sleep 1
    rss="$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    rm -f "$folder/keltemp.kel"
    echo "$((mapped - start)) $rss"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

measure() {
    local label="$1" title="$2" folder="$3"
    shift 3
    for ((i = 0; i < runs; i++)); do one_run "$title" "$folder" "$@"; done >"$work/runs"
    printf '%-34s %8s ms %10s MiB\n' "$label" "$(cut -d' ' -f1 "$work/runs" | median)" \
        "$(cut -d' ' -f2 "$work/runs" | median | awk '{printf "%.1f", $1 / 1024}')"
}

mkdir -p "$work/empty" "$work/full" "$work/minimal"
head -c $((32767 * 2000)) /dev/zero | tr '\0' 'x' >"$work/full/kel.kel"
echo "Start-up until the window is mapped, and resident memory a second later (median of $runs):"
measure "minimal Qt Widgets program" "Minimal Qt" "$work/minimal" "$minimal"
measure "Kelmo-Note, empty notebook" "Kelmo-Note" "$work/empty" "$kelmo"
measure "Kelmo-Note, 32767 pages" "Kelmo-Note" "$work/full" "$kelmo"
