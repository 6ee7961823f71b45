#!/usr/bin/env bash
# Start-up of the real program under Xvfb with a window manager and a tray,
# beside a minimal Qt Widgets program with a tray icon: when the window is
# mapped and first drawn (X events), the CPU time and the resident memory a
# second later. The programs take turns, run after run, so that the machine's
# moods fall on all alike; medians of the runs.
# Usage: startup.sh KELMO MINIMAL PROBE
set -euo pipefail
kelmo="$(realpath "$1")"
minimal="$(realpath "$2")"
probe="$(realpath "$3")"
runs=${KELMO_STARTUP_RUNS:-41}
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
while [ ! -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
sleep 1

mkdir -p "$work/empty" "$work/full" "$work/minimal"
head -c $((32767 * 2000)) /dev/zero | tr '\0' 'x' >"$work/full/kel.kel"

# One run of a program: "map_ms paint_ms cpu_ms rss_kib" appended to its file.
one_run() {
    local name="$1" title="$2" folder="$3" program="$4"
    (cd "$folder" && "$probe" "$title" "$program" 2>/dev/null) >>"$work/$name.runs" || true
    rm -f "$folder/keltemp.kel"
}

# The order turns from run to run: what a run leaves behind (a large notebook
# read, a large process ended) must not always fall on the same program.
for ((i = 0; i < runs; i++)); do
    for ((turn = 0; turn < 3; turn++)); do
        case $(((i + turn) % 3)) in
        0) one_run minimal "Minimal Qt" "$work/minimal" "$minimal" ;;
        1) one_run empty "Kelmo-Note" "$work/empty" "$kelmo" ;;
        2) one_run full "Kelmo-Note" "$work/full" "$kelmo" ;;
        esac
    done
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
column_median() { awk -v c="$2" '{print $c}' "$work/$1.runs" | median; }

echo "Start-up beside a minimal Qt Widgets program with a tray icon (median of $runs interleaved runs):"
printf '%-44s %10s %10s %10s\n' "" minimal Kelmo-Note ratio
target() {
    local label="$1" column="$2" limit="$3" unit="$4" base kelmo
    base="$(column_median minimal "$column")"
    kelmo="$(column_median empty "$column")"
    awk -v l="$label" -v b="$base" -v k="$kelmo" -v t="$limit" -v u="$unit" 'BEGIN {
        r = k / b; printf "%-44s %8.1f%s %8.1f%s %8.2f x  (target %.2f x) %s\n", l, b, u, k, u, r, t, (r <= t ? "ok" : "MISSED") }'
}
target "window mapped, empty notebook" 1 1.05 ms
target "first paint, empty notebook" 2 1.10 ms
target "CPU time, empty notebook" 3 1.25 ms
awk -v b="$(column_median minimal 4)" -v k="$(column_median empty 4)" 'BEGIN {
    r = k / b; printf "%-44s %7.1fMiB %7.1fMiB %8.2f x  (target 1.05 x) %s\n", "resident memory, empty notebook", b / 1024,
        k / 1024, r, (r <= 1.05 ? "ok" : "MISSED") }'
awk -v b="$(column_median minimal 4)" -v k="$(column_median full 4)" 'BEGIN {
    d = (k - b) / 1024; printf "%-44s %7.1fMiB %7.1fMiB %+8.1f MiB (target +70 MiB) %s\n", "resident memory, 32767 pages", b / 1024,
        k / 1024, d, (d <= 70 ? "ok" : "MISSED") }'

