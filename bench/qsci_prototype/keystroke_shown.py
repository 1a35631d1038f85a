#!/usr/bin/python3
"""Milliseconds from a key pressed at the end of a text until the screen changes, for a
window program started as a whole process (so editors of any toolkit compare alike):
    keystroke_shown.py PATTERN KEYS -- COMMAND...
starts COMMAND, waits for a window whose name matches PATTERN, puts the caret at the end
(Ctrl+End), then types KEYS letters through XTest and times each until the X server reports
drawing (Damage on the root window); prints the median in ms. With KEYSTROKE_SHOT=FILE
set, a screenshot of the end goes there. Needs python3-xlib and
xdotool, and a display of its own: the caret blink is waited out before every key.
"""
import os
import random
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, XK, display
from Xlib.ext import damage, xtest


def find_window(pattern, process):
    for _ in range(1500):
        found = subprocess.run(["xdotool", "search", "--name", pattern], capture_output=True, text=True).stdout.split()
        if found:
            return int(found[0])
        if process.poll() is not None:
            sys.exit(f"keystroke_shown: program ended early: {process.args}")
        time.sleep(0.02)
    sys.exit(f"keystroke_shown: no window {pattern}")


def next_damage(d, timeout):
    """True once a Damage event arrives within `timeout` seconds."""
    deadline = time.perf_counter() + timeout
    while True:
        while d.pending_events():
            if d.next_event().type == d.extension_event.DamageNotify:
                return True
        left = deadline - time.perf_counter()
        if left <= 0:
            return False
        select.select([d.fileno()], [], [], left)


def key(d, keysym, press):
    xtest.fake_input(d, X.KeyPress if press else X.KeyRelease, d.keysym_to_keycode(keysym))


def main():
    pattern, keys = sys.argv[1], int(sys.argv[2])
    command = sys.argv[sys.argv.index("--") + 1:]
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wid = find_window(pattern, process)
        d = display.Display()
        window = d.create_resource_object("window", wid)
        time.sleep(1.0)  # the program's own start-up work after the first showing
        geometry = window.get_geometry()
        origin = window.translate_coords(d.screen().root, 0, 0)
        xtest.fake_input(d, X.MotionNotify, x=-origin.x + geometry.width // 2, y=-origin.y + geometry.height // 2)
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        d.sync()
        time.sleep(0.3)
        control, end, letter = XK.string_to_keysym("Control_L"), XK.string_to_keysym("End"), XK.string_to_keysym("a")
        key(d, control, True), key(d, end, True), key(d, end, False), key(d, control, False)
        d.sync()
        time.sleep(0.5)
        d.damage_query_version()
        watch = d.screen().root.damage_create(damage.DamageReportNonEmpty)
        times = []
        for _ in range(keys):
            # A quiet screen first, so that neither the last key's drawing nor a blink is timed.
            while True:
                d.damage_subtract(watch, 0, 0)
                d.sync()
                if not next_damage(d, 0.06 + random.random() * 0.04):
                    break
            d.damage_subtract(watch, 0, 0)
            start = time.perf_counter()
            key(d, letter, True)
            d.flush()
            drawn = next_damage(d, 5.0)
            times.append((time.perf_counter() - start) * 1000)
            key(d, letter, False)
            d.sync()
            if not drawn:
                sys.exit(f"keystroke_shown: nothing drawn after a key: {command}")
        print(f"{statistics.median(times):.1f}")
        if len(sys.argv) > 3 and os.environ.get("KEYSTROKE_SHOT"):
            # To see that the letters went where they were meant to.
            subprocess.run(["import", "-window", "root", os.environ["KEYSTROKE_SHOT"]], check=False)
    finally:
        process.kill()
        process.wait()


main()
