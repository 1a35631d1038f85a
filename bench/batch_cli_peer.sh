#!/usr/bin/env bash
# Times pictra-batch as a user runs it against the command-line peers on 30 and 300
# photographs of 24 megapixels (the 300 as hard links of one photo): fit into 800 × 800
# at quality 85 against vipsthumbnail (one process and xargs -P2), mogrify with the
# JPEG size hint, a Pillow thumbnail loop and the floor of djpeg at the same DCT scale
# on both cores; PNG conversion against vips copy and mogrify; the start-up of
# --version. Installs its peers itself; prints median ratios. Figures mean something
# only on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
# Pillow is the Debian package, for the system Python (not one on PATH before it).
peers=(libvips-tools imagemagick libjpeg-turbo-progs python3-pil hyperfine jq)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q || true
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# Through the shared build lock when other builds may run beside it.
flock /tmp/pictra-build.lock cmake --build --preset default --target pictra-batch
batch=$PWD/build/bin/pictra-batch
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-batch-cli}
runs=${RUNS:-5}  # RUNS=1 COUNTS=30: a quick check that every command runs
mkdir -p "$work"
photo=$work/photo.jpg
if [ ! -f "$photo" ]; then
    convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian -quality 92 "$photo"
fi
links() {
    local dir=$work/p$1
    if [ ! -d "$dir" ] || [ "$(find "$dir" -maxdepth 1 -name 'f*.jpg' | wc -l)" -ne "$1" ]; then
        rm -rf "$dir"; mkdir -p "$dir"
        for i in $(seq -w 1 "$1"); do ln "$photo" "$dir/f$i.jpg"; done
    fi
    echo "$dir"
}
cat >"$work/pil_thumbs.py" <<'EOF'
import sys
from PIL import Image
out = sys.argv[1]
for path in sys.argv[2:]:
    with Image.open(path) as im:
        im.draft("RGB", (1600, 1600))
        im.thumbnail((800, 800), Image.LANCZOS)
        im.save(out + "/" + path.rsplit("/", 1)[-1], quality=85)
EOF
ratio() { jq -r ".results[$2].median / .results[$3].median" "$1"; }

for n in ${COUNTS:-30 300}; do
    dir=$(links $n)
    out=$work/out$n; rm -rf "$out"; mkdir -p "$out"
    hyperfine -w 1 -r "$runs" --export-json "$work/fit$n.json" \
        "$batch resize --fit 800x800 --quality 85 --overwrite -q -o $out $dir" \
        "ls $dir/f*.jpg | xargs -P2 -n16 vipsthumbnail -s 800 -o $out/%s.jpg[Q=85]" \
        "vipsthumbnail -s 800 -o $out/%s.jpg[Q=85] $dir/f*.jpg" \
        "mogrify -path $out -define jpeg:size=1600x1600 -resize 800x800 -quality 85 $dir/f*.jpg" \
        "/usr/bin/python3 $work/pil_thumbs.py $out $dir/f*.jpg" \
        "ls $dir/f*.jpg | xargs -P2 -n16 -I{} djpeg -scale 1/4 -outfile /dev/null {}"
    echo "$n photos, fit 800x800 q85: pictra-batch / vipsthumbnail -P2: $(ratio "$work/fit$n.json" 0 1) (goal <= 0.8)"
    echo "$n photos, fit 800x800 q85: pictra-batch / vipsthumbnail: $(ratio "$work/fit$n.json" 0 2)"
    echo "$n photos, fit 800x800 q85: pictra-batch / mogrify: $(ratio "$work/fit$n.json" 0 3)"
    echo "$n photos, fit 800x800 q85: pictra-batch / Pillow: $(ratio "$work/fit$n.json" 0 4)"
    echo "$n photos, fit 800x800 q85: pictra-batch / djpeg 1/4 floor: $(ratio "$work/fit$n.json" 0 5) (goal <= 1.3)"
done

dir=$(links 30)
png=$work/png; rm -rf "$png"; mkdir -p "$png"
hyperfine -w 1 -r "$runs" --export-json "$work/png.json" \
    "$batch convert --to png --overwrite -q -o $png $dir" \
    "ls $dir/f*.jpg | xargs -P2 -I{} sh -c 'vips copy {} $png/\$(basename {} .jpg).png'" \
    "mogrify -path $png -format png $dir/f*.jpg"
echo "30 photos to PNG: pictra-batch / vips copy -P2: $(ratio "$work/png.json" 0 1) (goal <= 1)"
echo "30 photos to PNG: pictra-batch / mogrify: $(ratio "$work/png.json" 0 2)"

hyperfine -N -w 3 -r 30 --export-json "$work/version.json" "$batch --version"
echo "pictra-batch --version: $(jq -r '.results[0].median * 1000' "$work/version.json") ms (goal < 20)"
