#!/usr/bin/env bash
# Listing the files that hold a word, case respected and ignored, in a fixed-seed
# tree of 20,000 Windows-1252 text files (306 MB, 1,200 folders; the word in 137
# files and in capitals in 23 more) against ripgrep with two threads and with one;
# the floor is the same walk reading every file without matching. Installs
# ripgrep and hyperfine itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
if ! command -v rg >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends ripgrep
fi
cmake --build --preset default --target search_tool
tool=$PWD/build/bin/search_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-search}
tree=$work/tree
[ -d "$tree/o29/u39" ] || { rm -rf "$tree"; "$tool" make "$tree"; }
# The counts first: a fast wrong answer is no answer.
check() { local got; got=$("$@" | wc -l); [ "$got" -eq "$expected" ] || { echo "$* listed $got files, not $expected" >&2; exit 1; }; }
expected=137; check "$tool" list "$tree" Gartenzwerg case 2; check rg -l -j2 Gartenzwerg "$tree"
expected=160; check "$tool" list "$tree" Gartenzwerg nocase 2; check rg -li -j2 Gartenzwerg "$tree"
run() {
    hyperfine -w 2 -r 10 -N --export-json "$work/$1.json" "${@:2}" >/dev/null
    echo "$1: Pictra / ripgrep $(jq -r '.results[0].median / .results[1].median' "$work/$1.json" | cut -c1-5)" \
         "(medians $(jq -r '[.results[].median * 1000 | floor | tostring + " ms"] | join(", ")' "$work/$1.json"))"
}
run case-2-threads "$tool list $tree Gartenzwerg case 2" "rg -l -j2 Gartenzwerg $tree" "$tool floor $tree 2"
run nocase-2-threads "$tool list $tree Gartenzwerg nocase 2" "rg -li -j2 Gartenzwerg $tree" "$tool floor $tree 2"
run case-1-thread "$tool list $tree Gartenzwerg case 1" "rg -l -j1 Gartenzwerg $tree" "$tool floor $tree 1"
echo "floor (walk and read every file, 2 threads) / ripgrep -l: $(jq -r '.results[2].median / .results[1].median' "$work/case-2-threads.json" | cut -c1-5)"
# The window from "Start Suche" to its closing tone, against the tool's median of the same search.
cmake --build --preset default --target bench_ui_search
PICTRA_BENCH_DIR=$work QT_QPA_PLATFORM=offscreen build/bin/bench_ui_search --benchmark_format=json > "$work/window.json"
for i in 0 1; do
    name=$(jq -r ".benchmarks[$i].name" "$work/window.json")
    window_s=$(jq -r ".benchmarks[$i].real_time / 1000" "$work/window.json")
    file=$([ "$i" -eq 0 ] && echo case-2-threads || echo nocase-2-threads)
    echo "$name: window / tool $(jq -r ".results[0].median" "$work/$file.json" | awk -v w="$window_s" '{ printf "%.2f", w / $1 }')"
done
