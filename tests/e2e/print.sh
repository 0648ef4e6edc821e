#!/usr/bin/env bash
# Printing end to end: a 40 x 30 red picture is printed through the real print dialog to a PDF
# file (no printer is installed here), which pdftoppm turns into a 300 dpi page: the picture must
# be 120 x 90 dots (3 dots a pixel at 100 %) in the middle of the page.
# Usage: print.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 40x30 xc:'#FF0000' "$work/red.png"
    e2e_run_inner
    [ -s "$work/out.pdf" ] || { echo "no PDF was printed"; exit 1; }
    pdftoppm -r 300 -png -singlefile "$work/out.pdf" "$work/page"
    read -r pw ph < <(identify -format '%w %h\n' "$work/page.png")
    read -r w h x y < <(convert "$work/page.png" -fuzz 10% -fill white +opaque '#FF0000' -trim \
        -format '%w %h %X %Y\n' info: | tr -d '+')
    echo "page ${pw}x${ph}, picture ${w}x${h} at $x,$y"
    { [ "$w" -ge 119 ] && [ "$w" -le 121 ] && [ "$h" -ge 89 ] && [ "$h" -le 91 ]; } ||
        { echo "expected a 120 x 90 picture"; exit 1; }
    dx=$(( 2 * x + w - pw )); dy=$(( 2 * y + h - ph ))
    { [ "${dx#-}" -le 6 ] && [ "${dy#-}" -le 6 ]; } ||
        { echo "the picture is not centred on the page"; exit 1; }
    echo "printed in place"
    exit 0
fi
cd "$work"
"$build/orvelpaint" "$work/red.png" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
e2e_focus 'Orvel Paint'
xdotool key alt+f; sleep 0.5
xdotool key p
e2e_focus '^Print$'
sleep 1
import -window root "$build/e2e-print-dialog.png"
xdotool key alt+p
e2e_focus 'Print \(PDF\)'
xdotool type --delay 20 "$work/out.pdf"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/out.pdf" ] && break; sleep 0.2; done
sleep 1
