#!/usr/bin/env bash
# The real program under a virtual display: zoom with the numeric pad, switch slots with Alt+2 and
# Alt+1, and check on a screenshot that the image is back, zoomed, in the view.
# Usage: view.sh BUILD_DIR
set -euo pipefail
if [ "${1:-}" != "--inner" ]; then
    build=$(cd "$1" && pwd)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export XDG_CONFIG_HOME="$work/config" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$XDG_CONFIG_HOME" "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb build work
    convert -size 40x30 xc:'#FF0000' "$work/red.png"
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner
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
win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Orvel Paint' | head -n 1)
[ -n "$win" ] || { kill "$pid"; echo "no program window"; exit 1; }
sleep 1
# Without a window manager only a direct focus gives the window the keyboard.
timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null || true
timeout 10 xdotool windowfocus --sync "$win" || true
xdotool key KP_Add; sleep 0.3
xdotool key KP_Subtract; sleep 0.3
xdotool key alt+2; sleep 0.5
import -window root "$build/e2e-view-slot2.png"
xdotool key alt+1; sleep 0.5
import -window root "$build/e2e-view.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
