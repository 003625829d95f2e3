"""The real program in headless compositors (scripts/with-wayland.sh), choosing its input backend
itself: it plays a step file named on its command line into a native terminal where the
compositor offers a way in (sway, mutter), and where none is offered (weston) it says once that
only X11 windows are reached, and its steps click into one."""
import ctypes
import os
import subprocess
import sys
import threading
import unittest

sys.path.insert(0, os.path.join(os.environ.get("ZS_SOURCE_DIR", ""), "tests", "program"))
import zs_editing  # noqa: E402  (the X test client)
import zs_program  # noqa: E402
from wayland_session import (ALLOW_IN_PORTAL_DIALOG, Driver, Terminal,  # noqa: E402
                             answer_portal_dialog, mouse_reports, portal_only_bus, sway_window,
                             temporary_folder, typed_into_fullscreen_terminal, wait_until)

COMPOSITOR = os.environ.get("ZS_WAYLAND_COMPOSITOR", "")
PLAY = (80, 297)  # the centre of the Play button (45 x 35), in client coordinates
# A character outside the layout, key tokens and a Control hold (Ctrl+U drops "gone").
TEXT = "gone{CONTROLDOWN}u{CONTROLUP}\u0436 ok{TAB}x{ENTER}"
WRITTEN = "\u0436 ok\tx\n"


def x_pointer():
    """Where XWayland has the pointer: it follows the compositor's pointer over X11 windows."""
    words = dict(word.split(":") for word in zs_program.xdotool("getmouselocation").split())
    return int(words["x"]), int(words["y"])


def on_play(program, point):
    x, y = program.client_to_screen(*PLAY)
    return abs(point[0] - x) < 20 and abs(point[1] - y) < 15


def play_button_pixels(program):
    """The Play button as drawn: greyed while a run plays."""
    crop = "45x35+58+%d" % (280 + program.menu_height)
    return subprocess.run(["import", "-window", str(program.window), "-crop", crop, "rgb:-"],
                          stdout=subprocess.PIPE, check=True).stdout


def xtest_click(x, y):
    """A click through XTest once XWayland has the pointer there. (xdotool moves the pointer by
    a warp, which weston's XWayland does not survive.)"""
    xlib, xtst = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(xlib.XOpenDisplay(None))
    try:
        xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
        xlib.XSync(display, 0)
        wait_until(lambda: x_pointer() == (x, y), lambda: "the pointer did not reach %d, %d" % (x, y))
        for down in (1, 0):
            xtst.XTestFakeButtonEvent(display, 1, down, 0)
        xlib.XSync(display, 0)
    finally:
        xlib.XCloseDisplay(display)


def write_steps(folder, target, text):
    """A step file that clicks at `target` and types `text`; returns its path."""
    path = os.path.join(folder, "steps.stp")
    lines = ["Zelvorin-Step 2.5", "tester  -  01.01.2026 00:00", "",
             "1;L_Click;%d;%d;" % target, "2;String;%s;" % text]
    with open(path, "wb") as file:
        file.write("".join(line + "\r\n" for line in lines).encode("utf-8"))
    return path


class ProgramTestCase(unittest.TestCase):
    def setUp(self):
        os.environ.pop("ZS_INPUT_BACKEND", None)  # the program chooses its backend itself
        self.folder = temporary_folder()

    def start_program(self, steps, target, env=None):
        program = zs_program.Program(arguments=[steps], env=env)
        self.addCleanup(program.cleanup)
        try:
            program.start(focus=False)
        except Exception:
            print(program.log())
            raise
        # The buttons show once the file is open: the Play button then has more than one colour.
        wait_until(lambda: len(set(zip(*[iter(play_button_pixels(program))] * 3))) > 1,
                   lambda: "the Play button never showed")
        x, y, width, height = zs_program.geometry(program.window)
        self.assertFalse(x <= target[0] < x + width and y <= target[1] < y + height,
                         "the target %s lies under the main window" % (target,))
        return program

    def click_play(self, program, move, click):
        """Clicks Play through the compositor's pointer once the compositor shows the main window
        under it: XWayland's pointer is then on the button."""
        play = program.client_to_screen(*PLAY)
        wait_until(lambda: move(*play) or on_play(program, x_pointer()),
                   lambda: "XWayland has the pointer at %s, not on Play %s" % (x_pointer(), play))
        click(*play)

    def start(self, client):
        self.addCleanup(client.close if hasattr(client, "close") else client.stop)
        return client


