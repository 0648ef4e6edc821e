#!/usr/bin/env bash
# The effect browser end to end: in update mode on a 64 x 48 colour ramp, Image > COLOUR >
# Browse; the browser shows the group's three effects on the picture; a click on the third
# (Posterise) opens its window, Ok applies it with its starting settings (four levels), then
# File > Update & Exit. Every pixel of out.bmp must be the ramp posterised to four levels.
# Usage: effects.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    [ -f "$build/Comps/Colour/posterise.ovc" ] || { echo "no Comps/Colour/posterise.ovc in $build"; exit 1; }
    e2e_ramp_bmp "$work/out.bmp"
    e2e_run_inner
    e2e_check_posterised "$work/out.bmp" 4
    exit $?
fi
e2e_start_update_bmp
xdotool key alt+i; sleep 0.5
# The second C opens the COLOUR submenu (see component.sh); its first entry is Browse.
xdotool key c; sleep 0.5
xdotool key c; sleep 0.5
xdotool key Return; sleep 1
bwin=$(timeout 20 xdotool search --sync --onlyvisible --name 'Effect Browser' | head -n 1 || true)
[ -n "$bwin" ] || { echo "no effect browser"; import -window root "$build/e2e-effects-fail.png"; exit 1; }
sleep 2
import -window root "$build/e2e-effects.png"
# The grid's first cell starts under the group list; the third cell is Posterise.
eval "$(xdotool getwindowgeometry --shell "$bwin")"
xdotool mousemove $((X + ${OV_GRID_LEFT:-13} + 2 * 140 + 64)) $((Y + ${OV_GRID_TOP:-46} + 49)) click 1
sleep 1.5
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Posterise' | head -n 1 || true)
[ -n "$dialog" ] || { echo "no Posterise window"; import -window root "$build/e2e-effects-fail.png"; exit 1; }
import -window root "$build/e2e-effects-dialog.png"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# Ok: the first button of the row under the parameters.
xdotool mousemove --window "$dialog" 30 $((HEIGHT - 62 + 12)) click 1; sleep 1.5
e2e_focus 'Orvel Paint'
e2e_update_exit "$pid"
