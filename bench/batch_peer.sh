#!/usr/bin/env bash
# Times Pictra's batch picture commands and gallery against peer programs on 30 and
# 300 photographs of 24 megapixels (the 300 as hard links of the 30), whole processes
# in one hyperfine run each, and prints the median ratios and the peak memory over
# 1,000 photos. Installs its peers itself (vips, ImageMagick, djpeg, fgallery, llgal,
# lazygal, hyperfine, GNU time); a gallery generator that cannot be installed is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
peers=(libvips-tools imagemagick libjpeg-turbo-progs hyperfine jq time fgallery llgal lazygal)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q || true
    for p in "${missing[@]}"; do "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "$p" || echo "($p not installed)"; done
fi
cmake --build --preset default --target batch_tool
tool=$PWD/build/bin/batch_tool
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-batch}
runs=${RUNS:-5}
mkdir -p "$work"
photo=$work/photo.jpg
if [ ! -f "$photo" ]; then
    convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian -quality 92 "$photo"
fi
# Folders of hard links: the same bytes, n file names.
links() {
    local dir=$work/p$1
    if [ ! -d "$dir" ] || [ "$(find "$dir" -maxdepth 1 -name 'f*.jpg' | wc -l)" -ne "$1" ]; then
        rm -rf "$dir"; mkdir -p "$dir"
        for i in $(seq -w 1 "$1"); do ln "$photo" "$dir/f$i.jpg"; done
    fi
    echo "$dir"
}
median_ratio() { jq -r ".results[$2].median / .results[$3].median" "$1"; }

for n in 30 300; do
    dir=$(links $n)
    out=$work/out$n; mkdir -p "$out"
    hyperfine -w 1 -r "$runs" --export-json "$work/resize$n.json" \
        "$tool height 700 $dir/f*.jpg" \
        "$tool height 700 smooth $dir/f*.jpg" \
        "ls $dir/f*.jpg | xargs -P2 -n16 vipsthumbnail --size x700 -o $out/%s.jpg" \
        "vipsthumbnail --size x700 -o $out/%s.jpg $dir/f*.jpg" \
        "mogrify -path $out -resize x700 $dir/f*.jpg" \
        "mogrify -path $out -define jpeg:size=1400x1400 -resize x700 $dir/f*.jpg"
    echo "$n photos, height 700: Pictra (nearest stretch) / vipsthumbnail -P2: $(median_ratio "$work/resize$n.json" 0 2)"
    echo "$n photos, height 700: Pictra (smooth) / vipsthumbnail -P2: $(median_ratio "$work/resize$n.json" 1 2)"
    echo "$n photos, height 700: Pictra (nearest stretch) / mogrify jpeg:size: $(median_ratio "$work/resize$n.json" 0 5)"
done

# Galleries of 200-px small pictures from the 30 photos; each command gets a fresh copy of links.
gal=$work/gallery; rm -rf "$gal"; mkdir -p "$gal"
fresh() { rm -rf "$gal/$1"; mkdir -p "$gal/$1"; for f in "$(links 30)"/f*.jpg; do ln "$f" "$gal/$1/"; done; }
commands=("$tool gallery 200 $gal/pictra"
          "ls $(links 30)/f*.jpg | xargs -P2 -n8 vipsthumbnail --size x200 -o $gal/vips/%s.jpg"
          "ls $(links 30)/f*.jpg | xargs -P2 -n8 djpeg -scale 1/8 -outfile /dev/null")
prepare=("fresh pictra" "mkdir -p $gal/vips" "true")
command -v fgallery >/dev/null && { commands+=("fgallery -j 2 -s -d -k --no-sRGB $gal/fg-in $gal/fg-out"); prepare+=("fresh fg-in; rm -rf $gal/fg-out"); }
command -v llgal >/dev/null && { commands+=("llgal -d $gal/ll --tx 200 --ty 200"); prepare+=("fresh ll"); }
command -v lazygal >/dev/null && { commands+=("lazygal -o $gal/lz-out $gal/lz"); prepare+=("fresh lz; rm -rf $gal/lz-out"); }
export -f fresh links; export gal work photo
args=()
for i in "${!commands[@]}"; do args+=(--prepare "bash -c '${prepare[$i]}'" "${commands[$i]}"); done
hyperfine -w 1 -r "$runs" --export-json "$work/gallery.json" "${args[@]}"
echo "gallery of 30, Pictra / vipsthumbnail -P2 (writes no pages): $(median_ratio "$work/gallery.json" 0 1)"
for i in $(seq 3 $((${#commands[@]} - 1))); do
    echo "gallery of 30, Pictra / ${commands[$i]%% *}: $(median_ratio "$work/gallery.json" 0 "$i")"
done

# Memory over 1,000 photos (hard links): the peak must not grow with the count.
for n in 30 1000; do
    dir=$(links $n)
    /usr/bin/time -v "$tool" height 700 "$dir"/f*.jpg 2>&1 | awk -v n=$n '/Maximum resident/ {print n " photos: peak " $6 " KB"}'
done
