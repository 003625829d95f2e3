"""The Windows program under Wine plays a step file with --play: a Window "Activate" step finds
Wine's notepad by a part of its title, Keyboard steps type a text into it and save it through the
Save As dialog, which a Window "Wait" step waits for. The saved file must hold exactly the text.

  ZS_WINDOWS_PROGRAM=build-win/src/Zelvorin-Step.exe WINEPREFIX=... \
  scripts/with-xvfb.sh -w python3 tests/wine/test_play_into_notepad.py
"""
import os
import shutil
import subprocess
import tempfile
import unittest

from test_command_line import WINE_START, program_path, wine_environment, windows_path, zs

TEXT = "Played by title: a+b=(c*d) 100%"


class PlayIntoNotepad(unittest.TestCase):
    def setUp(self):
        self.program = program_path()
        self.folder = tempfile.mkdtemp(prefix="zs-wine-notepad.")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.addCleanup(subprocess.run, ["wineserver", "-k"], stderr=subprocess.DEVNULL)
        self.notepad = subprocess.Popen(["wine", "notepad"], env=wine_environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.notepad.wait, 30)
        self.addCleanup(self.notepad.kill)
        zs.poll(lambda: zs.run("xdotool", "search", "--name", "Notepad", check=False),
                timeout=WINE_START, what="notepad's window")

    def play(self, code_lines):
        """Plays a step file with --play; returns the exit status and standard error."""
        steps = os.path.join(self.folder, "steps.stp")
        zs.write_step_file(steps, code_lines)
        # Files, not pipes: Wine's services hold a pipe open while its server lives.
        with tempfile.TemporaryFile() as err:
            done = subprocess.run(["wine", self.program, "--play", windows_path(steps)],
                                  stdout=subprocess.DEVNULL, stderr=err, env=wine_environment(),
                                  timeout=WINE_START * 2)
            err.seek(0)
            return done.returncode, err.read().decode("latin-1").replace("\r\n", "\n")

    def test_text_typed_into_notepad_found_by_title_is_saved_exactly(self):
        saved = os.path.join(self.folder, "typed.txt")
        status, errors = self.play([
            "10;Activate;- Notepad;30.0;0;find it by a part of its title",
            "2;String;%s{ENTER}second line;" % TEXT,
            "2;String;{CONTROLDOWN}s{CONTROLUP};",
            "10;Wait;Save As;30.0;0;",
            "2;String;%s{ENTER};" % windows_path(saved),
            "10;WaitClose;Save As;30.0;0;",
        ])
        self.assertEqual((status, errors), (0, ""))
        expected = (TEXT + "\r\nsecond line").encode("ascii")
        try:
            zs.poll(lambda: saved_text(saved) == expected, what="the saved file")
        except TimeoutError:
            pass
        self.assertEqual(saved_text(saved), expected)

    def test_a_title_that_never_shows_ends_the_run_with_status_3(self):
        status, errors = self.play(["10;Activate;No such window;0.5;0;", "2;String;x;"])
        self.assertEqual((status, errors), (3, "Step 1: Window not found: No such window\n"))


def saved_text(path):
    """The file's bytes without a UTF-8 byte order mark; None while there is no file."""
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        content = f.read()
    return content[3:] if content.startswith(b"\xef\xbb\xbf") else content


if __name__ == "__main__":
    unittest.main(verbosity=2)
