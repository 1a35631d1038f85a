#!/usr/bin/env bash
# The whole speed and memory table against the programs our users would pick instead,
# in one run on a quiet machine: the window jobs (window_peer.sh), the picture jobs
# (picture_peer.sh), sorting (lines_peer.sh), pasting (marked_peer.sh), and in-process
# the keystroke at the end of a 1 MB text and replace-all in 10 MB (against sed as a
# whole process). Each part installs its own peers. Prints every part's lines and, at
# the end, the table's lines together. About 15 minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
log=$(mktemp)
trap 'rm -f "$log"' EXIT
part() {  # script → its lines, kept for the summary
    echo "== $1"
    bash "bench/$1" 2>&1 | tee -a "$log" | grep -E '/|MB' || true
}
part window_peer.sh
part picture_peer.sh
part lines_peer.sh
part marked_peer.sh

${PICTRA_BUILD_LOCK:+flock "$PICTRA_BUILD_LOCK"} cmake --build build -j2 --target bench_ui_documents bench_ui_edit
export QT_QPA_PLATFORM=offscreen
ms() {  # benchmark binary, filter → its real time in ms
    "build/bin/$1" --benchmark_filter="$2" --benchmark_format=json 2>/dev/null |
        jq -r '.benchmarks[0] | (if .time_unit == "ms" then .real_time else .real_time / 1e6 end)'
}
key=$(ms bench_ui_documents BM_KeystrokeAtTheEndOfOneMegabyte)
replace=$(ms bench_ui_edit BM_ReplaceEveryCommonWord)
work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-table}
mkdir -p "$work"
python3 - "$work/zehn.txt" <<'PY'
import sys
line = 'Die Schüler üben für die Prüfung, die Lehrerin liest die Arbeiten durch.\r\n'
with open(sys.argv[1], 'w', encoding='cp1252', newline='') as f:
    f.write(line * (10_000_000 // len(line)))
PY
hyperfine -w 1 -r 5 -N --prepare "cp $work/zehn.txt $work/sed.txt" --export-json "$work/sed.json" \
    "sed -i s/die/Heft/gI $work/sed.txt" >/dev/null
sed_ms=$(jq -r '.results[0].median * 1000' "$work/sed.json")
{
    echo "keystroke at the end of a 1 MB text → painted: Pictra $key ms (goal ≤ 10 ms)"
    echo "replace-all of a common word in 10 MB, in the editor: Pictra $replace ms, sed whole process $sed_ms ms (goal < 200 ms)"
} | tee -a "$log"
echo
echo "== the table"
grep -E '/|MB|ms' "$log" | grep -v '^==' || true
