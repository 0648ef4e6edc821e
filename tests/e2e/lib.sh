# Shared by the end-to-end scripts (sourced).

# A private home and configuration in a fresh folder $work, removed on exit; the program runs as
# a real X client on the virtual display. Sets and exports build, work.
e2e_prepare() {
    build=$(cd "$1" && pwd)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export XDG_CONFIG_HOME="$work/config" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$XDG_CONFIG_HOME" "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb build work
}

# Runs the calling script again with --inner under a virtual 1024 x 768 display.
e2e_run_inner() {
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner
}

# Waits for the window titled $1 and gives it the keyboard (there is no window manager);
# sets win.
e2e_focus() {
    win=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$win" ] || { echo "no program window"; return 1; }
    sleep 1
    timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null || true
    timeout 10 xdotool windowfocus --sync "$win" || true
}

# File > Update & Exit from the keyboard, then waits up to 10 s for process $1 to end.
e2e_update_exit() {
    xdotool key alt+f; sleep 0.5
    xdotool key u
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done
    kill "$1" 2>/dev/null || true
    echo "the program stayed open after Update & Exit"
    return 1
}

# In $work, starts the program in update mode on a 64 x 48 black out.bmp, killed when the script
# ends, and gives it the keyboard; sets pid and win.
e2e_start_update_bmp() {
    cd "$work"
    "$build/orvelpaint" -s Test 64 48 out.bmp &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    e2e_focus 'Orvel Paint'
}

# Finds the 64 x 48 picture of update mode on the screen (the block of black wider and taller
# than half the window; option bars move it) and its whole zoom; sets ox, oy and zoom.
e2e_measure_picture() {
    import -window root shot.png
    read -r ox oy zoom < <(convert shot.png -crop 800x600+0+0 +repage -fill white +opaque black \
        -compress none pbm:- | awk '
        NR == 2 { w = $1; h = $2 } NR > 2 { gsub(/[^01]/, "")
            for (i = 1; i <= length($0); i++) { if (substr($0, i, 1) == "1") { row[int(n / w)]++; col[n % w]++ } n++ } }
        END { x0 = w; y0 = h; x1 = y1 = -1
            for (x in col) if (col[x] > h / 2) { if (x + 0 < x0) x0 = x + 0; if (x + 0 > x1) x1 = x + 0 }
            for (y in row) if (row[y] > w / 2) { if (y + 0 < y0) y0 = y + 0; if (y + 0 > y1) y1 = y + 0 }
            z = (x1 - x0 + 1) / 64
            if (z >= 1 && z == int(z) && y1 - y0 + 1 == 48 * z) print x0, y0, z }') || true
    [ -n "${zoom:-}" ] || { echo "no 64 x 48 picture at a whole zoom on the screen"; exit 1; }
}

# Writes a 64 x 48 24-bit BMP ramp to $1: red across, green down, blue along the diagonal.
e2e_ramp_bmp() {
    python3 - "$1" <<'PY'
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
}

# Fails unless the BMP $1 is the ramp of e2e_ramp_bmp posterised to $2 levels per channel.
e2e_check_posterised() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read()
n = int(sys.argv[2]) - 1
off, = struct.unpack_from('<I', d, 10)
w, h, _, bpp = struct.unpack_from('<iiHH', d, 18)
assert (w, abs(h), bpp) in ((64, 48, 24), (64, 48, 32)), (w, h, bpp)
row = (w * bpp // 8 + 3) & ~3
def level(v):
    q = (v * n + 127) // 255
    return (q * 255 + n // 2) // n
bad = 0
for y in range(48):
    base = off + (47 - y if h > 0 else y) * row
    for x in range(64):
        b, g, r = d[base + x * bpp // 8: base + x * bpp // 8 + 3]
        want = (level(x * 4), level(y * 5), level((x + y) * 2))
        bad += (r, g, b) != want
print("pixels off the %d-level ramp: %d of 3072" % (n + 1, bad))
sys.exit(1 if bad else 0)
PY
}
