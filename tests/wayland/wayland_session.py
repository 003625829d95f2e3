"""Helpers for the Wayland input tests: the driver of an input backend, native clients in the
headless session that scripts/with-wayland.sh started, and waits for what they show."""
import json
import os
import re
import select
import subprocess
import tempfile
import time

TIMEOUT = 30  # seconds: a loaded machine is slow, never a reason to fail


def wait_until(what, describe, timeout=TIMEOUT):
    """Polls `what` until it returns a true value; fails with `describe()` after `timeout`."""
    deadline = time.monotonic() + timeout
    while True:
        value = what()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting: " + describe())
        time.sleep(0.05)


class Driver:
    """The backend under test in tests/wayland/wayland_driver, one command a line."""

    def __init__(self, wrapper=()):
        self.process = subprocess.Popen([*wrapper, os.environ["ZS_WAYLAND_DRIVER"]],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().strip()

    def open(self, backend):
        return self.send("open " + backend)

    def request(self, line):
        """Sends a command whose answer comes later (answer())."""
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def answer(self):
        wait_until(lambda: select.select([self.process.stdout], [], [], 0)[0],
                   lambda: "the driver did not answer")
        return self.process.stdout.readline().strip()

    def mouse(self, x, y, click="none"):
        assert self.send("mouse %d %d %s" % (x, y, click)) == "ok"

    def type(self, text):
        assert self.send("type " + text.encode("utf-8").hex()) == "ok"

    def position(self):
        return tuple(int(v) for v in self.send("position").split())

    def capture(self):
        return tuple(int(v) for v in self.send("capture").split())

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=TIMEOUT)


class Terminal:
    """A native foot terminal whose `cat` writes what it is typed to a file, line by line. With
    `reports`, it writes each key at once, and the terminal reports there each button press and
    release (ESC [ < button ; column ; row M, m on release) and each time it loses (ESC [ O) or
    gains (ESC [ I) the keyboard."""

    def __init__(self, app_id, folder, options=(), reports=False):
        self.app_id = app_id
        self.path = os.path.join(folder, app_id + ".txt")
        open(self.path, "wb").close()
        self.process = subprocess.Popen(
            ["foot", "--app-id", app_id, *options, "--", "sh", "-c",
             ("stty -icanon -echo; printf '\\033[?1000h\\033[?1006h\\033[?1004h'; "
              if reports else "") +
             'exec cat > "$0"', self.path],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def text(self):
        with open(self.path, "rb") as file:
            return file.read().decode("utf-8", "replace")

    def wait_for_text(self, expected, others=()):
        wait_until(lambda: self.text() == expected,
                   lambda: "%s holds %r, not %r%s" % (
                       self.app_id, self.text(), expected,
                       "".join("; %s holds %r" % (o.app_id, o.text()) for o in others)))

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=TIMEOUT)


class EventPrinter:
    """wev, which prints the pointer events its native window receives."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "wev.log")
        self.log = open(self.path, "w")
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "wev", "-f", "wl_pointer:enter", "-f", "wl_pointer:motion",
             "-f", "wl_pointer:button"],
            stdout=self.log, stderr=subprocess.DEVNULL)

    def lines(self):
        with open(self.path) as file:
            return [line.strip() for line in file if line.strip()]

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=TIMEOUT)
        self.log.close()


def typed_into_fullscreen_terminal(driver, terminal):
    """Waits for a terminal started with --fullscreen where no window list tells when it is
    there (mutter): until a click into it and a line typed arrive. Returns what it holds."""
    def probe():
        driver.mouse(640, 360, "L_Click")
        driver.type("ready{ENTER}")
        try:
            return wait_until(terminal.text, lambda: "no line arrived", timeout=2)
        except AssertionError:
            return None
    return wait_until(probe, lambda: "the terminal never came")


# Keys that allow the GNOME portal backend's dialog: to the remote-interaction switch, on, Share.
ALLOW_IN_PORTAL_DIALOG = "{TAB} {ALTDOWN}s{ALTUP}"


def answer_portal_dialog(user, terminal, keys, losses):
    """Presses `keys` through `user` (a Driver on mutter's own service) once a dialog has taken
    the keyboard from `terminal` (started with reports), which had lost it `losses` times
    before; then waits until the terminal has the keyboard back."""
    wait_until(lambda: terminal.text().count("\x1b[O") > losses,
               lambda: "no dialog took the keyboard: %r" % terminal.text())
    user.type(keys)
    wait_until(lambda: terminal.text().count("\x1b[I") > losses,
               lambda: "the terminal did not get the keyboard back")


def portal_only_bus(add_cleanup):
    """The address of a filtering proxy of the session bus through which only the desktop portal
    can be reached, as from a sandbox; `add_cleanup` takes what ends it."""
    socket = os.path.join(temporary_folder(), "bus")
    proxy = subprocess.Popen(["xdg-dbus-proxy", os.environ["DBUS_SESSION_BUS_ADDRESS"], socket,
                              "--filter", "--talk=org.freedesktop.portal.*"])
    add_cleanup(proxy.wait)
    add_cleanup(proxy.terminate)
    wait_until(lambda: os.path.exists(socket), lambda: "the bus proxy did not start")
    return "unix:path=" + socket


def mouse_reports(text):
    """(button, column, row, 'M' press or 'm' release) of each report a terminal wrote."""
    return [(int(b), int(c), int(r), end)
            for b, c, r, end in re.findall(r"\x1b\[<(\d+);(\d+);(\d+)([Mm])", text)]


def sway_windows():
    """app_id -> (x, y, width, height) of every window sway shows."""
    tree = json.loads(subprocess.check_output(["swaymsg", "-t", "get_tree", "-r"]))
    windows = {}
    stack = [tree]
    while stack:
        node = stack.pop()
        if node.get("app_id") and node.get("visible"):
            rect = node["rect"]
            windows[node["app_id"]] = (rect["x"], rect["y"], rect["width"], rect["height"])
        stack.extend(node.get("nodes", []) + node.get("floating_nodes", []))
    return windows


def sway_window(app_id):
    return wait_until(lambda: sway_windows().get(app_id),
                      lambda: "no window %s among %s" % (app_id, sway_windows()))


def temporary_folder():
    return tempfile.mkdtemp(prefix="zs-wayland-")
