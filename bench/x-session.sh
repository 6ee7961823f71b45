# Sourced by the benchmark scripts: a folder of their own in $work and a
# virtual X server with openbox (and, given "tray", trayer), all gone at exit.
work="$(mktemp -d)"
helpers=()
cleanup() {
    for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/.display" >/dev/null 2>&1 &
helpers+=($!)
for _ in $(seq 50); do [ -s "$work/.display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/.display")"
openbox >/dev/null 2>&1 &
helpers+=($!)
if [ "${1:-}" = tray ]; then
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 26 >/dev/null 2>&1 &
    helpers+=($!)
fi
sleep 1
