#!/usr/bin/env bash
# Pasting 10,000 small marked files and 10 files of 100 MB against cp, and moving
# 10,000 files into the bin against mv into a folder of the same file system;
# the same files, each pair in one hyperfine run. Installs hyperfine itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
cmake --build --preset default --target marked_tool
tool=$PWD/build/bin/marked_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-marked}
mkdir -p "$work/small" "$work/big"
[ -f "$work/small/f9999.txt" ] || (cd "$work/small" && for i in $(seq 0 9999); do echo "Datei $i" > "f$i.txt"; done)
[ -f "$work/big/g9.bin" ] || for i in $(seq 0 9); do head -c 100000000 /dev/urandom > "$work/big/g$i.bin"; done
for set in small big; do
    hyperfine -w 1 -r 5 -N --prepare "rm -rf $work/to" --export-json "$work/paste-$set.json" \
        "bash -c 'mkdir -p $work/to && $tool paste $work/$set $work/to'" \
        "bash -c 'mkdir -p $work/to && cp $work/$set/* $work/to/'"
done
hyperfine -w 1 -r 5 -N --prepare "bash -c 'rm -rf $work/from $work/bin $work/mv && cp -r $work/small $work/from && mkdir -p $work/mv'" \
    --export-json "$work/bin.json" \
    "$tool bin $work/from $work/bin" \
    "bash -c 'mv $work/from/* $work/mv/'"
echo "paste 10,000 small files, Pictra / cp: $(ratio "$work/paste-small.json")"
echo "paste 10 files of 100 MB, Pictra / cp: $(ratio "$work/paste-big.json")"
echo "10,000 files into the bin, Pictra / mv: $(ratio "$work/bin.json")"
