#!/usr/bin/env bash
# The plain-text editor on QScintilla (bench/qsci_prototype, never part of the program) against
# the program's current editor widget, each in a bare window of qsci_bench, and against
# featherpad and geany as whole processes, under Xvfb at 1024 x 768: peak memory holding a
# 25 MB text, a keystroke at the end of a 1 MB text until it is drawn, replace-all of a common
# word in a 10 MB document (in process, until painted, against sed as a whole process), and a
# 10 MB text named on the command line until its window shows. Installs QScintilla and the
# peers itself and builds only qsci_bench. Prints one line per job and editor.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
packages=(libqscintilla2-qt6-dev featherpad geany hyperfine jq xdotool xvfb python3-xlib)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
lock=/tmp/pictra-build.lock
# The prototype is configured only where QScintilla was found: configure again once it is there.
grep -q '^PICTRA_QSCINTILLA_LIBRARY:FILEPATH=/' build/CMakeCache.txt 2>/dev/null || flock "$lock" cmake --preset default >/dev/null
flock "$lock" cmake --build build -j2 --target qsci_bench >/dev/null

work=${PICTRA_BENCH_DIR:-/tmp/pictra-bench-qsci}
mkdir -p "$work/home" "$work/bin"
# window_shown.sh clears /tmp/pictra-*.lock after every program (the program's instance lock).
# The build lock's file matches as well, and deleting it under a running build lets the next
# build start beside it; none of the programs timed here takes the instance lock.
cat > "$work/bin/rm" <<'SH'
#!/usr/bin/env bash
args=()
for a in "$@"; do [ "$a" = /tmp/pictra-build.lock ] || args+=("$a"); done
exec /bin/rm "${args[@]}"
SH
chmod +x "$work/bin/rm"
export PATH=$work/bin:$PATH
# Every program starts with settings of its own that a new user would have.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
python3 - "$work" <<'PY'
import os, sys
line = 'Zeile mit etwas Text fuer die Messung der Ladezeit ' * 2 + '\r\n'
for name, size in (('eins.txt', 1_000_000), ('gross10.txt', 10_000_000), ('gross25.txt', 25_000_000)):
    path = f'{sys.argv[1]}/{name}'
    if not os.path.exists(path):
        with open(path, 'w', newline='') as f:
            f.write(line * (size // len(line)))
PY
display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
sleep 1

qsci=$PWD/build/bin/qsci_bench
shown="bash bench/window_shown.sh"
names=(current qsci featherpad geany)
command_for() {  # editor file → the command line that opens the file in that editor
    case $1 in
    featherpad) echo "featherpad $2" ;;
    geany) echo "geany -i $2" ;;
    *) echo "$qsci show $1 $2" ;;
    esac
}
label() {
    case $1 in current) echo "current widget" ;; qsci) echo "QScintilla prototype" ;; qsci-nostyles) echo "QScintilla prototype" ;; *) echo "$1" ;; esac
}
ratio_of() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "job | pictra | peer | ratio | goal"

# Peak memory: median of three readings, 1.5 s after the window shows the text.
declare -A memory
for e in "${names[@]}" qsci-nostyles; do
    memory[$e]=$(for _ in 1 2 3; do
        # shellcheck disable=SC2046
        $shown memory gross25.txt -- $(command_for "$e" "$work/gross25.txt") || true  # an early end: no reading
    done | sort -n | sed -n 2p | awk '{printf "%.0f", $1 / 1024}')
done
for e in current qsci qsci-nostyles; do
    echo "peak memory holding a 25 MB text, $(label "$e")$([ "$e" = qsci-nostyles ] && echo " without style bytes") | ${memory[$e]} MB | featherpad ${memory[featherpad]} MB, geany ${memory[geany]} MB | $(ratio_of "${memory[$e]}" "${memory[featherpad]}") | ≤ featherpad"
done

# A keystroke at the end of 1 MB: median of 20 keys, from the key sent to the X server until drawing.
declare -A key
for e in "${names[@]}"; do
    # shellcheck disable=SC2046
    keystrokes=(/usr/bin/python3 bench/qsci_prototype/keystroke_shown.py eins.txt 20 -- $(command_for "$e" "$work/eins.txt"))
    key[$e]=$("${keystrokes[@]}" || "${keystrokes[@]}")  # once more after an early end
done
for e in current qsci; do
    echo "keystroke at the end of a 1 MB text → drawn, $(label "$e") | ${key[$e]} ms | featherpad ${key[featherpad]} ms, geany ${key[geany]} ms | $(ratio_of "${key[$e]}" "${key[featherpad]}") | ≤ 10 ms"
done

# Replace-all through the editor port (median of five, each undone in one step), against sed.
hyperfine -w 1 -r 10 -N --output=null --export-json "$work/sed.json" "sed s/Text/Wort/g $work/gross10.txt" >/dev/null
sed_ms=$(jq -r '.results[0].median * 1000' "$work/sed.json")
for e in current qsci; do
    read -r ms steps < <(QT_QPA_PLATFORM=offscreen "$qsci" replace "$e" "$work/gross10.txt" Text Wort 2>/dev/null)
    printf '%s\n' "replace-all of a common word in a 10 MB document, $(label "$e") ($steps) | $ms ms | sed whole process $(printf '%.0f' "$sed_ms") ms | $(ratio_of "$ms" "$sed_ms") | < 200 ms"
done

# A 10 MB text named on the command line until its window shows, all four in one hyperfine run.
commands=()
for e in "${names[@]}"; do commands+=("$shown named gross10.txt -- $(command_for "$e" "$work/gross10.txt")"); done
# Now and then a program started by window_shown.sh ends before its window shows (the X server
# refuses a connection while it is polled): such runs are left out of the medians and counted.
hyperfine -w 1 -r 5 -N -i --export-json "$work/load.json" "${commands[@]}" >/dev/null 2>&1
median() {
    jq -r ".results[$1] | [.times as \$t | .exit_codes | to_entries[] | select(.value == 0) | \$t[.key]] | sort
        | if length == 0 then error(\"no run of command $1 succeeded\") else .[length / 2 | floor] end" "$work/load.json"
}
failed=$(jq '[.results[].exit_codes[] | select(. != 0)] | length' "$work/load.json")
for i in 0 1; do
    echo "10 MB text on the command line → window, $(label "${names[$i]}") | $(printf '%.2f' "$(median $i)") s | featherpad $(printf '%.2f' "$(median 2)") s, geany $(printf '%.2f' "$(median 3)") s | $(ratio_of "$(median $i)" "$(median 2)") ($(ratio_of "$(median $i)" "$(median 3)") × geany) | ≤ 1.5× geany"
done
[ "$failed" -eq 0 ] || echo "($failed of $((5 * ${#names[@]})) window runs ended early and are not in the medians)"
