#!/usr/bin/env bash
# Builds Kelmo-Note for speed and prints how fast its core is, beside the
# targets it is held to. Usage: bench/run.sh [--startup]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-release"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELMO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kelmo_benchmarks kelmo-note kelmo_minimal_qt kelmo_startup_probe >/dev/null

csv="$(mktemp)"
"$build/bench/kelmo_benchmarks" --benchmark_min_time=0.5 --benchmark_out="$csv" \
    --benchmark_out_format=csv >/dev/null
echo "Machine: $(nproc) cores, $(awk '/model name/ {$1=$2=$3=""; print; exit}' /proc/cpuinfo)"
awk -F, '
    /^"/ {
        gsub(/"/, "", $1); t = $3; u = $5
        if (u == "ms") t *= 1e6; else if (u == "us") t *= 1e3; else if (u == "s") t *= 1e9
        ns[$1] = t
    }
    function show(name, limit,    v, mark) {
        v = ns[name]
        mark = (limit == "" ? "" : (v <= limit ? "ok" : "MISSED"))
        if (v >= 1e6) printf "%-40s %12.1f ms   %s %s\n", name, v / 1e6, (limit == "" ? "" : sprintf("(target %.0f us)", limit / 1e3)), mark
        else printf "%-40s %12.3f us   %s %s\n", name, v / 1e3, (limit == "" ? "" : sprintf("(target %.0f us)", limit / 1e3)), mark
    }
    function ratio(a, b, limit,    r) {
        r = ns[a] / ns[b]
        printf "%-40s %12.2f x    (target %.1f x) %s\n", a " / " b, r, limit, (r <= limit ? "ok" : "MISSED")
    }
    END {
        for (n in ns) {
            if (n ~ /neu|entferne/) show(n, 100000)
            else if (n ~ /vor_zurueck|erster_letzter/) show(n, 2 * 5000)
            else if (n ~ /nachname/) show(n, 5000)
            else show(n, "")
        }
        ratio("FullNotebook/leseDatei", "FullNotebook/raw_read_block", 1.2)
        ratio("FullNotebook/schreibeDatei", "FullNotebook/raw_write_sync_rename", 1.3)
        ratio("BM_find_in_all_pages/matchCase:1", "BM_memmem_all_pages", 1.5)
        ratio("BM_find_in_all_pages/matchCase:0", "BM_memmem_all_pages", 4.0)
    }' "$csv" | sort
rm -f "$csv"

if [ "${1:-}" = "--startup" ]; then
    "$here/bench/startup.sh" "$build/src/kelmo-note" "$build/bench/kelmo_minimal_qt" "$build/bench/kelmo_startup_probe"
fi
