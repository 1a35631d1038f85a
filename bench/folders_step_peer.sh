#!/usr/bin/env bash
# Stepping through 24-megapixel photos in "Bilddateien umordnen" (`Form10umb2`): each press of
# Down must show its picture within 100 ms, even when nothing was decoded ahead. The floor is
# djpeg at an eighth of the size, the least a JPEG decoder can do for a picture of this size.
# Installs hyperfine and jq itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target folders_step_tool
tool=$PWD/build/bin/folders_step_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-step}
[ -f "$work/foto20.jpg" ] || { rm -rf "$work"; mkdir -p "$work"; "$tool" make "$work" 20; }
echo "photos: $(ls "$work"/*.jpg | wc -l) of $(du -sh --apparent-size "$work" | cut -f1) together"
for run in 1 2 3; do echo "Pictra, run $run: $("$tool" step "$work" | tail -1)"; done
hyperfine -w 2 -r 20 -N --export-json "$work/djpeg.json" \
    "djpeg -scale 1/8 -outfile /dev/null $work/foto10.jpg" "djpeg -scale 1/4 -outfile /dev/null $work/foto10.jpg" >/dev/null
echo "floor per picture: $(jq -r '[.results[] | (.command | split(" ")[2]) + " " + (.median * 1000 | tostring | .[0:5]) + " ms"] | join(", ")' "$work/djpeg.json")"
