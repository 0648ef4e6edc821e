#!/usr/bin/env bash
# The real program under a virtual display: zoom with the numeric pad, switch slots with Alt+2 and
# Alt+1, and check on a screenshot that the image is back, zoomed, in the view.
# Usage: view.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 40x30 xc:'#FF0000' "$work/red.png"
    e2e_run_inner
    centre() { convert "$1" -crop 1x1+400+300 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
    # Slot 2 is a fresh black image; back in slot 1 the red picture shows again.
    colour=$(centre "$build/e2e-view-slot2.png")
    [ "$colour" = "#000000" ] || { echo "expected the black slot 2 in the view, found $colour"; exit 1; }
    colour=$(centre "$build/e2e-view.png")
    [ "$colour" = "#FF0000" ] || { echo "expected the red image in the view, found $colour"; exit 1; }
    echo "zoomed image back after switching slots"
    exit 0
fi
"$build/orvelpaint" "$work/red.png" &
pid=$!
e2e_focus 'Orvel Paint' || { kill "$pid"; exit 1; }
xdotool key KP_Add; sleep 0.3
xdotool key KP_Subtract; sleep 0.3
xdotool key alt+2; sleep 0.5
import -window root "$build/e2e-view-slot2.png"
xdotool key alt+1; sleep 0.5
import -window root "$build/e2e-view.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
