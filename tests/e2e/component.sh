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
    # The ramp: red across, green down, blue along the diagonal.
    python3 - "$work/out.bmp" <<'PY'
import struct, sys
w, h = 64, 48
row = (w * 3 + 3) & ~3
data = bytearray()
for y in range(h - 1, -1, -1):
    line = bytearray()
    for x in range(w):
        r, g, b = x * 4, y * 5, (x + y) * 2
        line += bytes((b, g, r))
    data += line + bytes(row - len(line))
head = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(sys.argv[1], 'wb').write(head + info + data)
PY
    e2e_run_inner
    python3 - "$work/out.bmp" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read()
off, = struct.unpack_from('<I', d, 10)
w, h, _, bpp = struct.unpack_from('<iiHH', d, 18)
assert (w, abs(h), bpp) in ((64, 48, 24), (64, 48, 32)), (w, h, bpp)
row = (w * bpp // 8 + 3) & ~3
def level(v, n=4):
    q = (v * n + 127) // 255
    return (q * 255 + n // 2) // n
bad = 0
for y in range(48):
    base = off + (47 - y if h > 0 else y) * row
    for x in range(64):
        b, g, r = d[base + x * bpp // 8: base + x * bpp // 8 + 3]
        want = (level(x * 4), level(y * 5), level((x + y) * 2))
        bad += (r, g, b) != want
print("pixels off the five-level ramp: %d of 3072" % bad)
sys.exit(1 if bad else 0)
PY
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
