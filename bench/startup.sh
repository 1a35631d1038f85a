#!/usr/bin/env bash
# Start-up speed: from process start until a window caption names the file given
# on the command line, for a small file and a 10 MB file, under Xvfb. Installs
# xdotool itself.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xdotool >/dev/null || { sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo); "${sudo_cmd[@]}" apt-get install -y -q xdotool; }
cmake --build --preset default --target pictra
work=$(mktemp -d)
export PICTRA_HOME=$work/home
mkdir -p "$PICTRA_HOME"
echo 'Einstellungen|Schrift = Courier New' > "$PICTRA_HOME/pictra.ini"
printf 'Lieber Herr Meier,\r\nvielen Dank.\r\n' > "$work/klein.txt"
python3 -c "
import sys
line = 'Zeile mit etwas Text fuer die Messung der Ladezeit ' * 2 + '\r\n'
with open(sys.argv[1], 'w', newline='') as f:
    f.write(line * (10_000_000 // len(line)))
" "$work/gross.txt"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
measure() {  # file → milliseconds until a caption names it
    local file=$1 name start now
    name=$(basename "$file")
    start=$(date +%s%N)
    build/bin/pictra "$file" >/dev/null 2>&1 &
    local pid=$!
    until xdotool search --name "$name" >/dev/null 2>&1; do sleep 0.01; done
    now=$(date +%s%N)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    rm -f /tmp/pictra-[0-9]*.lock
    echo $(( (now - start) / 1000000 ))
}
for file in "$work/klein.txt" "$work/gross.txt"; do
    times=()
    for _ in 1 2 3 4 5; do times+=("$(measure "$file")"); done
    echo "$(basename "$file"): ${times[*]} ms (median $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p) ms)"
done
kill "$xvfb"
rm -rf "$work"
