#!/usr/bin/env bash
# "Automatisch ausrichten" of two 100,000-line files (8 MB, 1 % of the lines
# changed, some inserted and deleted) against GNU diff, with cmp as the floor; the
# drive copy of 100,000 small files with nothing new against rsync -a, and a first
# full copy against cp -r and rsync -a (each followed by one sync of the target);
# one file of 1 GB against cp --reflink=auto and rsync -a.
# Installs hyperfine, jq and rsync itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
command -v rsync >/dev/null || { sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo); "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends rsync; }
cmake --build --preset default --target compare_tool >/dev/null
tool=$PWD/build/bin/compare_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-compare}
mkdir -p "$work"
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
hyperfine -w 2 -r 10 -N -i --export-json "$work/align.json" \
    "$tool align $work/a.txt $work/b.txt" \
    "diff $work/a.txt $work/b.txt" \
    "cmp $work/a.txt $work/b.txt" \
    "$tool positional $work/a.txt $work/b.txt"
median() { jq -r ".results[$2].median" "$1"; }
over() { echo "scale=2; $(median "$1" "$2") / $(median "$1" "$3")" | bc; }
echo "aligning 100,000 lines, Pictra / diff: $(over "$work/align.json" 0 1)   / cmp (floor): $(over "$work/align.json" 0 2)"
echo "positional compare of 100,000 lines: $(jq -r '.results[3].median * 1000' "$work/align.json") ms (process included)"

src="$work/src"
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
rm -rf "$work/ours" "$work/theirs" && "$tool" copy "$src" "$work/ours" >/dev/null && rsync -a "$src/" "$work/theirs/"
hyperfine -w 1 -r 10 -N --export-json "$work/unchanged.json" \
    "$tool copy $src $work/ours" \
    "rsync -a $src/ $work/theirs/"
echo "drive copy of 100,000 files with nothing new, Pictra / rsync -a: $(ratio "$work/unchanged.json")"
hyperfine -r 3 --prepare "rm -rf $work/fresh" --export-json "$work/full.json" \
    "$tool copy $src $work/fresh && sync -f $work" \
    "cp -r $src $work/fresh && sync -f $work" \
    "rsync -a $src/ $work/fresh/ && sync -f $work"
echo "first full copy of 100,000 files, Pictra / cp -r: $(over "$work/full.json" 0 1)   / rsync -a: $(over "$work/full.json" 0 2)"

# One file of 1 GB, copied new against cp (reflinks where the file system has
# them) and rsync, each followed by one sync of the target.
big="$work/big"
if [ ! -f "$big/d/eins.bin" ]; then
    mkdir -p "$big/d"
    dd if=/dev/urandom of="$big/d/eins.bin" bs=1M count=1024 status=none
fi
hyperfine -r 3 --prepare "rm -rf $work/big-copy" --export-json "$work/big.json" \
    "$tool copy $big $work/big-copy && sync -f $work" \
    "cp -r --reflink=auto $big $work/big-copy && sync -f $work" \
    "rsync -a $big/ $work/big-copy/ && sync -f $work"
echo "one file of 1 GB ($(stat -f -c %T "$work") here), Pictra / cp --reflink=auto: $(over "$work/big.json" 0 1)   / rsync -a: $(over "$work/big.json" 0 2)"
