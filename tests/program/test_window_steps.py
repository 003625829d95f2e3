"""Window and Wait steps played by the real program (--play) into real windows under openbox:
windows found by a part of their title wherever they were moved, windows that come late or
never, pixels that change colour; the editor's field sets and F9 for both types; a recorded
click into a titled window played back after the window moved."""
import os
import shutil
import subprocess
import tempfile
import time

import zs_editing as ze
import zs_program as zs

PLAY_TIMEOUT = 90.0  # a whole run on a loaded machine
RECORD_INFO = (10, 253, 230, 20)  # state text 67, which shows that a recording runs


def titled_window_path():
    """zs_x11_titled_window in the build tree that holds the X test client."""
    client = ze.client_path()
    path = os.path.join(os.path.dirname(client or ""), "zs_x11_titled_window")
    if not client or not os.path.isfile(path):
        raise zs.unittest.SkipTest("the build has no zs_x11_titled_window")
    return path


class Lamp:
    """A titled window of one colour that may turn to another some time after it showed."""

    def __init__(self, folder, title, colour, place, turn=None):
        self.log_path = os.path.join(folder, "lamp-%s.log" % title.replace(" ", "-"))
        self._log = open(self.log_path, "wb")
        x, y, width, height = place
        command = [titled_window_path(), title, colour, str(x), str(y), str(width), str(height)]
        if turn:
            command += ["--turn", turn[0], str(turn[1])]
        self.process = subprocess.Popen(command, stdout=self._log, stderr=subprocess.STDOUT)
        line = zs.poll(lambda: self._line("SHOWN "), what="the window %r" % title)
        self.window = int(line.split()[1])

    def _line(self, start):
        with open(self.log_path) as f:
            return next((l for l in f.read().split("\n")[:-1] if l.startswith(start)), None)

    def turned(self):
        return self._line("TURNING") is not None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        self._log.close()


def move(window, x, y):
    """Moves a managed window as a user drags it, and waits until it lies there."""
    zs.xdotool("windowmove", window, x, y)

    def there():
        # The window manager may put its frame's corner at x, y, and the inside within it.
        now = zs.geometry(window)
        return now if abs(now[0] - x) < 40 and abs(now[1] - y) < 40 else None
    return zs.poll(there, what="window %d at %d, %d" % (window, x, y))


class WindowStepsTestCase(zs.ProgramTestCase):
    def setUp(self):
        if not zs.window_manager_running():
            self.skipTest("needs a window manager (scripts/with-xvfb.sh -w)")
        self.folder = tempfile.mkdtemp(prefix="zs-window-steps.")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def client(self, title, x, y, width=300, height=200):
        """The X test client as an application window, moved to x, y: openbox places a new one
        in the middle, below the program's top-most window."""
        client = ze.TestClient(self.folder, x, y, width, height, title=title)
        self.addCleanup(client.stop)
        client.geometry = move(client.window, x, y)
        return client

    def lamp(self, title, colour, place, turn=None):
        lamp = Lamp(self.folder, title, colour, place, turn)
        self.addCleanup(lamp.stop)
        return lamp

    def start_play(self, code_lines):
        """Starts the program with --play on a step file of these lines; returns the program."""
        program = zs.Program()
        self.addCleanup(program.cleanup)
        path = program.file("steps.stp")
        ze.write_utf8_step_file(path, code_lines)
        program.errors = open(program.file("errors.txt"), "wb")
        self.addCleanup(program.errors.close)
        program.process = subprocess.Popen([program.path, "--play", path], cwd=program.folder,
                                           stdout=subprocess.DEVNULL, stderr=program.errors)
        return program

    def finish(self, program):
        """Waits for a played run's end: its exit status and standard error."""
        status = program.wait_end(PLAY_TIMEOUT)
        program.errors.close()
        with open(program.file("errors.txt"), "rb") as f:
            return status, f.read().decode("utf-8", "replace")

    def play(self, code_lines):
        return self.finish(self.start_play(code_lines))


class MovedWindows(WindowStepsTestCase):
    def test_clicks_and_text_land_in_windows_found_by_title_after_they_moved(self):
        alpha = self.client("Alpha client", 40, 80)
        beta = self.client("Beta client", 900, 600)
        steps = ["10;Activate;Alpha;10.0;0;", "1;L_Click;30;40;", "2;String;left one;",
                 "10;Activate;ta cli;10.0;0;", "1;L_Click;250;150;", "2;String;right two;"]
        alpha_at = move(alpha.window, 120, 560)
        beta_at = move(beta.window, 880, 90)
        status, errors = self.play(steps)
        self.assertEqual((status, errors), (0, ""))
        for client, at, click, text in ((alpha, alpha_at, (30, 40), "left one"),
                                        (beta, beta_at, (250, 150), "right two")):
            client.sync()
            self.assertEqual(client.buttons(), [(1, at[0] + click[0], at[1] + click[1])])
            self.assertEqual(client.text(), text)


