#!/usr/bin/env bash
# Sorting 300,000 lines alphabetically and numerically against GNU sort with
# LC_ALL=C (byte order, as the program sorts), both in one hyperfine run each.
# Installs hyperfine itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
cmake --build --preset default --target line_tool
tool=$PWD/build/bin/line_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-lines}
mkdir -p "$work"
if [ ! -f "$work/lines.txt" ]; then
    awk 'BEGIN { srand(7); for (i = 0; i < 300000; i++) printf "Zeile %d Wert %d,%d Text %08x\r\n", int(rand()*1e6), int(rand()*1000), int(rand()*100), int(rand()*4e9) }' > "$work/lines.txt"
fi
hyperfine -w 1 -r 10 -N --export-json "$work/alpha.json" \
    "$tool alpha $work/lines.txt $work/out-alpha.txt" \
    "env LC_ALL=C sort -o $work/out-sort.txt $work/lines.txt"
hyperfine -w 1 -r 10 -N --export-json "$work/num.json" \
    "$tool num $work/lines.txt $work/out-num.txt" \
    "env LC_ALL=C sort -t, -k1.12g -o $work/out-sortn.txt $work/lines.txt"
echo "alphabetical sort of 300,000 lines, Pictra / LC_ALL=C sort: $(ratio "$work/alpha.json")"
echo "numeric sort of 300,000 lines, Pictra / LC_ALL=C sort -g: $(ratio "$work/num.json")"
