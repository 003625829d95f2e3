#!/usr/bin/env python3
"""Big programs in the real window, by hand (not part of CI):

  scripts/with-xvfb.sh -w env ZS_PROGRAM=build/src/Zelvorin-Step python3 bench/big_program_bench.py [STEPS...]

For each size (default 100000 and 1000000): File > Open of a program of that many Delay steps
through the real file chooser, then Append, Insert and Delete by their buttons, then Play for a
while and Stop. Prints, per action, the CPU time (user + system, /proc/PID/stat) the program
spent and the wall time until it was idle again (the driver's own clicks and typing included;
"nothing" shows the cost of the wait alone). Also the program's peak memory (VmHWM)."""
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
    """Waits until the program is idle again: under 5 ms of CPU time in 100 ms."""
    pid = program.process.pid
    while True:
        before = cpu_seconds(pid)
        time.sleep(0.1)
        if cpu_seconds(pid) - before < 0.005:
            return


def click(program, at):
    # No --sync: a move to where the pointer already is would wait for a motion that never comes.
    zs.xdotool("mousemove", *program.client_to_screen(*at), "click", 1)


def measure(program, what, action, repeat=1):
    pid = program.process.pid
    cpu, start = cpu_seconds(pid), time.monotonic()
    for _ in range(repeat):
        action()
    answers(program)
    wall = time.monotonic() - start - 0.1  # less the idle slice that ended the wait
    used = cpu_seconds(pid) - cpu
    print("  %-28s cpu %8.3f s   wall until idle %8.3f s" % (what, used / repeat, wall / repeat),
          flush=True)


def run_size(steps):
    with zs.Program() as program:
        path = program.file("big%d.stp" % steps)
        zs.write_step_file(path, ["3;0.0;step %d" % i for i in range(steps)])
        print("%d steps" % steps, flush=True)
        measure(program, "nothing (the probe alone)", lambda: None)
        program.menu("File", "Open", disabled=zs.DISABLED_AT_START)

        def open_chosen():
            chooser = zs.wait_window("Filename")
            zs.poll(lambda: zs.focused_window() == chooser, what="focus on the chooser")
            time.sleep(0.5)
            zs.key("End")
            zs.type_text(os.path.basename(path))
            zs.key("Return")
            zs.wait_no_window("Filename", timeout=600)

        measure(program, "open (from the chooser)", open_chosen)
        for name, button in (("append", 63), ("insert", 64), ("delete", 65)):
            measure(program, name + " (one click, of 3)",
                    lambda b=button: click(program, ze.navigation_button(b)), repeat=3)

        def play_a_while():
            click(program, ze.PLAY)
            time.sleep(3)
            click(program, ze.STOP)

        measure(program, "play 3 s, then stop", play_a_while)
        print("  peak memory %.0f MB" % peak_memory_mb(program.process.pid), flush=True)


def main():
    for steps in [int(a) for a in sys.argv[1:]] or [100000, 1000000]:
        run_size(steps)


if __name__ == "__main__":
    main()
