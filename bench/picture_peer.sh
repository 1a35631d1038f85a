#!/usr/bin/env bash
# The picture editor's jobs on a 24-megapixel photograph, whole processes timed by
# hyperfine in one run each against vips (and jpegtran -perfect, the floor of a
# lossless turn); prints the median ratios Pictra / peer (below 1: Pictra faster).
# Installs its own peers.
set -euo pipefail
cd "$(dirname "$0")/.."
peers=(libvips-tools libjpeg-turbo-progs hyperfine jq)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# A shared working tree builds under its lock (PICTRA_BUILD_LOCK), never with more than two jobs.
${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target picture_tool
tool=build/bin/picture_tool
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-editor}
runs=${PICTRA_BENCH_RUNS:-10}
mkdir -p "$work"
photo=$work/photo24mp.jpg
# 6000 × 4000 is a whole number of 16-pixel blocks: a perfect lossless turn exists.
[ -f "$photo" ] || "$tool" photo "$photo" 6000 4000
# vips runs on one thread like Pictra's filters, so both measure the same work.
export VIPS_CONCURRENCY=${VIPS_CONCURRENCY:-1}

ratio() { jq -r '.results[0].median / .results[1].median' "$1"; }
n=0
job() {  # name, our command, the peer's command
    n=$((n + 1))
    local json=$work/job$n.json
    hyperfine -w 1 -r "$runs" -N --export-json "$json" "$2" "$3" >/dev/null
    printf '%-30s Pictra %6.3f s  peer %6.3f s  ratio %s\n' "$1" \
        "$(jq -r '.results[0].median' "$json")" "$(jq -r '.results[1].median' "$json")" "$(ratio "$json")"
}
job "sharpen / vips sharpen" "$tool sharpen $photo $work/a.jpg" "vips sharpen $photo $work/b.jpg[Q=90]"
job "invert / vips invert" "$tool invert $photo $work/a.jpg" "vips invert $photo $work/b.jpg[Q=90]"
job "mirror / vips flip" "$tool mirror $photo $work/a.jpg" "vips flip $photo $work/b.jpg[Q=90] horizontal"
job "grey / vips colourspace b-w" "$tool grey $photo $work/a.jpg" "vips colourspace $photo $work/b.jpg[Q=90] b-w"
job "lossless turn / jpegtran" "$tool lossless $photo $work/a.jpg" "jpegtran -perfect -rotate 90 -outfile $work/b.jpg $photo"
job "lossless turn / vips rot" "$tool lossless $photo $work/a.jpg" "vips rot $photo $work/b.jpg[Q=90] d90"
