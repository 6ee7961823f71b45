#!/usr/bin/env bash
# Keystroke to screen while the notebook is being saved on a slow disk: every
# fsync takes a second longer (a preloaded library), a key goes to the page
# every 50 ms for 40 s in bursts of 4 s with 3.2 s between them, so that a
# save begins after 3 s of each pause and the next burst types into it; only
# the keys sent while a save syncs count. Prints their median, 99th percentile and worst, for 10 and 32767
# pages, beside the target of 16 ms at the 99th percentile.
# Usage: bench/latency.sh [KELMO_NOTE]   (needs Xvfb, openbox and xdotool)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-release"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELMO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kelmo-note kelmo_latency_probe >/dev/null
program="${1:-$build/src/kelmo-note}"
probe="$build/bench/kelmo_latency_probe"
slow="$build/bench/libslowsync.so"
cc -shared -fPIC -O2 -o "$slow" "$here/bench/SlowSync.c" -ldl

# shellcheck source=x-session.sh
source "$here/bench/x-session.sh"

measure() {
    local pages="$1" folder="$work/$1"
    mkdir -p "$folder"
    head -c $((pages * 2000)) /dev/zero | tr '\0' ' ' >"$folder/kel.kel"
    : >"$folder/syncs"
    (cd "$folder" && KELMO_SLOW_SYNC_LOG="$folder/syncs" LD_PRELOAD="$slow" exec "$program") >/dev/null 2>&1 &
    local pid=$!
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name '^Kelmo-Note$' 2>/dev/null | head -n1 || true)"
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "the window did not appear" >&2; exit 1; }
    sleep 1
    xdotool windowactivate --sync "$id" mousemove --window "$id" 150 80 click 1
    sleep 0.5
    "$probe" Kelmo-Note 40 50 4000 3200 >"$folder/keys"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    # The keys sent between a sync's start and its end.
    awk -v pages="$pages" '
        FNR == NR { if ($1 == "sync") b[++n] = $2; else e[n] = $2; next }
        { for (i = 1; i <= n; ++i) if ($1 >= b[i] && (e[i] == "" || $1 <= e[i])) { v[++k] = $2; break } }
        END {
            if (k == 0) { printf "%5d pages: no key was sent during a save\n", pages; exit }
            for (i = 1; i <= k; ++i) for (j = i + 1; j <= k; ++j) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
            p99 = v[int(0.99 * (k - 1)) + 1]
            printf "%5d pages: %d keys during saves, median %.1f ms, 99th percentile %.1f ms, worst %.1f ms (target 16 ms) %s\n",
                pages, k, v[int(k / 2) + 1], p99, v[k], (p99 <= 16 ? "ok" : "MISSED")
        }' "$folder/syncs" "$folder/keys"
}

measure 10
measure 32767
