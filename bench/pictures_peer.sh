#!/usr/bin/env bash
# Times Pictra's picture paths against peer programs on the same 24-megapixel
# JPEG photograph, whole processes in one hyperfine run each, and prints the
# median ratios. Installs its peers itself (vips, djpeg/jpegtran, hyperfine, ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/.."
peers=(libvips-tools libjpeg-turbo-progs hyperfine imagemagick jq)
missing=()
for p in "${peers[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
cmake --build --preset default --target picture_tool bench_ui_pictures bench_captions bench_ui_captions
tool=build/bin/picture_tool
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-pictures}
mkdir -p "$work"
photo=$work/photo24mp.jpg
if [ ! -f "$photo" ]; then
    # Something like a photograph: smooth plasma with fine noise, at camera quality.
    convert -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian -quality 92 "$photo"
fi
identify "$photo"

median_ratio() {  # json file, index of ours, index of the peer
    jq -r ".results[$2].median / .results[$3].median" "$1"
}

hyperfine -w 2 -r 10 -N --export-json "$work/fit.json" \
    "$tool fit $photo 1920 1080 $work/fit.jpg" \
    "vipsthumbnail $photo --size 1920x1080 -o $work/vips.jpg[Q=90]" \
    "djpeg -outfile /dev/null $photo"
hyperfine -w 2 -r 10 -N --export-json "$work/turn.json" \
    "$tool turn $photo $work/turned.jpg" \
    "vips rot $photo $work/vips-turned.jpg[Q=90] d90" \
    "jpegtran -rotate 90 -outfile $work/jt.jpg $photo"

echo "fit 1920x1080, Pictra / vipsthumbnail: $(median_ratio "$work/fit.json" 0 1)"
echo "fit 1920x1080, Pictra / djpeg (full decode): $(median_ratio "$work/fit.json" 0 2)"
echo "turn right + JPEG 90, Pictra / vips rot: $(median_ratio "$work/turn.json" 0 1)"
echo "turn right + JPEG 90, Pictra / jpegtran: $(median_ratio "$work/turn.json" 0 2)"
"$tool" compare "$photo" 1920 1080

# Three caption lines of 20 points at the top left, as a ".jp0" beside the photo
# shows them, against ImageMagick's -annotate and vips text + composite.
cp "$photo" "$work/caption.jpg"
printf '#14000000fffffe Ferien am Meer\r\n#14000000ffffff Sommer 2024\r\n_mit Oma und Opa\r\n' > "$work/caption.jp0"
cat > "$work/vips-caption.sh" <<VIPS
set -e
vips text "$work/t.v" "Ferien am Meer
Sommer 2024
mit Oma und Opa" --font "Liberation Sans 20" --dpi 96
vips bandjoin "$work/t.v $work/t.v $work/t.v $work/t.v" "$work/t4.v"
vips copy "$work/t4.v" "$work/t4s.v" --interpretation srgb
vips composite2 "$photo" "$work/t4s.v" "$work/vips-caption.jpg[Q=90]" over --x 25 --y 20
VIPS
hyperfine -w 2 -r 10 --export-json "$work/caption.json" \
    "$tool caption $work/caption.jpg $work/captioned.jpg" \
    "convert $photo -pointsize 20 -annotate +25+20 'Ferien am Meer' -annotate +25+50 'Sommer 2024' -annotate +25+80 'mit Oma und Opa' -quality 90 $work/im-caption.jpg" \
    "bash $work/vips-caption.sh"
echo "caption + JPEG 90, Pictra / convert -annotate: $(median_ratio "$work/caption.json" 0 1)"
echo "caption + JPEG 90, Pictra / vips text + composite: $(median_ratio "$work/caption.json" 0 2)"

# Stepping through 30 such photographs in the picture window.
mkdir -p "$work/photos"
for i in $(seq -w 1 30); do [ -f "$work/photos/foto$i.jpg" ] || cp "$photo" "$work/photos/foto$i.jpg"; done
PICTRA_BENCH_PHOTOS="$work/photos" QT_QPA_PLATFORM=offscreen build/bin/bench_ui_pictures
build/bin/bench_captions
QT_QPA_PLATFORM=offscreen build/bin/bench_ui_captions
