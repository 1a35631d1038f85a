#!/usr/bin/env bash
# Renaming 20,000 files IMG_n.jpg by consecutive numbering and by the multi-file
# rename against mmv and rename (Perl), with 20,000 bare renameat2 calls as the
# floor; splitting 1 GB into 50 KB pieces and joining them against split -b and
# cat. The same files for every command of one hyperfine run. Installs
# hyperfine, mmv and rename itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
if ! command -v mmv >/dev/null || ! command -v file-rename >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends mmv rename
fi
cmake --build --preset default --target rename_tool
tool=$PWD/build/bin/rename_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-rename}
mkdir -p "$work/template"
[ -f "$work/template/IMG_19999.jpg" ] || (cd "$work/template" && for i in $(seq 0 19999); do : > "IMG_$i.jpg"; done)
fresh="bash -c 'rm -rf $work/run && cp -r $work/template $work/run'"
hyperfine -w 1 -r 10 -N --prepare "$fresh" --export-json "$work/rename.json" \
    "$tool number $work/run" \
    "$tool several $work/run bild" \
    "bash -c 'cd $work/run && mmv \"IMG_*.jpg\" \"bild#1.jpg\"'" \
    "bash -c 'cd $work/run && file-rename \"s/^IMG_/bild/\" *.jpg'" \
    "$tool floor $work/run"
median() { jq -r ".results[$1].median" "$work/rename.json"; }
over() { echo "scale=2; $(median "$1") / $(median "$2")" | bc; }
echo "numbering 20,000 files, Pictra / mmv: $(over 0 2)   / rename: $(over 0 3)   / floor: $(over 0 4)"
echo "multi-file rename of 20,000 files, Pictra / mmv: $(over 1 2)   / rename: $(over 1 3)   / floor: $(over 1 4)"

[ -f "$work/big.bin" ] || head -c 1000000000 /dev/urandom > "$work/big.bin"
hyperfine -w 1 -r 5 -N --prepare "bash -c 'rm -rf $work/pieces && mkdir $work/pieces && ln $work/big.bin $work/pieces/big.bin'" \
    --cleanup "bash -c 'rm -rf $work/pieces'" --export-json "$work/split.json" \
    "$tool split $work/pieces/big.bin 50" \
    "bash -c 'cd $work/pieces && split -a 5 -d -b 50000 big.bin big'"
mkdir -p "$work/joined"
[ -f "$work/joined/big19999.bin" ] || (cd "$work/joined" && split -a 5 -d -b 50000 ../big.bin big && for f in big?????; do mv "$f" "$f.bin"; done)
hyperfine -w 1 -r 5 -N --prepare "rm -f $work/whole.bin" --export-json "$work/join.json" \
    "$tool join $work/joined $work/whole.bin" \
    "bash -c 'cat $work/joined/* > $work/whole.bin'"
cmp "$work/whole.bin" "$work/big.bin"
echo "split 1 GB into 50 KB pieces, Pictra / split: $(ratio "$work/split.json")"
echo "join 20,000 pieces of 1 GB, Pictra / cat: $(ratio "$work/join.json")"
