#!/usr/bin/env bash
# File compare and drive copy against their peers, whole processes in one
# hyperfine run each, one line per job: "job | pictra | peer | ratio | goal".
#   - the compare window shown on two 100,000-line files and "Neu vergleichen"
#     alone (bench_ui_compare, no peer);
#   - "Automatisch ausrichten" of two 100,000-line files (8 MB, 1 % of the lines
#     changed, some inserted and deleted) against GNU diff, cmp as the floor;
#   - the drive copy of 100,000 small files with nothing new against rsync -a, the
#     floor two statx walks (source and target) run in parallel;
#   - a first full copy of them and one file of 1 GB, on the file system of the
#     work folder and on tmpfs, against cp -r (--reflink=auto) and rsync -a, every
#     command followed by one sync of the target's file system as ours ends.
# Installs hyperfine, jq and rsync itself; builds compare_tool and bench_ui_compare
# through the build lock. About 4 minutes on a quiet machine (6 on a busy one
# once the test files exist).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
if ! command -v rsync >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends rsync
fi
flock /tmp/pictra-build.lock cmake --build build -j2 --target compare_tool bench_ui_compare >/dev/null
tool=$PWD/build/bin/compare_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-compare}
shm=${PICTRA_BENCH_TMPFS:-/dev/shm/pictra-bench-compare}
mkdir -p "$work" "$shm"
# hyperfine's warnings about a busy machine go to a log instead of between the result lines.
log=$work/hyperfine.log
: >"$log"
trap 'echo "compare_peer.sh failed at line $LINENO (hyperfine messages: $log)" >&2' ERR
trap 'rm -rf "$shm"' EXIT

median() { jq -r ".results[$2].median" "$1"; }
# One line: job, our median, the peer's median, their ratio, the goal.
line() {
    local ours peer
    ours=$(median "$1" "$2"); peer=$(median "$1" "$3")
    printf '%s | %.3f s | %s %.3f s | %s | %s\n' "$4" "$ours" "$5" "$peer" \
        "$(echo "$ours $peer" | awk '{ printf "%.2f", $1 / $2 }')" "$6"
}

if [ ! -f "$work/b.txt" ]; then
    python3 - "$work" <<'PY'
import random, sys
random.seed(4711)
work = sys.argv[1]
words = "Schule Klasse Note Eltern Brief Termin Ausflug Zeugnis Heft Tafel Kreide Pause".split()
a = [" ".join(random.choice(words) for _ in range(10)) + " %d" % i for i in range(100000)]
b = []
for line in a:
    r = random.random()
    if r < 0.004: continue                      # deleted
    if r < 0.008: b.append("eingefuegt " + line)  # inserted before
    if r < 0.01: line = line.replace("e", "E", 1)  # changed
    b.append(line)
open(work + "/a.txt", "w", newline="\r\n").write("\n".join(a) + "\n")
open(work + "/b.txt", "w", newline="\r\n").write("\n".join(b) + "\n")
PY
fi
a=$work/a.txt b=$work/b.txt
# A fast wrong answer is no answer: after aligning, the rows that differ are those of
# diff's stretches (a stretch of n lines against m takes max(n, m) rows).
rows=$({ diff "$a" "$b" || true; } | awk -F'[acd]' '/^[0-9]/ {
    n = split($1, l, ","); m = split($2, r, ",")
    old = (index($0, "a") ? 0 : (n == 2 ? l[2] - l[1] + 1 : 1)); new = (index($0, "d") ? 0 : (m == 2 ? r[2] - r[1] + 1 : 1))
    rows += (old > new ? old : new) } END { print rows + 0 }')
aligned=$("$tool" align "$a" "$b" | cut -d' ' -f1)
echo "# rows differing after aligning: $aligned; by diff's stretches: $rows"

echo "job | pictra | peer | ratio | goal"
QT_QPA_PLATFORM=offscreen build/bin/bench_ui_compare --benchmark_format=json >"$work/window.json" 2>/dev/null
ms() { jq -r ".benchmarks[] | select(.name | startswith(\"$1\")) | .real_time" "$work/window.json" | head -1 | awk '{ printf "%.1f", $1 }'; }
echo "compare window shown, 100,000 lines | $(ms BM_CompareWindowShown) ms | - | - | < 300 ms"
echo "positional compare (Neu vergleichen), 100,000 lines | $(ms BM_PositionalCompare) ms | - | - | < 20 ms"
echo "Automatisch ausrichten in the window | $(ms BM_AlignInTheWindow) ms | - | - | -"

