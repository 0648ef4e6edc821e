#!/usr/bin/env bash
# The thumbnail browser end to end: in update mode, File > Browse (Ctrl+Shift+R) with the cache
# on, click the folder of PNG Suite pictures, scroll down with the wheel, click a picture, then
# File > Update & Exit: the picture opened is the one the Reopen list names (the document's
# name), out.bmp holds its pixels, and the folder keeps a browser.ov of one block.
# Usage: browse.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    suite=${OV_TESTDATA:-$(dirname "$0")/../../../shared/testdata}
    [ -d "$suite/pngsuite" ] || suite=/work/shared/testdata
    [ -d "$suite/pngsuite" ] || { echo "PNG Suite not found: skipped"; exit 0; }
    # Opaque pictures only, enough for eleven rows: the window shows three.
    mkdir -p "$work/pics"
    cp "$suite"/pngsuite/basn[023]*.png "$suite"/pngsuite/basi[023]*.png \
        "$suite"/pngsuite/s*n3p*.png "$work/pics/"
    mkdir -p "$XDG_CONFIG_HOME/OV"
    printf '[TPreferences]\nCacheThumbs=1\n' > "$XDG_CONFIG_HOME/OV/OrvelPaint.ini"
    e2e_run_inner
    opened=$(sed -n 's/^Item1=//p' "$XDG_CONFIG_HOME/OV/OrvelPaint.ini" | head -n 1)
    echo "opened: $opened"
    case "$opened" in "$work/pics/"*.png) ;; *) echo "the document is not a picture of the folder"; exit 1 ;; esac
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    diff=$(compare -metric AE -fuzz 1% "$opened" "$work/out.bmp" null: 2>&1 || true)
    [ "$diff" = "0" ] || { echo "the picture differs from its file in $diff pixels"; exit 1; }
    size=$(stat -c %s "$work/pics/browser.ov")
    [ "$size" = 4183556 ] || { echo "browser.ov is $size bytes, not one block"; exit 1; }
    [ ! -e "$work/browser.ov" ] || { echo "a cache was left in a folder without pictures"; exit 1; }
    echo "picture chosen in the browser opened; cache kept"
    exit 0
fi

# Where the colour $2 first shows in screenshot $1 (the top row, its leftmost pixel): "x y".
first_pixel() {
    convert "$1" -fill white +opaque "$2" -fill black -opaque "$2" -compress none pbm:- | awk '
        NR == 2 { w = $1 } NR > 2 { gsub(/[^01]/, "")
            for (i = 1; i <= length($0); i++) { if (substr($0, i, 1) == "1") { print n % w, int(n / w); exit } n++ } }'
}

e2e_start_update_bmp
xdotool key ctrl+shift+r
bwin=$(timeout 20 xdotool search --sync --onlyvisible --name 'Image Browser' | head -n 1)
[ -n "$bwin" ] || { echo "no browser window"; exit 1; }
timeout 10 xdotool windowfocus --sync "$bwin" || true
sleep 2
import -window root "$build/e2e-browse.png"
# The first cell is the parent folder: its picture's yellow body marks the grid.
read -r x0 y0 < <(first_pixel "$build/e2e-browse.png" '#F0D060') || true
[ -n "${x0:-}" ] || { echo "no folder picture on the screen"; exit 1; }
# In the work folder: .., config, home, pics, run. pics is the fourth cell.
xdotool mousemove $((x0 + 3 * 140 + 40)) $((y0 + 20)) click 1
sleep 3
import -window root "$build/e2e-browse-pics.png"
# Six wheel notches scroll three rows: the top row now shows entries 12 to 15.
xdotool mousemove $((x0 + 200)) $((y0 + 100))
for _ in 1 2 3 4 5 6; do xdotool click 5; sleep 0.2; done
sleep 2
import -window root "$build/e2e-browse-scrolled.png"
xdotool mousemove $((x0 + 140 + 40)) $((y0 + 20)) click 1
sleep 2
import -window root "$build/e2e-browse-open.png"
e2e_focus 'Orvel Paint'
e2e_update_exit "$pid"
