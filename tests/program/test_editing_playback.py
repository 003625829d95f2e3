"""Playing step programs into the X test client, with Pause, Play, Stop and Escape.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/test_editing_playback.py

Waits are polls with deadlines. Where a test shows that something did NOT happen, it waits
until well after it would have happened (a delay step's length and more), then syncs with the
client so that everything the server delivered is in its log.
"""
import time
import unittest

import zs_editing as ze
import zs_program

DELAY_SECONDS = 6  # long enough to press a button during it on a loaded machine
XK_F2, XK_ESCAPE = 0xFFBF, 0xFF1B


class PlaybackTest(unittest.TestCase):

    def setUp(self):
        self.program = ze.start_program(self)
        self.client = ze.TestClient(self.program.folder)
        self.addCleanup(self.client.stop)
        self.cx, self.cy = self.client.centre()

    def load(self, code_lines):
        ze.open_step_file(self.program, "play.stp", code_lines)
        self.idle_stop_button = ze.region_pixels(self.program, ze.STOP_INSIDE)
        # Loading leaves the focus with the program; the client takes it back, as a user's
        # click into the application being automated would.
        zs_program.activate(self.client.window)

    def play_once_the_run_ended(self):
        """Clicks Play once the Stop button looks as it does while nothing plays: until a run
        has ended, Play is disabled and the click would go nowhere."""
        zs_program.poll(lambda: ze.region_pixels(self.program, ze.STOP_INSIDE)
                        == self.idle_stop_button, what="the run to end")
        self.program.click(*ze.PLAY)

    def click_into_client(self):
        return "1;L_Click;%d;%d;" % (self.cx, self.cy)

    def a_delay_b(self):
        """Types "a", waits, then types "b"; clicks into the client before each text."""
        return [self.click_into_client(), "2;String;a;", "3;%d.0;" % DELAY_SECONDS,
                self.click_into_client(), "2;String;b;"]

    def wait_past_delay(self):
        time.sleep(DELAY_SECONDS + 4)
        self.client.sync()

    def wait_for_running_countdown(self):
        """Waits until the delay step runs: its countdown changes."""
        def changing():
            before = ze.region_pixels(self.program, ze.COUNTDOWN)
            time.sleep(0.3)
            return ze.region_pixels(self.program, ze.COUNTDOWN) != before
        zs_program.poll(changing, what="the delay's countdown to run")

    def settled_countdown(self):
        """The countdown's pixels once they stay the same for half a second."""
        def unchanged():
            before = ze.region_pixels(self.program, ze.COUNTDOWN)
            time.sleep(0.5)
            return before if ze.region_pixels(self.program, ze.COUNTDOWN) == before else None
        return zs_program.poll(unchanged, what="the countdown to stand still")

    def test_played_clicks_and_keys_arrive_in_order(self):
        self.load([
            self.click_into_client(),
            "2;String;Hello, World! {ENTER};",
            "2;Key;{F2};",
            "2;String;{SHIFTDOWN}ab{SHIFTUP}c;",
            "1;R_Click;%d;%d;" % (self.cx + 20, self.cy + 10),
            "2;String;end;",
        ])
        self.program.click(*ze.PLAY)
        self.client.wait_for_text("end")
        self.client.sync()
        events = [line.split()[0] for line in self.client.lines()
                  if line.split()[0] in ("KEY", "BUTTON")]
        self.assertEqual(events[0], "BUTTON")  # the click came before any key
        self.assertEqual(self.client.buttons(),
                         [(1, self.cx, self.cy), (3, self.cx + 20, self.cy + 10)])
        self.assertEqual(self.client.text(), "Hello, World! \rABcend")
        self.assertIn(XK_F2, [k.keysym for k in self.client.keys()])
        ze.shot(self.program, "playback-done.png")

    def test_characters_beyond_the_keyboard_layout_arrive(self):
        self.load([self.click_into_client(), "2;String;Grüße, 5 € @ naïve;"])
        self.program.click(*ze.PLAY)
        self.assertEqual(self.client.wait_for_text("naïve"), "Grüße, 5 € @ naïve")

    def test_message_step_waits_for_ok_and_execute_step_starts_a_file(self):
        marker = self.program.file("started")
        script = self.program.file("start me.sh")
        with open(script, "w") as f:
            f.write("#!/bin/sh\necho started > '%s'\n" % marker)
        ze.os.chmod(script, 0o755)
        self.load(["8;%s;" % script, "9;Go on?;", self.click_into_client(), "2;String;x;"])
        self.program.click(*ze.PLAY)
        zs_program.poll(lambda: ze.os.path.exists(marker), what="the started file's output")
        zs_program.wait_window("PAUSE")
        ze.shot(self.program, "playback-message.png")
        self.client.sync()
        self.assertEqual(self.client.text(), "", "typing went on before the message was answered")
        self.program.answer_box("PAUSE")
        self.assertEqual(self.client.wait_for_text("x"), "x")

    def test_stop_or_escape_at_a_message_ends_the_run(self):
        """Regression: the message box swallowed a click on Stop, and the player forgot the
        Escape that closed the box: after OK the run went on."""
        self.load(["9;Stop here;", self.click_into_client(), "2;String;x;"])
        for end_by in ("Stop", "Escape"):
            self.play_once_the_run_ended()
            box = zs_program.wait_window("PAUSE")
            if end_by == "Stop":
                self.program.click(*ze.STOP)
            zs_program.activate(box)
            zs_program.poll(lambda: zs_program.focused_window() == box, what="focus on the box")
            zs_program.key("Return" if end_by == "Stop" else "Escape")
            zs_program.wait_no_window("PAUSE")
        self.play_once_the_run_ended()
        self.program.answer_box("PAUSE")
        self.client.wait_for_text("x")
        self.client.sync()
        self.assertEqual(self.client.text(), "x", "a run went on after its message")

    def test_pause_holds_the_run_and_play_resumes_it(self):
        self.load(self.a_delay_b())
        self.program.click(*ze.PLAY)
        self.client.wait_for_text("a")
        self.wait_for_running_countdown()
        self.program.click(*ze.PAUSE)
        countdown = self.settled_countdown()
        ze.shot(self.program, "playback-paused.png")
        self.wait_past_delay()
        self.assertEqual(self.client.text(), "a", "typing went on while paused")
        self.assertEqual(ze.region_pixels(self.program, ze.COUNTDOWN), countdown,
                         "the delay's countdown went on while paused")
        self.program.click(*ze.PLAY)
        self.assertEqual(self.client.wait_for_text("ab"), "ab")

    def test_stop_during_a_delay_ends_the_run_and_play_starts_again(self):
        self.load(self.a_delay_b())
        self.program.click(*ze.PLAY)
        self.client.wait_for_text("a")
        self.wait_for_running_countdown()
        self.program.click(*ze.STOP)
        self.wait_past_delay()
        self.assertEqual(self.client.text(), "a", "typing went on after Stop")
        ze.shot(self.program, "playback-stopped.png")
        self.play_once_the_run_ended()  # a new run from step 1
        self.assertEqual(self.client.wait_for_text("aab"), "aab")

    def test_stop_while_paused_then_play_starts_a_new_run(self):
        self.load(self.a_delay_b())
        self.program.click(*ze.PLAY)
        self.client.wait_for_text("a")
        self.wait_for_running_countdown()
        self.program.click(*ze.PAUSE)
        self.settled_countdown()
        self.program.click(*ze.STOP)
        self.play_once_the_run_ended()
        self.assertEqual(self.client.wait_for_text("aab"), "aab")

    def test_play_from_current_step_skips_the_steps_before_it(self):
        self.load(self.a_delay_b())
        self.program.click(*ze.navigation_button(62))  # last: types "b"
        self.program.click(*ze.navigation_button(59))  # previous: the click before it
        self.program.menu("Control", "Play from current step", disabled={"Pause", "Stop"})
        self.client.wait_for_text("b")
        self.client.sync()
        self.assertEqual(self.client.text(), "b")
        self.assertEqual(self.client.buttons(), [(1, self.cx, self.cy)])

    def test_escape_pressed_while_idle_does_not_stop_the_next_run(self):
        self.load([self.click_into_client(), "2;String;ok;"])
        zs_program.key("Escape")
        self.client.sync()
        self.program.click(*ze.PLAY)
        self.assertEqual(self.client.wait_for_text("ok"), "\x1bok")

    def test_escape_in_another_window_stops_the_run(self):
        self.load(self.a_delay_b())
        self.program.click(*ze.PLAY)
        self.client.wait_for_text("a")
        self.wait_for_running_countdown()
        zs_program.key("Escape")  # the client has the focus, not the program
        self.wait_past_delay()
        # The client got the Escape key itself (its text is ESC) and nothing after it.
        self.assertEqual(self.client.text(), "a\x1b", "typing went on after Escape")
        self.assertEqual(self.client.keys()[-1].keysym, XK_ESCAPE)
        self.play_once_the_run_ended()  # a new run
        self.assertEqual(self.client.wait_for_text("a\x1bab"), "a\x1bab")


if __name__ == "__main__":
    zs_program.main()
