"""The Wayland input backends in real headless compositors (scripts/with-wayland.sh names the
compositor in ZS_WAYLAND_COMPOSITOR): typing into native foot terminals, clicking and moving to
exact pixels, and refusing where the compositor has no way in."""
import os
import subprocess
import unittest

from wayland_session import (ALLOW_IN_PORTAL_DIALOG, Driver, EventPrinter, Terminal,
                             answer_portal_dialog, mouse_reports, portal_only_bus, sway_window,
                             temporary_folder,
                             typed_into_fullscreen_terminal, wait_until)

COMPOSITOR = os.environ.get("ZS_WAYLAND_COMPOSITOR", "")

# Characters outside the US layout: the wlroots backend binds them to keys of its own keymap;
# GNOME's service drops them (it types only what the user's layout has).
OUTSIDE_LAYOUT = ("\u00e9\u00fc\u00df \u20ac \u0436\u044b \u2713 \u00e9\u20ac{ENTER}",
                  "\u00e9\u00fc\u00df \u20ac \u0436\u044b \u2713 \u00e9\u20ac\n")

# Step texts and what `cat` writes for them in a terminal: key tokens (as the terminal encodes
# them), holds that change what is typed, and a hold the end of a text releases.
TYPED = [
    ("Hello, World! 0123456789 ~`!@#$%^&*()_+-=[]\\|;':\",./<>?{ENTER}",
     "Hello, World! 0123456789 ~`!@#$%^&*()_+-=[]\\|;':\",./<>?\n"),
    OUTSIDE_LAYOUT,
    ("{SHIFTDOWN}abc{SHIFTUP}d{SEMICOLON}{LEFTBRACE}{ENTER}", "ABCd;{\n"),
    ("gone{CONTROLDOWN}u{CONTROLUP}kept{ENTER}", "kept\n"),
    ("ab{BACKSPACE}c{TAB}d{ENTER}", "ac\td\n"),
    ("{LEFT}{F1}{DELETE}{ENTER}", "\x1b[D\x1bOP\x1b[3~\n"),
    ("{SHIFTDOWN}a", ""),
    ("b{ENTER}", "Ab\n"),
]

# (click type, wev button lines expected: button code and state)
CLICKS = [
    ("L_Click", [(272, "pressed"), (272, "released")]),
    ("Ldbl_Click", [(272, "pressed"), (272, "released"), (272, "pressed"), (272, "released")]),
    ("R_Click", [(273, "pressed"), (273, "released")]),
    ("M_Click", [(274, "pressed"), (274, "released")]),
    ("none", []),
]


def centre(rect):
    x, y, width, height = rect
    return x + width // 2, y + height // 2


