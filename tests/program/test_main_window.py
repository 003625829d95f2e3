"""The main window of the real program: help document, size, look, top-most state, closing."""
import filecmp
import os
import shutil
import subprocess
import time

import zs_program as zs

HELP_NAME = "Zelvorin-Step_V2.5_HELP.pdf"
HELP_SIZE = 325307


def pixel(image, x, y):
    """(r, g, b) of one pixel of an image file, 0 to 255."""
    channels = ",".join("%%[fx:int(255*p{%d,%d}.%s)]" % (x, y, c) for c in "rgb")
    out = zs.run("convert", image, "-format", channels, "info:")
    return tuple(int(v) for v in out.strip().split(","))


class HelpDocument(zs.ProgramTestCase):
    def test_written_next_to_the_program_on_first_start(self):
        program = self.start_program()
        written = program.file(HELP_NAME)
        self.assertEqual(os.path.getsize(written), HELP_SIZE)
        source = os.environ.get("ZS_SOURCE_DIR")
        if source:
            self.assertTrue(filecmp.cmp(written, os.path.join(source, "docs", HELP_NAME),
                                        shallow=False), "help document differs from docs/")

    def test_an_existing_file_or_folder_is_left_alone(self):
        for make, check in (
                (lambda p: open(p, "w").write("mine"), lambda p: open(p).read() == "mine"),
                (os.mkdir, os.path.isdir)):
            program = zs.Program()
            self.addCleanup(program.cleanup)
            target = program.file(HELP_NAME)
            make(target)
            program.start()
            self.assertTrue(check(target), "the program replaced %s" % target)
            program.cleanup()


class Layout(zs.ProgramTestCase):
    def test_client_area_is_252_by_344_below_the_menu_bar(self):
        program = self.start_program()
        _, _, width, height = zs.geometry(program.window)
        self.assertEqual(width, zs.CLIENT_WIDTH)
        # The window is the menu bar plus the client area; the bar takes one text line.
        self.assertTrue(15 <= program.menu_height <= 40, "menu bar %d high" % program.menu_height)
        self.assertEqual(height, zs.CLIENT_HEIGHT + program.menu_height)
        # The client origin really lies under the bar: the Play button (client 58, 280, 45 x 35)
        # shows its green face at its centre and grey at its outer corners.
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        time.sleep(1.0)
        shot = program.screenshot("main-window.png")
        r, g, b = pixel(shot, 58 + 22, program.menu_height + 280 + 17)
        self.assertTrue(g > 100 and g > r + 50 and g > b + 50, "no green at Play: %s" % ((r, g, b),))
        above = pixel(shot, 58 + 22, program.menu_height + 280 - 6)
        self.assertTrue(abs(above[0] - above[1]) < 20 and abs(above[1] - above[2]) < 20,
                        "not the grey background above Play: %s" % (above,))

    def test_window_is_centred_on_the_screen(self):
        program = self.start_program()
        x, y, width, height = zs.geometry(program.window)
        screen_w, screen_h = (int(v) for v in zs.xdotool("getdisplaygeometry").split())
        self.assertLessEqual(abs(x + width / 2 - screen_w / 2), 2)
        # The client area is centred as it is opened; the menu bar then adds its height.
        self.assertLessEqual(abs(y + height / 2 - screen_h / 2), program.menu_height)


class TopMost(zs.ProgramTestCase):
    def start_other_window(self, title):
        if not shutil.which("xmessage"):
            self.skipTest("xmessage is not installed")
        other = subprocess.Popen(["xmessage", "-title", title, "-geometry", "400x400+300+200",
                                  "another application"])
        self.addCleanup(other.wait, 5)
        self.addCleanup(other.terminate)
        return zs.wait_window(title)

    def test_stays_above_another_window_that_is_raised_and_focused(self):
        program = self.start_program()
        other = self.start_other_window("Another")
        for _ in range(3):
            zs.xdotool("windowraise", other)
            zs.activate(other)
            zs.click_at(310, 210)  # a click into the other window, away from the program
            self.assertIn("_NET_WM_STATE_ABOVE",
                          zs.window_property(program.window, "_NET_WM_STATE"))
            zs.poll(lambda: self.above(program.window, other), timeout=10,
                    what="the program's window above the other one")
        self.assertTrue(program.running())

    @staticmethod
    def above(window, other):
        return zs.stacked_above(window, other)


class Closing(zs.ProgramTestCase):
    def test_close_box_ends_the_program_without_a_question(self):
        program = self.start_program()
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)  # unsaved changes
        time.sleep(0.5)
        zs.send_close(program.window)
        self.assertEqual(program.wait_end(), 0)

    def test_exit_answered_no_keeps_the_program_and_yes_ends_it(self):
        program = self.start_program()
        program.menu("File", "Exit", disabled=zs.DISABLED_AT_START)
        box = program.answer_box("Confirm", yes=False)
        self.assertNotEqual(box, program.window)
        time.sleep(0.5)
        self.assertTrue(program.running(), "No ended the program")
        program.focus()
        program.menu("File", "Exit", disabled=zs.DISABLED_AT_START)
        zs.wait_window("Confirm")
        shot = zs.artefact_path("exit-question.png")
        if shot:
            zs.screenshot(shot)
        program.answer_box("Confirm", yes=True)
        self.assertEqual(program.wait_end(), 0)


class About(zs.ProgramTestCase):
    def test_about_shows_its_box_and_ok_closes_it(self):
        program = self.start_program()
        program.menu("?", "About")
        box = zs.wait_window("About")
        shot = zs.artefact_path("about.png")
        if shot:
            zs.screenshot(shot, box)
        program.answer_box("About")
        self.assertTrue(program.running())
        # The main window takes commands again afterwards.
        program.focus()
        program.menu("File", "Exit", disabled=zs.DISABLED_AT_START)
        program.answer_box("Confirm", yes=True)
        self.assertEqual(program.wait_end(), 0)


if __name__ == "__main__":
    zs.main()
