#!/usr/bin/env bash
# Pictra's batch picture commands and gallery against peer programs, whole processes,
# Pictra and its peer in one hyperfine run each, on photographs of 24 megapixels
# (hard links of one photo):
#   bash bench/batch_peer.sh        30 photos, memory 30 against 300 photos (about 5 minutes)
#   bash bench/batch_peer.sh full   also 300 photos, memory 30 against 1,000 photos (about 15 minutes)
# Prints one line per job: "job | pictra | peer | ratio | goal". Installs its peers itself
# (vips, ImageMagick, djpeg, hyperfine, GNU time, fgallery, llgal, lazygal); a gallery
# generator that cannot be installed is left out. Builds only batch_tool, through the build lock.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-30}
case $mode in 30 | full) ;; *) echo "usage: bash bench/batch_peer.sh [full]" >&2; exit 2 ;; esac

peers=(libvips-tools imagemagick libjpeg-turbo-progs hyperfine jq time fgallery llgal lazygal)
missing=()
for p in "${peers[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq >/dev/null || true
    for p in "${missing[@]}"; do
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$p" \
            >/dev/null 2>&1 || echo "($p could not be installed)" >&2
    done
fi
flock /tmp/pictra-build.lock cmake --build build -j2 --target batch_tool >/dev/null
tool=$PWD/build/bin/batch_tool
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-batch}
mkdir -p "$work"
log=$work/hyperfine.log  # hyperfine's warnings about a busy machine
: >"$log"
photo=$work/photo.jpg
if [ ! -f "$photo" ]; then
    /usr/bin/convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian \
        -quality 92 "$photo"
fi
# A folder of n hard links of the photo: the same bytes under n names.
links() {
    local dir=$work/p$1
    if [ ! -d "$dir" ] || [ "$(find "$dir" -maxdepth 1 -name 'f*.jpg' | wc -l)" -ne "$1" ]; then
        rm -rf "$dir"; mkdir -p "$dir"
        for i in $(seq -w 1 "$1"); do ln "$photo" "$dir/f$i.jpg"; done
    fi
    echo "$dir"
}
median() { jq -r ".results[$2].median" "$1"; }
# job | pictra | peer | ratio | goal, from results i (Pictra) and j (the peer) of one hyperfine run.
row() {
    local json=$1 job=$2 i=$3 j=$4 peer=$5 goal=$6 a b
    a=$(median "$json" "$i"); b=$(median "$json" "$j")
    printf '%s | %.2f s | %s %.2f s | %.2f | %s\n' "$job" "$a" "$peer" "$b" "$(echo "$a / $b" | bc -l)" "$goal"
}

echo "job | pictra | peer | ratio | goal"
counts=(30); [ "$mode" = full ] && counts+=(300)
for n in "${counts[@]}"; do
    dir=$(links "$n"); out=$work/out$n; mkdir -p "$out"
    cat "$photo" >/dev/null  # in the page cache before the first timed run, as no warm-up run is spent
    json=$work/resize$n.json
    # Shell lines: the file lists are globbed and piped.
    hyperfine --style none -w 0 -r 2 --export-json "$json" \
        "$tool height 700 $dir/f*.jpg" \
        "$tool height 700 smooth $dir/f*.jpg" \
        "ls $dir/f*.jpg | xargs -P2 -n$(((n + 1) / 2)) vipsthumbnail --size x700 -o $out/%s.jpg" \
        "vipsthumbnail --size x700 -o $out/%s.jpg $dir/f*.jpg" \
        "mogrify -path $out -define jpeg:size=1400x1400 -resize x700 $dir/f*.jpg" >/dev/null 2>>"$log"
    job="Bilder in gleicher Höhe abspeichern, $n photos to 700 px"
    row "$json" "$job" 0 2 "vipsthumbnail -P2" "≤ 1.0"
    row "$json" "$job, smooth" 1 2 "vipsthumbnail -P2" "≤ 0.8"
    row "$json" "$job" 0 3 "vipsthumbnail (one process)" "—"
    row "$json" "$job" 0 4 "mogrify jpeg:size" "—"
    row "$json" "$job, smooth" 1 4 "mogrify jpeg:size" "—"
    # mogrify decoding every photo whole takes ten times as long: one run, beside one of Pictra's.
    json=$work/resize$n-mogrify.json
    hyperfine --style none -r 1 --export-json "$json" "$tool height 700 $dir/f*.jpg" \
        "mogrify -path $out -resize x700 $dir/f*.jpg" >/dev/null 2>>"$log"
    row "$json" "$job" 0 1 "mogrify" "—"
done

# Galleries with 200-px small pictures of the 30 photos; each run gets a fresh folder of links.
gal=$work/gallery; rm -rf "$gal"; mkdir -p "$gal"
src=$(links 30)
cat >"$work/fresh.sh" <<EOF
rm -rf "$gal/\$1" "$gal/\$1-out"; mkdir -p "$gal/\$1"; ln "$src"/f*.jpg "$gal/\$1/"
EOF
fresh="sh $work/fresh.sh"
pictra_gallery=("--prepare" "$fresh pictra" "$tool gallery 200 $gal/pictra")
json=$work/gallery.json
hyperfine --style none -w 0 -r 3 --export-json "$json" "${pictra_gallery[@]}" \
    --prepare "mkdir -p $gal/vips" "ls $src/f*.jpg | xargs -P2 -n15 vipsthumbnail --size x200 -o $gal/vips/%s.jpg" \
    --prepare "true" "ls $src/f*.jpg | xargs -P2 -n1 djpeg -scale 1/8 -outfile /dev/null" >/dev/null 2>>"$log"
row "$json" "gallery of 30, 200 px (pages too)" 0 1 "vipsthumbnail -s x200 -P2 (no pages)" "≤ 1.0"
row "$json" "gallery of 30, 200 px (pages too)" 0 2 "djpeg -scale 1/8 -P2 (decode floor)" "—"
# The generators take far longer: one run each, beside one run of Pictra's.
generators=()
command -v fgallery >/dev/null && generators+=("fgallery|$fresh fg|fgallery -j 2 -s -d -k --no-sRGB $gal/fg $gal/fg-out")
command -v llgal >/dev/null && generators+=("llgal|$fresh ll|llgal -d $gal/ll --tx 200 --ty 200")
command -v lazygal >/dev/null && generators+=("lazygal|$fresh lz|lazygal -o $gal/lz-out $gal/lz")
for g in "${generators[@]}"; do
    IFS='|' read -r name prepare command <<<"$g"
    json=$work/gallery-$name.json
    if hyperfine --style none -r 1 --export-json "$json" "${pictra_gallery[@]}" \
        --prepare "$prepare" "$command" >/dev/null 2>>"$log"; then
        row "$json" "gallery of 30, 200 px" 0 1 "$name" "≤ 0.2 (5× faster)"
    else
        echo "gallery of 30, 200 px | — | $name failed | — | ≤ 0.2 (5× faster)"
    fi
done

# Memory: the peak must not grow with the number of photos.
many=300; [ "$mode" = full ] && many=1000
peak() { /usr/bin/time -v "$tool" height 700 "$(links "$1")"/f*.jpg 2>&1 | awk '/Maximum resident/ {print $6}'; }
p30=$(peak 30); pmany=$(peak "$many")
printf 'peak memory, %s photos to 700 px | %d MB | %d MB at 30 | %.2f | ≤ 1.1 (flat)\n' "$many" \
    $((pmany / 1024)) $((p30 / 1024)) "$(echo "$pmany / $p30" | bc -l)"
