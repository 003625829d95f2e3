#!/usr/bin/env python3
"""Big programs in the real window, by hand (not part of CI):

  scripts/with-xvfb.sh -w env ZS_PROGRAM=build/src/Zelvorin-Step python3 bench/big_program_bench.py [STEPS...]

For each size (default 100000 and 1000000): File > Open of a program of that many Delay steps
through the real file chooser, then Append, Insert and Delete by their buttons, then Play for a
while and Stop. Prints, per action, the CPU time (user + system, /proc/PID/stat) the program
spent and the wall time until the window answered again: a click on the menu bar opens the File
menu only once the UI thread is free; the probe's own time is printed first, as "nothing". Also the program's peak memory (VmHWM)."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "program"))
import zs_program as zs  # noqa: E402
import zs_editing as ze  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def peak_memory_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def answers(program):
    """Waits until the window handles a click again: the File menu opens, then closes."""
    x, y, _, _ = zs.geometry(program.window)
    zs.click_for_popup(x + 12, y + program.menu_height // 2, timeout=600)
    zs.key("Escape")
    time.sleep(0.2)


def measure(program, what, action, repeat=1):
    pid = program.process.pid
    cpu, start = cpu_seconds(pid), time.monotonic()
    for _ in range(repeat):
        action()
    answers(program)
    wall = time.monotonic() - start - 0.2  # less the pause after the probe
    used = cpu_seconds(pid) - cpu
    print("  %-28s cpu %8.3f s   wall until it answers %8.3f s" % (what, used / repeat, wall / repeat),
          flush=True)


def run_size(steps):
    with zs.Program() as program:
        path = program.file("big%d.stp" % steps)
        zs.write_step_file(path, ["3;0.0;step %d" % i for i in range(steps)])
        print("%d steps" % steps, flush=True)
        program.menu("File", "Open", disabled=zs.DISABLED_AT_START)

        def open_chosen():
            chooser = zs.wait_window("Filename")
            zs.poll(lambda: zs.focused_window() == chooser, what="focus on the chooser")
            time.sleep(0.5)
            zs.key("End")
            zs.type_text(os.path.basename(path))
            zs.key("Return")
            zs.wait_no_window("Filename", timeout=600)

        measure(program, "nothing (the probe alone)", lambda: None)
        measure(program, "open (from the chooser)", open_chosen)
        for name, button in (("append", 63), ("insert", 64), ("delete", 65)):
            measure(program, name + " (one click, of 3)",
                    lambda b=button: program.click(*ze.navigation_button(b)), repeat=3)

        def play_a_while():
            program.click(*ze.PLAY)
            time.sleep(3)
            program.click(*ze.STOP)

        measure(program, "play 3 s, then stop", play_a_while)
        print("  peak memory %.0f MB" % peak_memory_mb(program.process.pid), flush=True)


def main():
    for steps in [int(a) for a in sys.argv[1:]] or [100000, 1000000]:
        run_size(steps)


if __name__ == "__main__":
    main()
