"""The installed Debian package: the menu entry's command starts the program with a step file,
its window shows and the file is the program's; the command in /usr/bin answers --help.

Run where the package is installed, on an X display with a window manager:
  scripts/with-xvfb.sh -w python3 tests/packaging/test_installed_program.py
"""
import configparser
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "program"))
import zs_editing as ze  # noqa: E402
import zs_program as zs  # noqa: E402

DESKTOP_ENTRY = "/usr/share/applications/org.zelvorin.ZelvorinStep.desktop"
EXAMPLE = "/usr/share/doc/zelvorin-step/examples/loop-jump-state.stp"
HELP_DOCUMENT = "/usr/lib/zelvorin-step/Zelvorin-Step_V2.5_HELP.pdf"
HELP_SIZE = 325307


def menu_command(path):
    """The desktop entry's Exec line with %f replaced by path, as one argument."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(DESKTOP_ENTRY)
    words = shlex.split(entry["Desktop Entry"]["Exec"])
    return [path if word == "%f" else word for word in words]


class InstalledProgram(zs.ProgramTestCase):
    def test_the_menu_entry_opens_a_step_file(self):
        folder = tempfile.mkdtemp(prefix="zs-installed.")
        self.addCleanup(shutil.rmtree, folder)
        path = os.path.join(folder, "loop jump state.stp")  # a blank: one argument all the same
        shutil.copy(EXAMPLE, path)
        program = zs.Program(command=menu_command(path))
        self.addCleanup(program.cleanup)
        program.start()
        ze.shot(program, "installed-program.png", program.window)
        before = os.stat(path).st_mtime_ns
        # Save is enabled only once a program with a file name is open, and writes to it.
        program.menu("File", "Save", disabled={"Pause", "Stop"})
        zs.poll(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        with open(EXAMPLE, "rb") as f:
            example = f.read().split(b"\r\n")
        self.assertEqual(ze.code_lines(path), [line.decode() for line in example[3:-1]])
        # The manual the package brought is kept, not written again.
        self.assertEqual(os.path.getsize(HELP_DOCUMENT), HELP_SIZE)

    def test_the_command_answers_help(self):
        done = subprocess.run(["zelvorin-step", "--help"], stdout=subprocess.PIPE, text=True,
                              timeout=zs.DEFAULT_TIMEOUT)
        self.assertEqual(done.returncode, 0)
        self.assertTrue(done.stdout.startswith("Usage: zelvorin-step [FILE]\n"), done.stdout)


if __name__ == "__main__":
    zs.main()