class LateAndMissingWindows(WindowStepsTestCase):
    def test_a_window_that_shows_late_is_waited_for(self):
        program = self.start_play(["10;Wait;Late comer;20.0;0;", "10;Activate;Late;20.0;0;",
                                   "1;L_Click;20;30;"])
        zs.wait_window(zs.MAIN_TITLE)  # the run has begun; the window shows 2 s into it
        time.sleep(2)
        late = self.client("Late comer", 100, 500)
        self.assertEqual(self.finish(program), (0, ""))
        late.sync()
        x, y, _, _ = zs.geometry(late.window)
        self.assertEqual(late.buttons(), [(1, x + 20, y + 30)])

    def test_a_window_that_never_shows_takes_the_on_fail_route(self):
        target = self.client("Typing target", 100, 500)
        rows = (  # steps, exit status, standard error, text typed into the target
            (["10;Activate;Typing target;10.0;0;", "10;Activate;Never shown;0.5;4;",
              "2;String;wrong;", "2;String;right;"], 0, "", "right"),
            (["10;Wait;Never shown;0.5;0;", "2;String;wrong;"], 3,
             "Step 1: Window not found: Never shown\n", ""),
            (["10;Activate;Typing target;10.0;0;", "10;WaitClose;Typing;0.3;0;",
              "2;String;wrong;"], 3, "Step 2: Window still open: Typing\n", ""),
        )
        for steps, status, errors, text in rows:
            with self.subTest(steps=steps[1]):
                before = len(target.text())
                self.assertEqual(self.play(steps), (status, errors))
                target.sync()
                self.assertEqual(target.text()[before:], text)


class WaitForColour(WindowStepsTestCase):
    RED, GREEN = "CC0000", "08A204"  # the green is within 8 of #00AA00

    def test_a_pixel_that_turns_green_is_waited_for(self):
        rows = (  # Wait step (after the lamp's activation)
            "11;Color;20;20;#00AA00;8;30.0;0;",
            "11;NotColor;20;20;#CC0000;8;30.0;0;",
        )
        for step in rows:
            with self.subTest(step=step):
                lamp = self.lamp("Lamp", self.RED, (100, 500, 200, 150), (self.GREEN, 2000))
                self.assertEqual(self.play(["10;Activate;Lamp;10.0;0;", step]), (0, ""))
                self.assertTrue(lamp.turned(), "the run ended before the pixel changed")
                lamp.stop()
                zs.wait_no_window("Lamp")

    def test_a_colour_beyond_the_tolerance_times_out_with_the_colour_found(self):
        self.lamp("Lamp", self.GREEN, (100, 500, 200, 150))
        status, errors = self.play(["10;Activate;Lamp;10.0;0;",
                                    "11;Color;20;20;#00AA00;7;0.5;0;"])
        self.assertEqual((status, errors), (3, "Step 2: Wait timed out at 20, 20: found #08A204\n"))


class EditorAndRecorder(WindowStepsTestCase):
    def test_window_and_wait_sets_and_f9_fill_title_position_and_colour(self):
        target = self.lamp("F9 target", "3366CC", (60, 520, 240, 160))
        tx, ty, _, _ = zs.geometry(target.window)
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        ze.choose_step_type(program, 10)
        program.focus()
        zs.move_pointer(tx + 100, ty + 80)
        zs.key("F9")
        ze.shot(program, "editor-window-step.png", program.window)
        program.click(*ze.APPEND_STEP)
        ze.choose_step_type(program, 11)
        program.focus()
        # The Activate step above governs it: the position is taken within the target.
        zs.move_pointer(tx + 30, ty + 20)
        zs.key("F9")
        ze.shot(program, "editor-wait-step.png", program.window)
        saved = ze.save_program_as(program, "f9.stp")
        self.assertEqual(ze.code_lines(saved), ["10;Activate;F9 target;10.0;0;",
                                                "11;Color;30;20;#3366CC;0;10.0;0;"])

    def test_a_recorded_click_into_a_titled_window_lands_there_after_it_moved(self):
        target = self.client("Record target", 60, 500)
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.focus()
        idle = ze.region_pixels(program, RECORD_INFO)
        program.menu("Tools", "Record", disabled=("Save", "Pause", "Stop"))
        zs.poll(lambda: ze.region_pixels(program, RECORD_INFO) != idle,
                what="the recording to begin")
        x, y, _, _ = target.geometry
        zs.click_at(x + 40, y + 50)
        target.wait_for_line(lambda l: l.startswith("BUTTON "), 30, "the recorded click")
        zs.key("Escape")
        zs.poll(lambda: ze.region_pixels(program, RECORD_INFO) == idle,
                what="the recording to end")
        program.focus()
        recorded = program.file("recorded.stp")
        program.menu("File", "Save as...", disabled=("Pause", "Stop"))
        program.answer_file_chooser(recorded)
        lines = ze.code_lines(recorded)
        activate = lines.index("10;Activate;Record target;10.0;0;")
        self.assertEqual(lines[activate + 1], "1;L_Click;40;50;")
        program.cleanup()

        at = move(target.window, 700, 120)
        self.assertEqual(self.play(lines), (0, ""))
        target.sync()
        self.assertEqual(target.buttons()[-1], (1, at[0] + 40, at[1] + 50))


if __name__ == "__main__":
    zs.main()