@unittest.skipUnless(COMPOSITOR == "sway", "needs headless sway")
class WlrootsTest(unittest.TestCase):
    def setUp(self):
        self.folder = temporary_folder()
        self.driver = Driver()
        self.assertEqual(self.driver.open("wlroots"), "ok")
        self.closers = [self.driver.close]

    def tearDown(self):
        for close in reversed(self.closers):
            close()

    def start(self, client):
        self.closers.append(client.close)
        return client

    def test_typing_reaches_the_clicked_terminal(self):
        one = self.start(Terminal("zs-one", self.folder))
        two = self.start(Terminal("zs-two", self.folder))
        sway_window("zs-one"), sway_window("zs-two")  # both tiles are there: the places hold
        rect_one, rect_two = sway_window("zs-one"), sway_window("zs-two")
        expected = {one: "", two: ""}
        for number, (text, written) in enumerate(TYPED):
            terminal, rect = (one, rect_one) if number % 2 == 0 else (two, rect_two)
            if written:  # a text that ends with a hold goes on in the same terminal
                self.driver.mouse(*centre(rect), "L_Click")
            self.driver.type(text)
            expected[terminal] += written
            terminal.wait_for_text(expected[terminal], [one, two])
        one.wait_for_text(expected[one])
        two.wait_for_text(expected[two])

    def test_pointer_lands_on_exact_pixels_of_either_output(self):
        printer = self.start(EventPrinter(self.folder))
        sway_window("wev")
        for output, left in (("HEADLESS-2", 1280), ("HEADLESS-1", 0)):
            subprocess.check_call(["swaymsg", "-q", "[app_id=wev] move container to output " + output])
            rect = wait_until(lambda: sway_window("wev")[0] == left and sway_window("wev"),
                              lambda: "wev is not on %s: %s" % (output, sway_window("wev")))
            # sway tells the new place before wev's surface is there: wev seeing the pointer
            # at the new place shows that it is.
            self._move_and_see(printer, rect, 5, 5, len(printer.lines()))
            for number, (click, buttons) in enumerate(CLICKS):
                x, y = rect[0] + 17 + number * 31, rect[1] + 23 + number * 7
                seen = len(printer.lines())
                self.driver.mouse(x, y, click)
                self.assertEqual(self.driver.position(), (x, y))
                self.assertEqual(self._buttons_after_motion(printer, seen, rect, x, y), buttons)

    # F9 over a native window, and over an output without one, where the compositor put the
    # pointer: XWayland's pointer stays where it last was over X11 windows.
    def test_capture_reads_the_exact_position_the_compositor_set(self):
        self.start(Terminal("zs-one", self.folder))
        sway_window("zs-one")
        for x, y in ((101, 202), (1280 + 333, 444), (639, 359)):
            subprocess.check_call(["swaymsg", "-q", "seat - cursor set %d %d" % (x, y)])
            self.assertEqual(self.driver.capture(), (x, y))
            self.assertEqual(self.driver.position(), (x, y))  # the reading corrects it

    # Moves the pointer to a place of wev's window and waits until wev printed it after line
    # `since`; returns the number of that line.
    def _move_and_see(self, printer, rect, x, y, since):
        self.driver.mouse(rect[0] + x, rect[1] + y)
        return self._seen(printer, rect[0] + x, rect[1] + y, rect, since)

    @staticmethod
    def _seen(printer, x, y, rect, since):
        place = "x, y: %d.000000, %d.000000" % (x - rect[0], y - rect[1])
        return wait_until(
            lambda: [since + i for i, line in enumerate(printer.lines()[since:]) if place in line],
            lambda: "wev saw no pointer at %d, %d: %s" % (x, y, printer.lines()[since:][-5:]))[0]

    # The button events wev printed after line `since`, between the motion to x, y and a move
    # to another pixel that marks their end.
    def _buttons_after_motion(self, printer, since, rect, x, y):
        motion = self._seen(printer, x, y, rect, since)
        end = self._move_and_see(printer, rect, 5, 5, motion + 1)
        return [self._button(line) for line in printer.lines()[motion:end] if "] button:" in line]

    @staticmethod
    def _button(line):
        code = int(line.split("button:")[-1].split()[0])
        return code, "pressed" if "pressed" in line else "released"

@unittest.skipUnless(COMPOSITOR == "mutter", "needs headless mutter")
class GnomeRemoteDesktopTest(unittest.TestCase):
    def setUp(self):
        self.folder = temporary_folder()
        self.driver = Driver()
        self.assertEqual(self.driver.open("gnome"), "ok")

    def test_an_x11_session_keeps_xtest(self):
        """GNOME's X11 session offers mutter's service too; XTest serves there, with no notice."""
        for backend, expected in (
                ("gnome", "refused WAYLAND_DISPLAY: this is not a Wayland session"),
                ("auto", "ok")):
            driver = Driver(("env", "-u", "WAYLAND_DISPLAY"))
            try:
                self.assertEqual(driver.open(backend), expected)
            finally:
                driver.close()

    def tearDown(self):
        self.driver.close()

    def test_typing_reaches_the_clicked_terminal(self):
        terminal = Terminal("zs-one", self.folder, ["--fullscreen"])
        try:
            expected = typed_into_fullscreen_terminal(self.driver, terminal)
            for text, written in (row for row in TYPED if row is not OUTSIDE_LAYOUT):
                self.driver.mouse(100 + len(expected), 200, "L_Click")
                self.driver.type(text)
                expected += written
                terminal.wait_for_text(expected)
            self.assertEqual(self.driver.position(), (100 + len(expected) - len(written), 200))
        finally:
            terminal.close()


