#!/usr/bin/env bash
# "Bild einfügen" on 20 photos of 24 megapixels selected in the explorer (and on 200, for the
# scale): Pictra's menu code reads each width and height from the file's header
# (pictures_insert_tool), against ImageMagick's `identify -ping` telling the same sizes of the
# same files. Whole processes, both in one hyperfine run; prints one line per job,
# "job | pictra | peer | ratio | goal", with the median ratio. Goal: faster than identify.
# Installs ImageMagick, exiftool, hyperfine and jq itself.
set -euo pipefail
cd "$(dirname "$0")/.."
peers=(imagemagick libimage-exiftool-perl hyperfine jq)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# A shared working tree builds under its lock, never with more than two jobs.
flock "${PICTRA_BUILD_LOCK:-/tmp/pictra-build.lock}" cmake --build build -j2 --target pictures_insert_tool
tool=$PWD/build/bin/pictures_insert_tool
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-insert}
runs=${RUNS:-30}
site=$work/seite
mkdir -p "$site/bilder"
photo=$work/photo.jpg
# A camera's photo: 6000 × 4000 pixels with an EXIF block and its thumbnail before the picture data.
if [ ! -f "$photo" ]; then
    convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian -quality 92 "$work/raw.jpg"
    convert "$work/raw.jpg" -thumbnail 160x120 "$work/thumb.jpg"
    exiftool -q -o "$photo" -Make=Pictra -Model=Bench -Orientation=1 -n -DateTimeOriginal="2026:05:01 10:00:00" \
        "-ThumbnailImage<=$work/thumb.jpg" "$work/raw.jpg"
    rm -f "$work/raw.jpg" "$work/thumb.jpg"
fi
# Names for the same bytes, in a subfolder of the page they go into: 20 for the goal, 200 to
# show what each further photo costs once both programs are started.
rm -f "$site"/bilder/*.jpg
for i in $(seq -w 1 200); do ln "$photo" "$site/bilder/Foto $i.jpg"; done
echo "photo: $(identify -ping -format '%w × %h' "$photo"), $(du -h --apparent-size "$photo" | cut -f1)"
echo "inserted: $("$tool" "$site/index.html" "$site"/bilder/*.jpg) characters for 200 photos"
ms() { jq -r ".results[$2].median * 1000 | . * 10 | round / 10" "$1"; }
printf '%s | %s | %s | %s | %s\n' "job" "pictra" "peer" "ratio" "goal"
for n in 20 200; do
    files=()
    for f in "$site"/bilder/*.jpg; do [ ${#files[@]} -lt $n ] && files+=("'$f'"); done
    json=$work/insert$n.json
    hyperfine -N -w 3 -r "$runs" --export-json "$json" \
        "$tool '$site/index.html' ${files[*]}" "identify -ping -format '%w %h\n' ${files[*]}" >/dev/null 2>&1
    goal="below 1"; [ $n -eq 20 ] || goal="(scale)"
    printf '%s | %s ms | identify -ping %s ms | %s | %s\n' "Bild einfügen, $n photos of 24 MP" "$(ms "$json" 0)" \
        "$(ms "$json" 1)" "$(jq -r '.results[0].median / .results[1].median | . * 100 | round / 100' "$json")" "$goal"
done
