#!/usr/bin/env bash
# Times pictra-batch as a user runs it against the command-line peers on photographs of
# 24 megapixels (hard links of one photo): fit into 800 × 800 at quality 85 against
# vipsthumbnail (one process and xargs -P2), mogrify with the JPEG size hint, a Pillow
# thumbnail loop and the floor of djpeg at the same DCT scale on both cores, on 30
# photos (COUNTS="30 300" adds 300 against the vips runs and the floor, about four
# minutes more); PNG conversion of 10 against vips copy and mogrify; a gallery of 10
# against fgallery and llgal; the start of --version. The PNG and gallery peers take
# minutes on 30 photos, so those jobs use 10 to keep the script within six minutes.
# Installs its peers itself; prints "job | pictra | peer | ratio | goal" with medians.
# Figures mean something only on an otherwise idle machine.
# RUNS=1: a quick check that every command runs.
set -euo pipefail
# The figures are printed with a decimal point whatever the caller's language.
export LC_ALL=C
cd "$(dirname "$0")/.."
# Pillow is the Debian package, for the system Python (not one on PATH before it).
peers=(libvips-tools imagemagick libjpeg-turbo-progs python3-pil hyperfine jq fgallery llgal)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q || true
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# Through the shared build lock when other builds may run beside it.
flock /tmp/pictra-build.lock cmake --build --preset default --target pictra-batch >/dev/null
batch=$PWD/build/bin/pictra-batch
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-batch-cli}
runs=${RUNS:-2}
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
median() { jq -r ".results[$2].median" "$1"; }
# job | pictra | peer | ratio | goal, the times as medians in seconds.
line() {
    local json=$1 job=$2 peer=$3 index=$4 goal=$5
    local mine theirs
    mine=$(median "$json" 0)
    theirs=$(median "$json" "$index")
    printf '%s | %.3f s | %s %.3f s | %.2f | %s\n' "$job" "$mine" "$peer" "$theirs" \
        "$(echo "$mine / $theirs" | bc -l)" "$goal"
}

for n in ${COUNTS:-30}; do
    dir=$(links "$n")
    out=$work/out$n; rm -rf "$out"; mkdir -p "$out"
    fit=("$batch resize --fit 800x800 --quality 85 --overwrite -q -o $out $dir"
        "ls $dir/f*.jpg | xargs -P2 -n16 vipsthumbnail -s 800 -o $out/%s.jpg[Q=85]"
        "vipsthumbnail -s 800 -o $out/%s.jpg[Q=85] $dir/f*.jpg"
        "ls $dir/f*.jpg | xargs -P2 -n16 -I{} djpeg -scale 1/4 -outfile /dev/null {}")
    if [ "$n" -le 30 ]; then
        fit+=("mogrify -path $out -define jpeg:size=1600x1600 -resize 800x800 -quality 85 $dir/f*.jpg"
            "/usr/bin/python3 $work/pil_thumbs.py $out $dir/f*.jpg")
        warm=0; r=$runs
    else
        warm=0; r=1
    fi
    hyperfine -w "$warm" -r "$r" --style none --export-json "$work/fit$n.json" "${fit[@]}" >/dev/null
    line "$work/fit$n.json" "resize --fit 800x800 $n photos" "vipsthumbnail xargs -P2" 1 "<= 0.8"
    line "$work/fit$n.json" "resize --fit 800x800 $n photos" "vipsthumbnail" 2 "<= 0.8"
    line "$work/fit$n.json" "resize --fit 800x800 $n photos" "djpeg -scale 1/4 -P2 (floor)" 3 "<= 1.3"
    if [ "$n" -le 30 ]; then
        line "$work/fit$n.json" "resize --fit 800x800 $n photos" "mogrify" 4 "-"
        line "$work/fit$n.json" "resize --fit 800x800 $n photos" "Pillow" 5 "-"
    fi
done

dir=$(links 10)
png=$work/png; rm -rf "$png"; mkdir -p "$png"
hyperfine -w 0 -r 1 --style none --export-json "$work/png.json" \
    "$batch convert --to png --overwrite -q -o $png $dir" \
    "ls $dir/f*.jpg | xargs -P2 -I{} sh -c 'vips copy {} $png/\$(basename {} .jpg).png'" \
    "mogrify -path $png -format png $dir/f*.jpg" >/dev/null
line "$work/png.json" "convert --to png 10 photos" "vips copy -P2" 1 "<= 1"
line "$work/png.json" "convert --to png 10 photos" "mogrify" 2 "-"

# Each gallery maker in a folder of its own, emptied before every run.
for g in pictra fgallery llgal; do
    rm -rf "$work/g-$g"; mkdir -p "$work/g-$g"
    for f in "$dir"/f*.jpg; do ln "$f" "$work/g-$g/"; done
done
hyperfine -w 0 -r 1 --style none --export-json "$work/gallery.json" \
    --prepare "find $work/g-pictra -name 'zz*' -delete; rm -f $work/g-pictra/*.html; rm -rf $work/fg-out $work/g-llgal/.llgal $work/g-llgal/index.html" \
    "$batch gallery $work/g-pictra --navigation -q" \
    "fgallery -j2 -s -d --no-sRGB $work/g-fgallery $work/fg-out" \
    "llgal -d $work/g-llgal" >/dev/null
line "$work/gallery.json" "gallery 10 photos" "fgallery -j2 -s -d" 1 "<= 0.2"
line "$work/gallery.json" "gallery 10 photos" "llgal" 2 "<= 0.2"

hyperfine -N -w 5 -r 50 --style none --export-json "$work/version.json" "$batch --version" >/dev/null
printf 'pictra-batch --version | %.1f ms | - | - | < 20 ms\n' "$(echo "$(median "$work/version.json" 0) * 1000" | bc -l)"
