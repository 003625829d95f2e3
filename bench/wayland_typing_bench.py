#!/usr/bin/env python3
"""Typing throughput on Wayland beside X11, measured in one run.

    bench/wayland_typing_bench.py BUILD_DIR [characters] [runs]

Wayland: the wlroots backend types mixed printable ASCII (lines of 80 characters, each ended by
{ENTER}) through the text sender into a native foot terminal in headless sway, whose `cat`
writes it to a file; a run ends when the file holds all of it. X11: bench/typing_bench.cpp, the
X11 backend typing the same kind of text into the X test client under Xvfb. Prints the median
characters per second of each and whether anything was lost; exits 1 when something was."""
import os
import random
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ALPHABET = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
            " !\"#$%&'()*+,-./:;<=>?@[\\]^_`|~")


def mixed_lines(characters):
    pick = random.Random(12345)
    lines = []
    while sum(len(line) + 1 for line in lines) < characters:
        lines.append("".join(pick.choice(ALPHABET) for _ in range(80)))
    return lines


def wayland_runs(characters, runs):
    """Inside the sway session: one figure a line, 'cps lost'."""
    sys.path.insert(0, os.path.join(ROOT, "tests", "wayland"))
    from wayland_session import Driver, Terminal, sway_window, temporary_folder, wait_until
    driver = Driver()
    assert driver.open("wlroots") == "ok"
    lines = mixed_lines(characters)
    expected = "".join(line + "\n" for line in lines)
    text = "".join(line + "{ENTER}" for line in lines)
    for run in range(runs):
        terminal = Terminal("zs-bench-%d" % run, temporary_folder())
        rect = sway_window(terminal.app_id)
        driver.mouse(rect[0] + rect[2] // 2, rect[1] + rect[3] // 2, "L_Click")
        start = time.monotonic()
        driver.type(text)
        try:
            wait_until(lambda: len(terminal.text()) >= len(expected), lambda: "", timeout=120)
        except AssertionError:
            pass
        seconds = time.monotonic() - start
        got = terminal.text()
        lost = sum(a != b for a, b in zip(expected, got)) + abs(len(expected) - len(got))
        print("%.0f %d" % (len(expected) / seconds, lost), flush=True)
        terminal.close()
    driver.close()


def main():
    if sys.argv[1] == "--inside-sway":
        wayland_runs(int(sys.argv[2]), int(sys.argv[3]))
        return 0
    build = os.path.abspath(sys.argv[1])
    characters = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    env = dict(os.environ, ZS_WAYLAND_DRIVER=os.path.join(build, "tests/wayland/zs_wayland_driver"))
    out = subprocess.check_output(
        [os.path.join(ROOT, "scripts/with-wayland.sh"), "sway", "/usr/bin/python3",
         os.path.abspath(__file__), "--inside-sway", str(characters), str(runs)],
        env=env, text=True)
    wayland = [tuple(float(v) for v in line.split()) for line in out.split("\n") if line]
    x11 = []
    for _ in range(runs):
        result = subprocess.run(
            [os.path.join(ROOT, "scripts/with-xvfb.sh"),
             os.path.join(build, "tests/x11/zs_typing_bench"), str(characters)],
            capture_output=True, text=True)
        words = result.stdout.split()
        x11.append((float(words[words.index("characters") + 4]), 0 if result.returncode == 0 else 1))
    lost = sum(run[1] for run in wayland + x11)
    print("wayland (wlroots, foot in sway): median %.0f characters per second over %d runs"
          % (statistics.median(run[0] for run in wayland), len(wayland)))
    print("x11 (XTest, X test client in Xvfb): median %.0f characters per second over %d runs"
          % (statistics.median(run[0] for run in x11), len(x11)))
    print("lost or wrong: %d" % lost)
    return 1 if lost else 0


if __name__ == "__main__":
    sys.exit(main())
