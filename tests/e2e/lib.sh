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
