#!/usr/bin/env bash
# Starts a program and returns once its window shows what it was started with,
# so hyperfine can time whole window programs side by side. Prints nothing.
#   window_shown.sh named PATTERN -- COMMAND...   a window whose name matches PATTERN exists
#   window_shown.sh sized PATTERN -- COMMAND...   such a window is wider than 200 pixels
#                                               (the picture window starts small and takes
#                                               the picture's size once the picture is there)
#   window_shown.sh memory PATTERN -- COMMAND...  as `named`, then 1.5 s later prints the
#                                               program's peak memory in kB
# The program is killed afterwards. The window is looked for every 20 ms: polling the X
# server much faster makes it refuse connections now and then, the program's among them.
set -uo pipefail
mode=$1 pattern=$2
shift 3
"$@" >/dev/null 2>&1 &
pid=$!
shown() {
    local w
    for w in $(xdotool search --name "$pattern" 2>/dev/null); do
        [ "$mode" != sized ] && return 0
        local width
        width=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
        [ "${width:-0}" -gt 200 ] && return 0
    done
    return 1
}
for _ in $(seq 1 1500); do
    shown && break
    kill -0 "$pid" 2>/dev/null || { echo "window_shown: program ended early: $*" >&2; exit 1; }
    sleep 0.02
done
if [ "$mode" = memory ]; then
    sleep 1.5
    awk '/VmHWM/ {print $2}' "/proc/$pid/status"
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
rm -f /tmp/pictra-[0-9]*.lock  # the instance lock, never the build lock
exit 0
