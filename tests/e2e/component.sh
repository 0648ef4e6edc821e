#!/usr/bin/env bash
# A shipped component end to end: in update mode on a 64 x 48 colour ramp, Image > COLOUR >
# Posterise; one click with the pointer on the up arrow of its Levels field (4 -> 5) and one on
# Ok; then File > Update & Exit. Every pixel of out.bmp must be the ramp posterised to five
# levels per channel, computed here.
# Usage: component.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    [ -f "$build/Comps/Colour/posterise.ovc" ] || { echo "no Comps/Colour/posterise.ovc in $build"; exit 1; }
    e2e_ramp_bmp "$work/out.bmp"
    e2e_run_inner
    e2e_check_posterised "$work/out.bmp" 5
    exit $?
fi
e2e_start_update_bmp
xdotool key alt+i; sleep 0.5
# "&Custom Filter" and "&COLOUR" share their letter: the first C marks the filter, the second
# opens the COLOUR submenu; P picks Posterise in it.
xdotool key c; sleep 0.5
xdotool key c; sleep 0.5
xdotool key p; sleep 1.5
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Posterise' | head -n 1 || true)
[ -n "$dialog" ] || { echo "no Posterise window"; import -window root "$build/e2e-component-fail.png"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# Levels is the second row (under the 26 pixels of the Mode list): its field's up arrow sits at
# the right end of the 104-pixel field, in its upper half.
xdotool mousemove --window "$dialog" 101 35 click 1; sleep 1
import -window root "$build/e2e-component.png"
# Ok: the first button of the row under the parameters.
xdotool mousemove --window "$dialog" 30 $((HEIGHT - 62 + 12)) click 1; sleep 1.5
import -window root "$build/e2e-component-ok.png"
e2e_focus 'Orvel Paint'
e2e_update_exit "$pid"
