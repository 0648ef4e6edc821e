#!/usr/bin/env bash
# Update mode end to end: "-s Test 64 48 out.png", File > Update & Exit writes a 64 x 48 black
# picture; the program then opens that file fitted in the view.
# Usage: update.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 40x30 xc:'#FF0000' "$work/red.png"
    e2e_run_inner
    [ -f "$work/out.png" ] || { echo "Update & Exit wrote no file"; exit 1; }
    size=$(identify -format '%wx%h' "$work/out.png")
    [ "$size" = "64x48" ] || { echo "expected 64x48, found $size"; exit 1; }
    colours=$(convert "$work/out.png" -depth 8 -unique-colors txt:- | grep -o '#[0-9A-F]\{6\}' | sort -u)
    [ "$colours" = "#000000" ] || { echo "expected only black, found $colours"; exit 1; }
    # Opened, the 40 x 30 picture is enlarged to fill the view, so it reaches far from the centre.
    for x in 300 430 560; do
        colour=$(convert "$build/e2e-update-open.png" -crop 1x1+$x+300 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1)
        [ "$colour" = "#FF0000" ] || { echo "expected the fitted red picture at x $x, found $colour"; exit 1; }
    done
    echo "update target written and opened"
    exit 0
fi
cd "$work"
"$build/orvelpaint" -sTest 64 48 out.png &
pid=$!
e2e_focus 'Orvel Paint' || { kill "$pid"; exit 1; }
e2e_update_exit "$pid"
"$build/orvelpaint" "$work/red.png" &
pid=$!
e2e_focus 'Orvel Paint' || { kill "$pid"; exit 1; }
sleep 0.5
import -window root "$build/e2e-update-open.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
