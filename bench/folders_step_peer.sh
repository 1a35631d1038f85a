#!/usr/bin/env bash
# Stepping through 20 photos of 24 megapixels in "Bilddateien umordnen" (`Form10umb2`): each press of Down
# must show its picture within 100 ms, from the press to the box painted. The floor is djpeg at an eighth of
# the size, the least a JPEG decoder can do for such a photo. Three runs of 19 steps each; also a jump to a
# picture nobody decoded ahead. Installs hyperfine, jq and djpeg itself; about a minute, two with the photos
# made on the first run (in PICTRA_BENCH_DIR, else /var/tmp/pictra-bench-step).
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C  # decimal points, in the tool's figures and in this script's arithmetic
source bench/peer_common.sh
if ! command -v djpeg >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends libjpeg-turbo-progs >/dev/null
fi
${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target folders_step_tool >/dev/null
tool=$PWD/build/bin/folders_step_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-step}
[ -f "$work/foto20.jpg" ] || { rm -rf "$work"; mkdir -p "$work"; "$tool" make "$work" 20; }
echo "photos: $(ls "$work"/foto*.jpg | wc -l), 6000 x 4000, $(du -sh --apparent-size "$work" | cut -f1) together"
for run in 1 2 3; do "$tool" step "$work" >"$work/run$run.txt"; done
hyperfine -w 3 -r 20 -N --export-json "$work/djpeg.json" "djpeg -scale 1/8 -outfile /dev/null $work/foto10.jpg" >/dev/null
floor=$(jq -r '.results[0].median * 1000' "$work/djpeg.json")
floorMax=$(jq -r '.results[0].max * 1000' "$work/djpeg.json")
steps=$(grep -hE '^[0-9.]+$' "$work"/run[123].txt | sort -n)
count=$(wc -l <<<"$steps")
slowest=$(tail -1 <<<"$steps")
median=$(sed -n "$(((count + 1) / 2))p" <<<"$steps")
jump=$(grep -ho 'a jump [0-9.]*' "$work"/run[123].txt | awk '{print $3}' | sort -n | tail -1)
line() { printf '%s | %.1f ms | djpeg -scale 1/8 %.1f ms (median; slowest %.1f) | %.2f | %s\n' "$1" "$2" "$floor" \
    "$floorMax" "$(awk -v a="$2" -v b="$floor" 'BEGIN { print a / b }')" "$3"; }
echo "job | pictra | peer | ratio | goal"
line "slowest of $count steps" "$slowest" "<= 100 ms"
line "median step" "$median" "<= 100 ms"
line "slowest jump to a picture not decoded ahead" "$jump" "<= 100 ms"
