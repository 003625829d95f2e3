#!/usr/bin/env python3
"""Start-up time and idle CPU use of the real program, by hand (not part of CI):

  scripts/with-xvfb.sh python3 bench/startup_bench.py [BUILD_DIR]

Start-up: milliseconds from the exec of the program to the map of its window "Zelvorin-Step",
taken by tests/program/zs_x_helper, which watches the root window for the map (median of 10
starts; each start runs a fresh copy in an empty folder, so it also writes its help document).
Idle: CPU time (user + system, from /proc/PID/stat) the program uses in 10 s after its window
showed, as a share of one core. Targets: under 150 ms and under 1 %.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

TITLE = "Zelvorin-Step"


def fresh_copy(program):
    folder = tempfile.mkdtemp(prefix="zs-bench.")
    copy = os.path.join(folder, "Zelvorin-Step")
    shutil.copy2(program, copy)
    return folder, copy


def helper_value(helper, *args):
    out = subprocess.run([helper, *args], stdout=subprocess.PIPE, text=True, check=True,
                         timeout=120).stdout.split()
    return dict(zip(out[::2], out[1::2]))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.join(build, "src", "Zelvorin-Step")
    helper = os.path.join(build, "tests", "program", "zs_x_helper")
    times = []
    for _ in range(10):
        folder, copy = fresh_copy(program)
        try:
            times.append(float(helper_value(helper, "startup", TITLE, copy)["map_ms"]))
        finally:
            shutil.rmtree(folder, ignore_errors=True)
    print("start-up to window mapped: median %.1f ms (min %.1f, max %.1f; target < 150)"
          % (statistics.median(times), min(times), max(times)))
    folder, copy = fresh_copy(program)
    try:
        idle = helper_value(helper, "idle", TITLE, "10", copy)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("idle CPU over %.1f s: %.3f s = %.2f %% of one core (target < 1 %%)"
          % (float(idle["wall_s"]), float(idle["idle_cpu_s"]), float(idle["percent"])))


if __name__ == "__main__":
    main()
