#!/usr/bin/env bash
# Starts the real program with logging under a virtual display, closes it with Alt+X and checks
# the log and the written preferences. Usage: startup.sh BUILD_DIR
set -euo pipefail
if [ "${1:-}" = "--inner" ]; then
    INNER=1
else
    INNER=0
    build=$(cd "$1" && pwd)
fi

if [ "$INNER" = 0 ]; then
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
# A real X window on the virtual display, whatever the test runner set.
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME" "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
log="$build/OV.LOG"
rm -f "$log"
fi

run() {
    "$build/orvelpaint" -l ignored-image.png &
    pid=$!
    for _ in $(seq 300); do
        grep -q 'INTERACTIVE MODE STARTED' "$log" 2>/dev/null && break
        sleep 0.1
    done
    win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Orvel Paint' | head -n 1)
    if [ -z "$win" ]; then kill "$pid"; echo "no program window on the display"; exit 1; fi
    timeout 10 xdotool windowactivate --sync "$win" 2>/dev/null ||
        timeout 10 xdotool windowfocus --sync "$win" || true
    xdotool key --clearmodifiers alt+x
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then kill "$pid"; echo "program did not close on Alt+X"; exit 1; fi
    wait "$pid"
}
if [ "$INNER" = 1 ]; then run; exit 0; fi
export build log
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner

expected=(
  "Program started."
  "MainForm created, loading resources."
  "Resources loaded."
  "CompForm created."
  "Toolbar initialization started."
  "Toolbar initialization finished."
  "Creating About panel."
  "Misc initialization started."
  "Font set and buffers initialized."
  "Registry entries loaded."
  "Language resources loaded."
  "Icons initialized."
  "Scanning for components started."
  "Scanning for components finished."
  "Drawing mode initialized."
  "Twain driver initialized."
  "Language resources searched."
  "Initialization finished. INTERACTIVE MODE STARTED."
  "Registry entries saved."
  "Application closed."
)
mapfile -t raw < "$log"
fail=0
# What the component scan found depends on the build: its lines are checked apart.
lines=()
inscan=0
for l in "${raw[@]}"; do
  msg=${l#*] }
  case "$msg" in
    "Scanning for components started.") inscan=1 ;;
    "Scanning for components finished.") inscan=0 ;;
    *) if [ "$inscan" = 1 ]; then
         [[ "$msg" == "Directory found." || "$msg" == *" found." ]] || { echo "odd scan line: '$l'"; fail=1; }
         continue
       fi ;;
  esac
  lines+=("$l")
done
if [ "${#lines[@]}" -ne "${#expected[@]}" ]; then
  echo "expected ${#expected[@]} log lines, got ${#lines[@]}"; fail=1
fi
prev=-1
for i in "${!expected[@]}"; do
  line=${lines[$i]:-}
  if ! [[ "$line" =~ ^\[([0-9]{3}\.[0-9]{2})\]\ (.*)$ ]]; then echo "bad line format: '$line'"; fail=1; continue; fi
  [ "${BASH_REMATCH[2]}" = "${expected[$i]}" ] || { echo "line $i: '${BASH_REMATCH[2]}' != '${expected[$i]}'"; fail=1; }
  t=$((10#${BASH_REMATCH[1]//./}))
  [ "$t" -ge "$prev" ] || { echo "time went back at line $i"; fail=1; }
  prev=$t
done
# -l ends the arguments: the image name after it was not loaded.
grep -q 'Image' "$log" && { echo "an image was loaded despite -l"; fail=1; }

ini="$XDG_CONFIG_HOME/OV/OrvelPaint.ini"
[ -f "$ini" ] || { echo "no preferences written at $ini"; exit 1; }
for kv in Level=0 Clipping=0 OptimBrush=0 AntiAlias=0 BackupFiles=0 CacheThumbs=0 Palette=0 MRUFiles=6; do
  sed -n '/^\[TPreferences\]/,/^\[/p' "$ini" | grep -qx "$kv" || { echo "missing $kv in [TPreferences]"; fail=1; }
done
grep -q '^\[Toolbars\]' "$ini" || { echo "no [Toolbars] group"; fail=1; }
# Language is written only when the user changes it.
grep -q '^Language=' "$ini" && { echo "Language written without a change"; fail=1; }
[ "$fail" = 0 ] && echo "start-up and shutdown as expected"
exit "$fail"
