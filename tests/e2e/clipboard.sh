#!/usr/bin/env bash
# Clipboard round trip between two running copies of the program: the first exports a 40 x 30
# picture, the second (in update mode on a 64 x 48 picture) imports it and writes it back with
# Update & Exit, so the file holds exactly what crossed the clipboard.
# Usage: clipboard.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 40x30 gradient:'#FF0000-#0000FF' -depth 8 "$work/picture.png"
    e2e_run_inner
    [ -f "$work/out.png" ] || { echo "Update & Exit wrote no file"; exit 1; }
    size=$(identify -format '%wx%h' "$work/out.png")
    [ "$size" = "40x30" ] || { echo "expected the 40x30 picture, found $size"; exit 1; }
    diff=$(compare -metric AE "$work/picture.png" "$work/out.png" null: 2>&1 || true)
    [ "$diff" = "0" ] || { echo "$diff pixels changed on the way"; exit 1; }
    echo "the picture crossed the clipboard unchanged"
    exit 0
fi
# Focuses the window of process $1.
focus_pid() {
    local w
    w=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$1" --name 'Orvel Paint' | head -n 1)
    [ -n "$w" ] || { echo "no window of $1"; return 1; }
    sleep 1
    xdotool windowraise "$w"
    xdotool mousemove --window "$w" 40 40
    timeout 10 xdotool windowactivate --sync "$w" 2>/dev/null || true
    timeout 10 xdotool windowfocus --sync "$w" || true
}
cd "$work"
# The second copy starts only once the first holds the clipboard: with one new window at a time
# nothing can take the keyboard away between focusing and typing.
"$build/orvelpaint" "$work/picture.png" &
first=$!
second=""
trap 'kill "$first" $second 2>/dev/null || true' EXIT
focus_pid "$first"
xdotool key alt+f; sleep 0.5
xdotool key t # Export to Clipboard
sleep 1
"$build/orvelpaint" -s Test 64 48 out.png &
second=$!
focus_pid "$second"
xdotool key alt+f; sleep 0.5
xdotool key i # Import from Clipboard
sleep 1
import -window root "$build/e2e-clipboard.png"
e2e_update_exit "$second"