@unittest.skipUnless(COMPOSITOR == "sway", "needs headless sway")
class SwayProgramTest(ProgramTestCase):
    def test_a_step_file_plays_into_a_native_terminal(self):
        terminal = self.start(Terminal("zs-target", self.folder))
        left, top, _, _ = sway_window("zs-target")
        target = (left + 60, top + 60)
        program = self.start_program(write_steps(self.folder, target, TEXT), target)
        self.click_play(program, lambda x, y: self.seat("cursor set %d %d" % (x, y)),
                        lambda x, y: self.seat("cursor press button1", "cursor release button1"))
        terminal.wait_for_text(WRITTEN)

    @staticmethod
    def seat(*commands):
        for command in commands:
            subprocess.check_call(["swaymsg", "-q", "seat - " + command])


@unittest.skipUnless(COMPOSITOR == "mutter", "needs headless mutter")
class MutterProgramTest(ProgramTestCase):
    def test_a_step_file_plays_into_a_native_terminal(self):
        terminal = self.start(Terminal("zs-target", self.folder, ["--fullscreen"]))
        driver = self.start(Driver())
        self.assertEqual(driver.open("gnome"), "ok")
        before = typed_into_fullscreen_terminal(driver, terminal)
        target = (60, 60)
        program = self.start_program(write_steps(self.folder, target, TEXT), target)
        self.click_play(program, driver.mouse, lambda x, y: driver.mouse(x, y, "L_Click"))
        # GNOME types only what the layout has: the character outside it is dropped.
        terminal.wait_for_text(before + WRITTEN.replace("\u0436", ""))

    # Where only the desktop portal is reached, as from a sandbox, the portal's dialog comes
    # before the program's window; the window shows once the user allows it.
    def test_through_the_portal_after_its_dialog(self):
        terminal = self.start(Terminal("zs-target", self.folder, ["--fullscreen"], reports=True))
        user = self.start(Driver())
        self.assertEqual(user.open("gnome"), "ok")
        typed_into_fullscreen_terminal(user, terminal)
        losses = terminal.text().count("\x1b[O")
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=portal_only_bus(self.addCleanup))
        answer = threading.Thread(target=answer_portal_dialog,
                                  args=(user, terminal, ALLOW_IN_PORTAL_DIALOG, losses))
        answer.start()
        target = (60, 60)
        program = self.start_program(write_steps(self.folder, target, TEXT), target, env)
        answer.join()
        start = len(terminal.text())
        self.click_play(program, user.mouse, lambda x, y: user.mouse(x, y, "L_Click"))
        # The keys arrive at once (no line editing): Control+U stays a character.
        typed = "gone\x15 ok\tx\n"
        wait_until(lambda: terminal.text().endswith(typed),
                   lambda: "the terminal holds %r" % terminal.text()[start:])
        clicks = mouse_reports(terminal.text()[start:])
        self.assertEqual([(b, end) for b, _, _, end in clicks], [(0, "M"), (0, "m")], clicks)


def click_ok_of_info_box():
    """Clicks the OK button of the box "Info", centred 28 pixels above its bottom (no window has
    the keyboard), where the box is now: it may still be placed after it shows, and a click is
    now and then not passed on. True once the box is gone."""
    boxes = zs_program.find_windows("Info")
    if not boxes:
        return True
    try:
        x, y, width, height = zs_program.geometry(boxes[0])
    except RuntimeError:  # it closed meanwhile
        return False
    xtest_click(x + width // 2, y + height - 28)
    return False


@unittest.skipUnless(COMPOSITOR == "weston", "needs headless weston with XWayland")
class WestonProgramTest(ProgramTestCase):
    # Headless weston has no seat: its X11 window manager keeps the X keyboard focus at none
    # and takes it back whenever one of its windows takes it, so what arrives here is the
    # steps' clicks; the keys of the X11 backend are tested under Xvfb.
    def test_steps_reach_x11_windows_after_saying_so_once(self):
        # Over weston's panel, where no window of the program is placed.
        client = self.start(zs_editing.TestClient(self.folder, x=1100, y=0, width=150,
                                                  height=30))
        target = client.centre()
        program = self.start_program(write_steps(self.folder, target, "ok"), target)
        idle = play_button_pixels(program)
        # Now and then the first click of this seatless session does not reach the button; a
        # click while the run plays does nothing.
        zs_program.poll(lambda: xtest_click(*program.client_to_screen(*PLAY)) or
                        zs_program.find_windows("Info"), interval=1, what="the box")
        zs_program.poll(click_ok_of_info_box, interval=1, what="the box to close")
        wait_until(lambda: client.buttons() == [(1,) + target],
                   lambda: "the click did not arrive: %s" % client.buttons())
        wait_until(lambda: play_button_pixels(program) == idle, lambda: "the run did not end")
        # A box would hold the second run before its click: the click arriving shows none.
        xtest_click(*program.client_to_screen(*PLAY))
        wait_until(lambda: len(client.buttons()) == 2,
                   lambda: "the second run's click did not arrive: %s" % client.buttons())
        self.assertEqual(zs_program.find_windows("Info"), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
