"""The command line of the Windows program under Wine: --help and usage errors reach the script
that started the GUI program, with their exit status; a file argument arrives in the ANSI code
page and is opened as File > Open opens it.

  ZS_WINDOWS_PROGRAM=build-win/src/Zelvorin-Step.exe WINEPREFIX=... \
  scripts/with-xvfb.sh python3 tests/wine/test_command_line.py

Wine runs in the caller's WINEPREFIX; the arguments are read in the locale's character set, so
the test runs in a UTF-8 locale.
"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "program"))
import zs_program as zs  # noqa: E402

STEPS = ["3;0.5;wait first", "9;Done;"]
WINE_START = 60.0  # a fresh prefix takes many seconds on a loaded machine


def program_path():
    path = os.environ.get("ZS_WINDOWS_PROGRAM")
    if not path or not os.path.isfile(path):
        raise unittest.SkipTest("ZS_WINDOWS_PROGRAM does not name Zelvorin-Step.exe")
    return path


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_environment():
    return dict(os.environ, LC_ALL="C.UTF-8")


class ConsoleAnswers(unittest.TestCase):
    def test_help_and_usage_errors_reach_the_caller_with_their_status(self):
        program = program_path()
        rows = (  # arguments, exit status, whether the usage goes to standard output
            (["--help"], 0, True),
            (["--bogus"], 2, False),
            (["one.stp", "two.stp"], 2, False),
        )
        for arguments, status, on_output in rows:
            with self.subTest(arguments=arguments):
                # Files, not pipes: Wine's services hold a pipe open while its server lives.
                with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
                    done = subprocess.run(["wine", program] + arguments, stdout=out,
                                          stderr=err, env=wine_environment(),
                                          timeout=WINE_START)
                    output, errors = (read_text(f) for f in (out, err))
                self.assertEqual(done.returncode, status)
                usage, other = (output, errors) if on_output else (errors, output)
                self.assertTrue(usage.startswith("Usage: Zelvorin-Step.exe [FILE]\n"), usage)
                self.assertNotIn("Usage", other)


class FileArgument(unittest.TestCase):
    def setUp(self):
        self.program = program_path()
        self.folder = tempfile.mkdtemp(prefix="zs-wine-arguments.")
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        for name in os.listdir(self.folder):
            os.remove(os.path.join(self.folder, name))
        os.rmdir(self.folder)

    def write_steps(self, name):
        path = os.path.join(self.folder, name)
        zs.write_step_file(path, STEPS)
        return path

    def start(self, path):
        self.process = subprocess.Popen(["wine", self.program, windows_path(path)],
                                        env=wine_environment(), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return zs.wait_window("Zelvorin-Step", timeout=WINE_START)

    def test_a_name_in_the_code_page_is_opened_and_saved_back(self):
        path = self.write_steps("café.stp")
        window = self.start(path)
        out = zs.xdotool("getwindowgeometry", "--shell", window)
        place = dict(line.split("=") for line in out.split())
        before = os.stat(path).st_mtime_ns
        # File > Save, enabled only once a program with a file name is open.
        zs.click_for_popup(int(place["X"]) + 15, int(place["Y"]) + 9, timeout=WINE_START)
        zs.key("Down", "Down", "Down", "Return")
        zs.poll(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        lines = zs.poll(lambda: complete_lines(path), what="the whole file")
        self.assertEqual(lines[0], "Zelvorin-Step 2.5")
        self.assertEqual(lines[3:], STEPS)

    # Regression: the C runtime's arguments map a character that the code page lacks to a
    # look-alike ("Ω" to "O"), so the program opened another file of that name.
    def test_a_name_outside_the_code_page_is_refused_not_mistaken_for_another(self):
        self.write_steps("step-O.stp")
        self.start(os.path.join(self.folder, "step-Ω.stp"))
        zs.wait_window("Error", timeout=WINE_START)


class UnattendedRun(unittest.TestCase):
    def test_the_run_returns_its_status_and_error_line_to_the_caller(self):
        program = program_path()
        rows = (  # code lines, exit status, standard error
            (["7;working;", "3;0.1;"], 0, ""),
            (["7;working;", "5;COM7;String;ATZ;"], 3, "Step 2: Port is not initialised!\n"),
        )
        folder = tempfile.mkdtemp(prefix="zs-wine-play.")
        self.addCleanup(os.rmdir, folder)
        for steps, status, errors in rows:
            with self.subTest(steps=steps):
                path = os.path.join(folder, "run.stp")
                zs.write_step_file(path, steps)
                self.addCleanup(lambda: os.path.exists(path) and os.remove(path))
                with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
                    done = subprocess.run(["wine", program, "--play", windows_path(path)],
                                          stdout=out, stderr=err, env=wine_environment(),
                                          timeout=WINE_START)
                    got = read_text(err)
                self.assertEqual((done.returncode, got), (status, errors))


def read_text(stream):
    stream.seek(0)
    return stream.read().decode("latin-1").replace("\r\n", "\n")


def complete_lines(path):
    with open(path, "rb") as f:
        content = f.read()
    return content.decode("latin-1").split("\r\n")[:-1] if content.endswith(b"\r\n") else None


if __name__ == "__main__":
    unittest.main(verbosity=2)
