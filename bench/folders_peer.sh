#!/usr/bin/env bash
# The folder commands on a fixed tree of 129,220 files in 1,200 folders (sparse files, 1,330 of them over
# 10 MB, 166 empty folders) against find: the largest files against find -size | sort | tail, all subfolders
# against find -type d, empty folders against find -type d -empty. The floor is a getdents and statx walk of
# every entry on one thread. Goal: faster than find in each (ratio below 1.0).
# Installs hyperfine and jq itself. The tree is made once in PICTRA_BENCH_DIR (else
# /var/tmp/pictra-bench-folders); PICTRA_BENCH_SMALL=1 makes and times a tree a tenth of the size instead.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
source bench/peer_common.sh
# A shared working tree builds under its lock (PICTRA_BUILD_LOCK), never with more than two jobs.
${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target folders_tool >/dev/null
tool=$PWD/build/bin/folders_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-folders}
if [ "${PICTRA_BENCH_SMALL:-0}" = 1 ]; then tree=$work/small; make=make-small; last=o3/u28; else tree=$work/tree; make=make; last=o39/u28; fi
[ -d "$tree/$last" ] || { rm -rf "$tree"; mkdir -p "$work"; "$tool" "$make" "$tree"; }
echo "tree: $(find "$tree" -type f | wc -l) files in $(find "$tree" -mindepth 1 -type d | wc -l) folders"
# The same answers first: a fast wrong answer is no answer.
diff <("$tool" largest "$tree") <(find "$tree" -type f -size +9999999c -printf '%s %p\n' | sort -n | tail -100 | sort -k1,1n -k2,2)
diff <("$tool" folders "$tree" | sort) <(find "$tree" -mindepth 1 -type d | sort)
diff <("$tool" empty "$tree" | sort) <(find "$tree" -mindepth 1 -type d -empty | sort)
ms() { jq -r ".results[$2].median * 1000 | floor | tostring + \" ms\"" "$work/$1.json"; }
run() {
    hyperfine -w 2 -r 10 -N --export-json "$work/$1.json" "${@:3}" >/dev/null
    echo "$2 | $(ms "$1" 0) | $(ms "$1" 1) | $(ratio "$work/$1.json" | cut -c1-5) | < 1.0"
}
echo "job | pictra | peer | ratio | goal"
run largest "largest files (find -size +9999999c | sort -n | tail -100)" "$tool largest $tree" \
    "bash -c \"find $tree -type f -size +9999999c -printf '%s %p\\\\n' | sort -n | tail -100\""
run folders "all subfolders (find -type d)" "$tool folders $tree" "find $tree -type d"
run empty "empty folders (find -type d -empty)" "$tool empty $tree" "find $tree -type d -empty"
hyperfine -w 2 -r 10 -N --export-json "$work/floor.json" "$tool floor $tree" "find $tree -type d" >/dev/null
echo "floor: getdents and statx walk, one thread (find -type d) | $(ms floor 0) | $(ms floor 1) | $(ratio "$work/floor.json" | cut -c1-5) | reported"
