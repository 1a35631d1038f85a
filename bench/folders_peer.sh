#!/usr/bin/env bash
# The folder commands on a fixed tree of 129,220 files in 1,200 folders (sparse
# files, 1,330 of them over 10 MB, 166 empty folders) against find: the largest
# files against find -size | sort | tail, all subfolders against find -type d,
# empty folders against find -type d -empty; the floor is a getdents and statx
# walk of every entry on one thread. Installs hyperfine and jq itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
# A shared working tree builds under its lock (PICTRA_BUILD_LOCK), never with more than two jobs.
${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target folders_tool
tool=$PWD/build/bin/folders_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-folders}
tree=$work/tree
[ -d "$tree/o39/u28" ] || { rm -rf "$tree"; mkdir -p "$work"; "$tool" make "$tree"; }
# The same answers first: a fast wrong answer is no answer.
diff <("$tool" largest "$tree") <(find "$tree" -type f -size +9999999c -printf '%s %p\n' | sort -n | tail -100 | sort -k1,1n -k2,2)
diff <("$tool" folders "$tree" | sort) <(find "$tree" -mindepth 1 -type d | sort)
diff <("$tool" empty "$tree" | sort) <(find "$tree" -mindepth 1 -type d -empty | sort)
run() {
    hyperfine -w 2 -r 10 -N --export-json "$work/$1.json" "${@:2}" >/dev/null
    echo "$1: Pictra / find $(ratio "$work/$1.json" | cut -c1-5)" \
         "(medians $(jq -r '[.results[].median * 1000 | floor | tostring + " ms"] | join(", ")' "$work/$1.json"))"
}
run largest "$tool largest $tree" "bash -c \"find $tree -type f -size +9999999c -printf '%s %p\\\\n' | sort -n | tail -100\"" "$tool floor $tree"
run folders "$tool folders $tree" "find $tree -type d" "$tool floor $tree"
run empty "$tool empty $tree" "find $tree -type d -empty" "$tool floor $tree"
echo "floor (getdents and statx, one thread) / find -type d: $(jq -r '.results[2].median / .results[1].median' "$work/folders.json" | cut -c1-5)"
