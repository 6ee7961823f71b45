#!/usr/bin/env bash
# Start-up of the real program under Xvfb with a window manager and a tray,
# beside a minimal Qt Widgets program with a tray icon: when the window is
# mapped and first drawn (X events), the CPU time and the resident memory a
# second later. The two programs take turns, run after run, so that the
# machine's moods fall on both alike; medians of the runs, and for each ratio
# the range that holds it 19 times in 20 (resampling the runs), since on a
# small machine a median still moves between runs. A full notebook is
# measured for its memory after them.
# Usage: startup.sh KELMO MINIMAL PROBE
set -euo pipefail
kelmo="$(realpath "$1")"
minimal="$(realpath "$2")"
probe="$(realpath "$3")"
runs=${KELMO_STARTUP_RUNS:-101}
full_runs=11
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

# Each program goes first every other round, so that each follows the other
# as often as itself: what a run leaves behind (a process just ended, caches
# warmed) falls on both alike.
for ((i = 0; i < runs; i++)); do
    if ((i % 2 == 0)); then
        one_run minimal "Minimal Qt" "$work/minimal" "$minimal"
        one_run empty "Kelmo-Note" "$work/empty" "$kelmo"
    else
        one_run empty "Kelmo-Note" "$work/empty" "$kelmo"
        one_run minimal "Minimal Qt" "$work/minimal" "$minimal"
    fi
done
for ((i = 0; i < full_runs; i++)); do
    one_run full "Kelmo-Note" "$work/full" "$kelmo"
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
column_median() { awk -v c="$2" '{print $c}' "$work/$1.runs" | median; }

echo "Start-up beside a minimal Qt Widgets program with a tray icon (median of $runs runs each, taking turns;"
echo "in brackets the range of the ratio 19 times in 20):"
printf '%-44s %10s %10s %10s\n' "" minimal Kelmo-Note ratio
# The ratio of the medians and its 95 % range from 1000 resamplings of both
# programs' runs. Plain awk: the machine need not have more.
target() {
    local label="$1" column="$2" limit="$3" unit="$4" scale="${5:-1}"
    awk -v c="$column" -v l="$label" -v t="$limit" -v u="$unit" -v scale="$scale" '
        function median(values, n,    i, j, v, sorted) {
            for (i = 1; i <= n; i++) {
                v = values[i]
                for (j = i - 1; j >= 1 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]
                sorted[j + 1] = v
            }
            return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
        }
        FNR == NR { base[++nb] = $c; next }
        { kelmo[++nk] = $c }
        END {
            b = median(base, nb); k = median(kelmo, nk); r = k / b
            srand(1)
            for (s = 1; s <= 1000; s++) {
                for (i = 1; i <= nb; i++) drawnBase[i] = base[int(rand() * nb) + 1]
                for (i = 1; i <= nk; i++) drawnKelmo[i] = kelmo[int(rand() * nk) + 1]
                ratios[s] = median(drawnKelmo, nk) / median(drawnBase, nb)
            }
            low = 0; high = 0
            for (s = 1; s <= 1000; s++) {
                below = 0
                for (i = 1; i <= 1000; i++) below += ratios[i] < ratios[s]
                if (below <= 25 && ratios[s] > low) low = ratios[s]
                if (below <= 975 && ratios[s] > high) high = ratios[s]
            }
            printf "%-44s %7.1f%-3s %7.1f%-3s %6.2f x [%.2f-%.2f] (target %.2f x) %s\n", l, b / scale, u, k / scale, u, r,
                low, high, t,
                (r <= t ? "ok" : "MISSED")
        }' "$work/minimal.runs" "$work/empty.runs"
}
target "window mapped, empty notebook" 1 1.05 ms
target "first paint, empty notebook" 2 1.10 ms
target "CPU time, empty notebook" 3 1.25 ms
target "resident memory, empty notebook" 4 1.05 MiB 1024
awk -v b="$(column_median minimal 4)" -v k="$(column_median full 4)" 'BEGIN {
    d = (k - b) / 1024; printf "%-44s %7.1fMiB %7.1fMiB %+8.1f MiB (target +70 MiB) %s\n", "resident memory, 32767 pages", b / 1024,
        k / 1024, d, (d <= 70 ? "ok" : "MISSED") }'

