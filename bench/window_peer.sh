#!/usr/bin/env bash
# Window programs timed as a user meets them, whole processes side by side in one
# hyperfine run each, under Xvfb at 1024 x 768: a 24-megapixel photo named on the
# command line until it is on the screen (against feh), a small and a 10 MB text
# until the caption names them (against featherpad and geany), and the peak
# memory holding a 25 MB text and after an empty start. Installs its peers itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
peers=(feh featherpad geany xdotool xvfb imagemagick)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
cmake --build --preset default --target pictra -j2
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-windows}
mkdir -p "$work/home"
# Every program starts with settings of its own that a new user would have.
export HOME=$work/home PICTRA_HOME=$work/home/pictra XDG_CONFIG_HOME=$work/home/.config QTWEBENGINE_DISABLE_SANDBOX=1
mkdir -p "$PICTRA_HOME"
[ -f "$PICTRA_HOME/pictra.ini" ] || echo 'Einstellungen|Schrift = Courier New' > "$PICTRA_HOME/pictra.ini"
photo=$work/foto24mp.jpg
[ -f "$photo" ] || convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian -quality 92 "$photo"
printf 'Lieber Herr Meier,\r\nvielen Dank.\r\n' > "$work/klein.txt"
python3 - "$work" <<'PY'
import sys
line = 'Zeile mit etwas Text fuer die Messung der Ladezeit ' * 2 + '\r\n'
for name, size in (('gross10.txt', 10_000_000), ('gross25.txt', 25_000_000)):
    with open(f'{sys.argv[1]}/{name}', 'w', newline='') as f:
        f.write(line * (size // len(line)))
PY
display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
sleep 1
shown="bash bench/window_shown.sh"
pictra=$PWD/build/bin/pictra

hyperfine -w 1 -r 10 -N --export-json "$work/photo.json" \
    "$shown sized 'Bildbearbeitung seit' -- $pictra $photo" \
    "$shown named foto24mp -- feh $photo"
echo "24 MP photo on the command line → on screen, Pictra / feh: $(ratio "$work/photo.json")"

for file in klein gross10; do
    hyperfine -w 1 -r 10 -N --export-json "$work/$file.json" \
        "$shown named $file.txt -- $pictra $work/$file.txt" \
        "$shown named $file.txt -- featherpad $work/$file.txt" \
        "$shown named $file.txt -- geany -i $work/$file.txt"
    echo "$file.txt on the command line → caption, Pictra / featherpad: $(ratio "$work/$file.json")   / geany: $(jq -r '.results[0].median / .results[2].median' "$work/$file.json")"
done

peak() {  # median of three peak-memory readings in MB
    local name=$1; shift
    for _ in 1 2 3; do $shown memory "$name" -- "$@"; done | sort -n | sed -n 2p | awk '{printf "%.0f", $1 / 1024}'
}
big_pictra=$(peak gross25.txt "$pictra" "$work/gross25.txt")
big_feather=$(peak gross25.txt featherpad "$work/gross25.txt")
big_geany=$(peak gross25.txt geany -i "$work/gross25.txt")
echo "peak memory holding a 25 MB text: Pictra $big_pictra MB, featherpad $big_feather MB, geany $big_geany MB"
empty_pictra=$(peak '^Pictra' "$pictra")
empty_feather=$(peak 'FeatherPad' featherpad)
echo "memory after an empty start: Pictra $empty_pictra MB, featherpad $empty_feather MB"