hyperfine --style none -w 3 -r 15 -N -i --export-json "$work/align.json" \
    "$tool align $a $b" "diff $a $b" "cmp $a $b" "$tool positional $a $b" >/dev/null 2>>"$log"
line "$work/align.json" 0 1 "align 100,000 lines (process)" diff "< 1.0"
line "$work/align.json" 2 1 "  floor: cmp" diff "-"
line "$work/align.json" 3 1 "  positional compare (process)" diff "-"

src=$work/src
if [ ! -d "$src/d999" ]; then
    mkdir -p "$src"
    python3 - "$src" <<'PY'
import os, sys
src = sys.argv[1]
for d in range(1000):
    folder = os.path.join(src, "d%03d" % d)
    os.makedirs(folder, exist_ok=True)
    for f in range(100):
        with open(os.path.join(folder, "f%03d.txt" % f), "w") as out:
            out.write("Datei %d %d\n" % (d, f) * 20)
PY
fi
# Both backups made once; every later run finds them current.
[ -d "$work/ours/d999" ] || "$tool" copy "$src" "$work/ours" >/dev/null
[ -d "$work/theirs/d999" ] || rsync -a "$src/" "$work/theirs/"
walk() { echo "find $1 -printf '%s %T@\\n' >/dev/null"; }
hyperfine --style none -w 1 -r 8 -N --export-json "$work/unchanged.json" \
    "$tool copy $src $work/ours" "rsync -a $src/ $work/theirs/" >/dev/null 2>>"$log"
hyperfine --style none -w 1 -r 8 --export-json "$work/walks.json" "$(walk "$src") & $(walk "$work/ours"); wait" >/dev/null 2>>"$log"
line "$work/unchanged.json" 0 1 "drive copy, 100,000 files, nothing new" "rsync -a" "<= 0.7"
echo "  floor: two statx walks in parallel | $(jq -r '.results[0].median' "$work/walks.json" | awk '{ printf "%.3f s", $1 }') | rsync -a | $(echo "$(jq -r '.results[0].median' "$work/walks.json") $(median "$work/unchanged.json" 1)" | awk '{ printf "%.2f", $1 / $2 }') | -"

# The first full copy and the 1 GB file, on the work folder's file system and on tmpfs.
for place in "$work" "$shm"; do
    fs=$(df --output=fstype "$place" | tail -1)
    [ -d "$place/src/d999" ] || cp -r "$src" "$place/src"
    hyperfine --style none -r 3 --prepare "rm -rf $place/fresh; sync -f $place" --export-json "$work/full-$fs.json" \
        "$tool copy $place/src $place/fresh >/dev/null && sync -f $place" \
        "cp -r $place/src $place/fresh && sync -f $place" \
        "rsync -a $place/src/ $place/fresh/ && sync -f $place" >/dev/null 2>>"$log"
    line "$work/full-$fs.json" 0 1 "first full copy, 100,000 files ($fs)" "cp -r" "<= 1.0"
    line "$work/full-$fs.json" 0 2 "first full copy, 100,000 files ($fs)" "rsync -a" "-"
    big=$place/big
    if [ ! -f "$big/d/eins.bin" ]; then
        mkdir -p "$big/d"
        dd if=/dev/urandom of="$big/d/eins.bin" bs=1M count=1024 status=none
    fi
    hyperfine --style none -r 3 --prepare "rm -rf $place/big-copy; sync -f $place" --export-json "$work/big-$fs.json" \
        "$tool copy $big $place/big-copy >/dev/null && sync -f $place" \
        "cp -r --reflink=auto $big $place/big-copy && sync -f $place" \
        "rsync -a $big/ $place/big-copy/ && sync -f $place" >/dev/null 2>>"$log"
    line "$work/big-$fs.json" 0 1 "one file of 1 GB ($fs)" "cp --reflink=auto" "<= 1.0"
    line "$work/big-$fs.json" 0 2 "one file of 1 GB ($fs)" "rsync -a" "-"
    if [ "$place" = "$shm" ]; then rm -rf "${shm:?}"/*; fi
done
