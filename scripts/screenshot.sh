#!/usr/bin/env bash
# Takes the README's screenshot from the real program: a small notebook in a
# virtual X server with a window manager and a tray, the search panel rolled
# down and a word found. Usage: scripts/screenshot.sh [PROGRAM] [OUTPUT.png]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$(realpath "${1:-$here/build/src/kelmo-note}")"
output="$(realpath -m "${2:-$here/docs/screenshot.png}")"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

page() { printf "$1" >"$work/page"; truncate -s 2000 "$work/page"; tr '\0' ' ' <"$work/page" >>"$work/kel.kel"; }
page 'Monday\r\n- call the plumber about the kitchen tap\r\n- buy milk, bread and coffee\r\n- return the library books\r\n\r\nIdeas: a birthday card for Anna'
page 'Recipes to try'

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
while [ ! -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox >/dev/null 2>&1 &
trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
sleep 1
(cd "$work" && exec "$program" >/dev/null 2>&1) &
window=""
for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --classname '^kelmo-note$' 2>/dev/null); do
        [ "$(xwininfo -id "$id" | awk '/Width:/ {print $2}')" -gt 100 ] && window="$id"
    done
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1
read -r x y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
xdotool mousemove $((x + 180)) $((y + 204)) click 1
sleep 1
xdotool mousemove $((x + 108)) $((y + 253)) click 1
xdotool type "milk"
xdotool mousemove $((x + 204)) $((y + 284)) click 1
sleep 0.5
read -r fx fy fw fh < <(xwininfo -id "$window" -frame | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
mkdir -p "$(dirname "$output")"
import -window root -crop "$((fw + 2))x$((fh + 24))+$((fx - 1))+$((fy - 22))" +repage "$output"
echo "wrote $output"
