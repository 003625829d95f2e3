"""Unattended runs of the real program (--play FILE): the exit status says how the run ended,
a failure is a line on standard error instead of a box, and the window shows during the run."""
import os
import shutil
import subprocess
import tempfile

import zs_editing as ze
import zs_program as zs
from test_ending_releases_input import HOLDING_TEXT, XServer


class PlayedRun:
    """The program started with --play on a step file of its own folder; standard error apart."""

    def __init__(self, testcase, code_lines=None, content=None):
        self.program = zs.Program()
        testcase.addCleanup(self.program.cleanup)
        self.path = self.program.file("run.stp")
        if content is not None:
            with open(self.path, "wb") as f:
                f.write(content)
        elif code_lines is not None:
            ze.write_utf8_step_file(self.path, code_lines)
        self.errors = open(os.path.join(self.program.folder, "stderr.txt"), "w+")
        testcase.addCleanup(self.errors.close)
        self.process = subprocess.Popen([self.program.path, "--play", self.path],
                                        cwd=self.program.folder, stdout=subprocess.DEVNULL,
                                        stderr=self.errors)
        self.program.process = self.process

    def window(self):
        self.program.window = zs.poll(self.program._own_window, what="the main window")
        return self.program.window

    def end(self):
        """The exit status and the lines on standard error."""
        status = self.program.wait_end()
        self.errors.seek(0)
        return status, self.errors.read().splitlines()


class UnattendedRun(zs.ProgramTestCase):
    def test_the_exit_status_and_the_error_line_say_how_the_run_ended(self):
        rows = (  # name, code lines or file content, status, lines on standard error
            ("a run to its last step", ["7;working;", "3;0.1;"], 0, []),
            ("an uninitialised port", ["7;working;", "5;COM7;String;ATZ;"], 3,
             ["Step 2: Port is not initialised!"]),
            ("a port that cannot be opened", ["5;COM80;Initialise;9600 N 8 1;",
                                              "5;COM80;String;ATZ;"], 3,
             ["Step 2: Can't open port!"]),
            ("no file", None, 2, None),
            ("another program's file", b"Another-Program 1.0\r\nx\r\n\r\n3;1.0;\r\n", 2, None),
        )
        for name, steps, status, lines in rows:
            with self.subTest(name):
                run = (PlayedRun(self, content=steps) if isinstance(steps, bytes)
                       else PlayedRun(self, code_lines=steps))
                got_status, got_lines = run.end()
                self.assertEqual(got_status, status, got_lines)
                if lines is not None:
                    self.assertEqual(got_lines, lines)
                else:  # the reason, in one line
                    self.assertEqual(len(got_lines), 1, got_lines)
                    self.assertTrue(got_lines[0].strip(), got_lines)

    def test_a_message_step_shows_its_box_over_the_window_and_the_run_ends_after_it(self):
        run = PlayedRun(self, ["7;working;", "9;All done;"])
        run.window()
        run.program.answer_box("PAUSE")
        self.assertEqual(run.end(), (0, []))

    def test_escape_during_a_delay_ends_the_run_with_status_1(self):
        # The box tells the test the run is under way; the Delay is the step that Escape ends.
        run = PlayedRun(self, ["9;go;", "3;600.0;", "7;not reached;"])
        run.window()
        run.program.answer_box("PAUSE")
        zs.key("Escape")
        self.assertEqual(run.end(), (1, []))

    def test_closing_the_window_mid_run_ends_with_status_1_and_no_key_down(self):
        server = XServer()
        self.addCleanup(server.close)
        folder = tempfile.mkdtemp(prefix="zs-client.")
        self.addCleanup(shutil.rmtree, folder, True)
        client = ze.TestClient(folder)
        self.addCleanup(client.stop)
        cx, cy = client.centre()
        run = PlayedRun(self, ["1;L_Click;%d;%d;" % (cx, cy), "2;String;%s;" % HOLDING_TEXT])
        window = run.window()
        zs.poll(lambda: len(client.keys()) > 20, what="typing to begin")
        zs.send_close(window)
        self.assertEqual(run.end(), (1, []))
        self.assertEqual(server.keys_down(), [])


if __name__ == "__main__":
    zs.main()
