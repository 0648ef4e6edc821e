#!/usr/bin/env bash
# A colour chosen from the palette reaches the picture: in update mode, click the red cell of
# the palette, draw a line, File > Update & Exit; the line in out.bmp is red and nothing else is.
# Usage: colour.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    counts=$(convert "$work/out.bmp" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort | uniq -c)
    echo "$counts"
    others=$(echo "$counts" | grep -v -e '#000000' -e '#FF0000' || true)
    [ -z "$others" ] || { echo "colours other than black and red: $others"; exit 1; }
    red=$(echo "$counts" | awk '$2 == "#FF0000" { print $1 }')
    [ "${red:-0}" -ge 30 ] || { echo "expected a red line, found ${red:-0} red pixels"; exit 1; }
    echo "the line has the palette's red"
    exit 0
fi
e2e_start_update_bmp
xdotool key l; sleep 0.5
# The red cell: the first pure red pixel in the bars left of the view.
import -window root shot.png
convert shot.png -crop 70x768+0+0 -depth 8 txt:- > shot.txt
cell=$(grep -m 1 '#FF0000' shot.txt | cut -d: -f1 || true)
[ -n "$cell" ] || { echo "no red palette cell on the screen"; exit 1; }
xdotool mousemove $((${cell%,*} + 4)) $((${cell#*,} + 4)) click 1; sleep 0.3
xdotool mousemove 300 200 mousedown 1; sleep 0.1
for s in 1 2 3 4; do xdotool mousemove $((300 + 50 * s)) $((200 + 25 * s)); sleep 0.1; done
sleep 0.7; xdotool mouseup 1; sleep 0.3
import -window root "$build/e2e-colour.png"
e2e_update_exit "$pid"