@unittest.skipUnless(COMPOSITOR == "mutter", "needs headless mutter")
class PortalRemoteDesktopTest(unittest.TestCase):
    """The desktop portal (xdg-desktop-portal with GNOME's backend, which drives mutter's service)
    asks the user in a dialog, which takes the keyboard from a terminal; the user's keys reach
    the dialog through mutter's own service."""

    # (keys the user presses in the dialog, the driver's answer): the program's own choice where
    # mutter's service cannot be reached, as in a sandbox.
    ANSWERS = [
        ("{ESCAPE}", "ok On this Wayland desktop, mouse and keyboard steps reach only X11 "
                     "(XWayland) windows: the compositor offers no virtual-keyboard protocol; "
                     "GNOME's remote-desktop service is not offered: "),
        (ALLOW_IN_PORTAL_DIALOG, "ok"),
    ]
    REFUSED = ("; the remote-desktop request was refused in the desktop portal's dialog")

    def test_refused_then_allowed_session_types_and_clicks_into_a_native_terminal(self):
        user = Driver()
        self.addCleanup(user.close)
        self.assertEqual(user.open("gnome"), "ok")
        terminal = Terminal("zs-portal", temporary_folder(), ["--fullscreen"], reports=True)
        self.addCleanup(terminal.close)
        typed_into_fullscreen_terminal(user, terminal)
        sandbox = ("env", "DBUS_SESSION_BUS_ADDRESS=" + portal_only_bus(self.addCleanup))
        for keys, expected in self.ANSWERS:
            driver = Driver(sandbox)
            self.addCleanup(driver.process.kill)  # one still waiting for the dialog
            self.addCleanup(driver.close)
            losses = terminal.text().count("\x1b[O")
            driver.request("open auto")
            answer_portal_dialog(user, terminal, keys, losses)
            answer = driver.answer()
            self.assertTrue(answer.startswith(expected), answer)
            if expected != "ok":
                self.assertTrue(answer.endswith(self.REFUSED), answer)
        # GNOME types only what the layout has: the character outside it is dropped.
        start = len(terminal.text())
        driver.type("\u0436 ok{TAB}x{ENTER}")
        wait_until(lambda: terminal.text()[start:] == " ok\tx\n",
                   lambda: "the terminal holds %r" % terminal.text()[start:])
        # Clicks at two places of the monitor land in two cells, left-top and right-bottom.
        start = len(terminal.text())
        for x, y in ((100, 200), (1100, 600)):
            driver.mouse(x, y, "L_Click")
        wait_until(lambda: len(mouse_reports(terminal.text()[start:])) == 4,
                   lambda: "the clicks did not arrive: %r" % terminal.text()[start:])
        reports = mouse_reports(terminal.text()[start:])
        self.assertEqual([(b, end) for b, _, _, end in reports], [(0, "M"), (0, "m")] * 2)
        (column, row), (column2, row2) = reports[0][1:3], reports[2][1:3]
        self.assertTrue(column < column2 and row < row2, reports)
        driver.close()


# Runs the driver in a D-Bus session of its own whose services' output goes nowhere.
OWN_BUS = ("sh", "-c", 'dbus-run-session -- sh -c "exec \\"$0\\" >&3 3>&-" 3>&1 >/dev/null 2>&1')


@unittest.skipUnless(COMPOSITOR == "weston", "needs headless weston")
class RefusalTest(unittest.TestCase):
    """weston offers neither virtual-input protocol nor a remote-desktop service."""

    # (run in a D-Bus session of its own, backend, what the driver answers: the start of it,
    # then a part of the rest)
    def test_backends_refuse_with_the_reason(self):
        for own_bus, backend, start, reason in (
                (False, "wlroots", "refused ", "offers no virtual-keyboard protocol"),
                (False, "gnome", "refused ", "remote-desktop service is not offered"),
                (False, "portal", "refused ",
                 "the desktop portal is not offered (no D-Bus session"),
                # The portal starts, but its only remote desktop needs GNOME's service.
                (True, "portal", "refused org.freedesktop.portal.RemoteDesktop.CreateSession: ",
                 "the desktop portal's remote desktop failed (CreateSession)"),
                # The program's own choice: XTest, and why, for the box of the first step.
                (False, "auto", "ok On this Wayland desktop, mouse and keyboard steps reach only "
                                "X11 (XWayland) windows: the compositor offers no virtual-keyboard "
                                "protocol; ",
                 "GNOME's remote-desktop service is not offered"),
                (False, "auto", "ok ", "; the desktop portal is not offered")):
            driver = Driver(OWN_BUS if own_bus else ())
            try:
                answer = driver.open(backend)
                self.assertTrue(answer.startswith(start), answer)
                self.assertIn(reason, answer[len(start):])
            finally:
                driver.close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
