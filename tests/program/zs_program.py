"""Driver for X11 tests of the real Zelvorin-Step program.

The program runs as a copy in a fresh temporary folder (so it writes its help document there) on
the display in $DISPLAY, normally a private Xvfb with the openbox window manager from
scripts/with-xvfb.sh -w (the helpers also work without a window manager). FLTK offers no accessibility interface, so tests act through xdotool (pointer and
keyboard by XTEST) and observe only what lands on disk, X properties, the window tree and
screenshots.

Paths come from the environment:
  ZS_PROGRAM      the program binary (required)
  ZS_X_HELPER     tests/program helper binary: sends WM_DELETE_WINDOW (optional)
  ZS_ARTEFACTS    folder for screenshots kept after the run (optional)

Every wait polls with a deadline and raises TimeoutError; nothing waits for ever.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

MAIN_TITLE = "Zelvorin-Step"
CLIENT_WIDTH = 252
CLIENT_HEIGHT = 344
DEFAULT_TIMEOUT = 20.0  # generous: the machine may be loaded

# Menu 0 of the main window, in order. Disabled items are skipped by the keyboard navigation,
# so callers name the ones that are disabled at that moment.
MENU = {
    "File": ["Open", "New", "Save", "Save as...", "Exit"],
    "Control": ["Play", "Play from current step", "Pause", "Stop"],
    "Tools": ["Editor", "Record"],
    "?": ["Help", "About"],
}
MENU_ORDER = ["File", "Control", "Tools", "?"]
# Disabled while nothing is loaded.
DISABLED_AT_START = {"Save", "Save as...", "Play", "Play from current step", "Pause", "Stop",
                     "Record"}

# Step type combo (gadget 69 inside container 68), client coordinates of its centre.
TYPE_COMBO = (16 + 10 + 100, 85 + 3 + 11)
STEP_TYPES = ["1 Mouse", "2 Keyboard", "3 Delay", "4 Loop", "5 Comport", "6 Jump", "7 State",
              "8 Execute", "9 Message", "10 Window", "11 Wait", "12 Query"]


def run(*args, check=True, timeout=DEFAULT_TIMEOUT):
    """Runs a command and returns its standard output as text."""
    done = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, timeout=timeout)
    if check and done.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                   done.stderr.strip()))
    return done.stdout


def xdotool(*args):
    return run("xdotool", *[str(a) for a in args])


def poll(condition, timeout=DEFAULT_TIMEOUT, interval=0.05, what="condition"):
    """Calls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def find_windows(title):
    """Ids of the mapped windows whose name is exactly title."""
    pattern = "^%s$" % re.escape(title)
    out = run("xdotool", "search", "--onlyvisible", "--name", pattern, check=False)
    return [int(line) for line in out.split()]


def wait_window(title, timeout=DEFAULT_TIMEOUT):
    """Waits until a window of that name is mapped; returns its id."""
    return poll(lambda: (find_windows(title) or [None])[-1], timeout, what="window %r" % title)


def wait_no_window(title, timeout=DEFAULT_TIMEOUT):
    poll(lambda: not find_windows(title), timeout, what="window %r to go" % title)


def geometry(window):
    """Absolute x, y, width, height of a window's inside (without any frame)."""
    out = run("xwininfo", "-id", str(window))
    values = {}
    for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
        values[key] = int(re.search(r"%s:\s+(-?\d+)" % key, out).group(1))
    return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
            values["Width"], values["Height"])


def stacking_order():
    """Ids of the root's children, bottom to top (xwininfo lists them top first)."""
    out = run("xwininfo", "-root", "-children")
    ids = re.findall(r"^\s+(0x[0-9a-f]+)\s", out, re.MULTILINE)
    return [int(i, 16) for i in reversed(ids)]


def top_level(window):
    """The child of the root that holds a window: the window manager's frame around it, or the
    window itself without a window manager."""
    while True:
        out = run("xwininfo", "-children", "-id", str(window), check=False)
        root = re.search(r"Root window id:\s+(0x[0-9a-f]+)", out)
        parent = re.search(r"Parent window id:\s+(0x[0-9a-f]+)", out)
        if not root or not parent or parent.group(1) == root.group(1):
            return window
        window = int(parent.group(1), 16)


def stacked_above(window, other):
    """Whether window lies above other on the screen (both are program or client windows)."""
    order = stacking_order()
    a, b = top_level(window), top_level(other)
    return a in order and b in order and order.index(a) > order.index(b)


def window_manager_running():
    return "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)


def activate(window):
    """Gives a window the keyboard focus as a user's click would; a window manager is asked for
    it, and it raises the window too. A window that bypasses the manager (the X test client)
    takes the focus itself."""
    if window_manager_running() and not bypasses_window_manager(window):
        xdotool("windowactivate", window)
    else:
        xdotool("windowfocus", window)


def bypasses_window_manager(window):
    return "Override Redirect State: yes" in run("xwininfo", "-id", str(window), check=False)


def window_property(window, name):
    return run("xprop", "-id", str(window), name, check=False)


def visible_top_levels():
    """Ids of the mapped children of the root, pop-up menus included."""
    out = run("xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", "", check=False)
    return {int(i) for i in out.split()}


def click_for_popup(x, y, timeout=DEFAULT_TIMEOUT):
    """Clicks at a screen position and waits for a new window there (a menu pops up)."""
    before = visible_top_levels()
    click_at(x, y)
    poll(lambda: visible_top_levels() - before, timeout, what="a pop-up window")
    time.sleep(0.1)  # mapped is not yet drawn and listening; a little grace


def focused_window():
    out = run("xdotool", "getwindowfocus", "-f", check=False).strip()
    return int(out) if out.isdigit() else 0


def focused_top_level():
    """The window of the focused program's window tree that the window manager manages."""
    out = run("xdotool", "getwindowfocus", check=False).strip()
    return int(out) if out.isdigit() else 0


def key(*keys, delay_ms=60):
    """Key presses (xdotool names, e.g. "Return", "ctrl+s") to the focused window."""
    xdotool("key", "--delay", delay_ms, *keys)


def type_text(text, delay_ms=30):
    xdotool("type", "--delay", delay_ms, "--", text)


def pointer_position():
    out = run("xdotool", "getmouselocation", "--shell")
    return tuple(int(re.search(r"^%s=(\d+)" % axis, out, re.M).group(1)) for axis in "XY")


def move_pointer(x, y):
    """Moves the pointer and waits until it is there. xdotool's --sync waits for a motion, which
    never comes when the pointer is there already (a second click at the same place)."""
    if pointer_position() != (x, y):
        xdotool("mousemove", "--sync", x, y)


def click_at(x, y, button=1):
    move_pointer(x, y)
    xdotool("click", button)


def screenshot(path, window=None):
    run("import", "-window", str(window) if window else "root", path)
    return path


def artefact_path(name):
    folder = os.environ.get("ZS_ARTEFACTS")
    if not folder:
        return None
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, name)


def send_close(window):
    """Asks a window to close as a window manager's close box does (WM_DELETE_WINDOW)."""
    helper = os.environ.get("ZS_X_HELPER")
    if not helper:
        raise unittest.SkipTest("ZS_X_HELPER is not set")
    run(helper, "close", str(window))


class WindowCatcher:
    """Catches the next window of a given height as it maps, for windows that live too briefly
    to be looked at afterwards (the 600 ms notice): the helper holds the X server while it reads
    the window's place and whether it lies above the main window."""

    def __init__(self, height, main_window):
        helper = os.environ.get("ZS_X_HELPER")
        if not helper:
            raise unittest.SkipTest("ZS_X_HELPER is not set")
        self.process = subprocess.Popen([helper, "catch", str(height), str(main_window)],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise RuntimeError("zs_x_helper catch: " + self.process.stderr.read())

    def result(self, timeout=DEFAULT_TIMEOUT * 3):
        """(x, y, width, height, lies above the main window) of the window caught."""
        out, err = self.process.communicate(timeout=timeout)
        if self.process.returncode != 0:
            raise TimeoutError("zs_x_helper catch: " + err.strip())
        x, y, w, h, above = (int(v) for v in out.split())
        return x, y, w, h, bool(above)


class Program:
    """One run of the program in its own folder. Use as a context manager."""

    last = None  # the program started last, whose folder the file dialogs show

    def __init__(self, binary=None, arguments=(), command=None, env=None):
        """command: a whole command line to run instead of a copy of the binary with arguments
        (an installed program, which stays in its own folder); env: the environment to start it
        in (None: the test's own)."""
        self.env = env
        self.folder = tempfile.mkdtemp(prefix="zs-program.")
        if command:
            self.command = list(command)
        else:
            self.binary = binary or os.environ.get("ZS_PROGRAM")
            if not self.binary or not os.path.isfile(self.binary):
                raise unittest.SkipTest("ZS_PROGRAM does not name the program")
            self.path = os.path.join(self.folder, "Zelvorin-Step")
            shutil.copy2(self.binary, self.path)
            self.command = [self.path] + list(arguments)
        self.process = None
        self.window = None
        self.menu_height = None
        self._log = None

    # --- life cycle ---------------------------------------------------------------------------

    def start(self, timeout=DEFAULT_TIMEOUT, focus=True):
        """focus False: the main window is not given the focus (a box may be open over it)."""
        self._log = open(os.path.join(self.folder, "program.log"), "wb")
        self.process = subprocess.Popen(self.command, cwd=self.folder, stdout=self._log,
                                        stderr=subprocess.STDOUT, env=self.env)
        Program.last = self
        self.window = poll(self._own_window, timeout, what="the main window")
        # The window shows before its menu bar is built, which then makes it taller: client
        # positions are known once the bar is there.
        self.menu_height = poll(lambda: geometry(self.window)[3] - CLIENT_HEIGHT, timeout,
                                what="the main window's menu bar")
        if focus:
            self.focus()
        return self

    def _own_window(self):
        if self.process.poll() is not None:
            raise RuntimeError("the program ended with status %d before its window showed:\n%s"
                               % (self.process.returncode, self.log()))
        ids = find_windows(MAIN_TITLE)
        return ids[-1] if ids else None

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_end(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the process to end and returns its status."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("the program did not end within %.0f s" % timeout)

    def stop(self):
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)
        if self._log:
            self._log.close()
            self._log = None

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.cleanup()

    def log(self):
        try:
            with open(os.path.join(self.folder, "program.log"), "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def file(self, name):
        return os.path.join(self.folder, name)

    # --- the main window ----------------------------------------------------------------------

    def focus(self):
        """Gives the main window the keyboard focus and waits until it has it."""
        activate(self.window)
        poll(lambda: focused_window() == self.window, what="focus on the main window")

    def client_origin(self):
        x, y, _, _ = geometry(self.window)
        return x, y + self.menu_height

    def client_to_screen(self, cx, cy):
        ox, oy = self.client_origin()
        return ox + cx, oy + cy

    def click(self, cx, cy, button=1):
        """Clicks at a position of the client area (below the menu bar)."""
        click_at(*self.client_to_screen(cx, cy), button=button)

    def open_menu(self, title):
        """Opens a menu title by clicking the bar's first title and walking right."""
        x, y, _, _ = geometry(self.window)
        click_for_popup(x + 12, y + self.menu_height // 2)
        index = MENU_ORDER.index(title)
        if index:
            key(*["Right"] * index)
            time.sleep(0.3)  # the next title's pop-up replaces the first one

    def menu(self, title, item, disabled=()):
        """Chooses a menu item by the keyboard; disabled: items disabled just now."""
        enabled = [i for i in MENU[title] if i not in disabled]
        if item not in enabled:
            raise ValueError("%s > %s is not enabled" % (title, item))
        self.open_menu(title)
        key(*["Down"] * (enabled.index(item) + 1), "Return")

    def choose_step_type(self, number):
        """Picks a step type in the combo by a click and the keyboard (1 for "1 Mouse")."""
        click_for_popup(*self.client_to_screen(*TYPE_COMBO))
        # The pop-up opens on the current type; Up stops at the first one.
        key(*["Up"] * len(STEP_TYPES), *["Down"] * (number - 1), "Return")

    def screenshot(self, name):
        """A shot of the main window; kept in the artefact folder when there is one."""
        path = artefact_path(name) or os.path.join(self.folder, name)
        return screenshot(path, self.window)

    # --- dialogs ------------------------------------------------------------------------------

    def answer_file_chooser(self, path, timeout=DEFAULT_TIMEOUT):
        """Names a file of the program's folder in the file chooser and presses Return."""
        if os.path.dirname(os.path.abspath(path)) != os.path.abspath(self.folder):
            raise ValueError("the chooser is driven only within the program's folder: " + path)
        answer_file_dialog(path, timeout)

    def answer_box(self, title, yes=True, timeout=DEFAULT_TIMEOUT):
        """Answers a message box: its first button (OK or Yes) has the focus; Tab reaches No."""
        box = wait_window(title, timeout)
        poll(lambda: focused_window() == box, timeout, what="focus on box %r" % title)
        key("Return" if yes else "Tab", *([] if yes else ["Return"]))
        wait_no_window(title, timeout)
        return box


def answer_file_dialog(path, timeout=DEFAULT_TIMEOUT):
    """Answers the program's file dialog ("Filename") with a whole path and Return.

    The dialog is the desktop's own (GTK) where it is installed: a typed "/" there opens the
    field for a location in an Open dialog, and a Save dialog takes a whole path in its name
    field. The FLTK fallback shows the folder with the cursor after it, and the name is typed
    there. Both complete a typed name from the folder, as selected text after the cursor, which
    shift+End, Delete drops before Return; a name that is the start of another file's name would
    be completed to that one, so tests avoid such names."""
    chooser = wait_window("Filename", timeout)
    # The program gives the dialog the focus where no window manager does. GTK keeps the focus
    # in a child window of its dialog.
    poll(lambda: focused_top_level() == chooser, timeout, what="focus on the file chooser")
    time.sleep(0.5)  # the chooser reads its folder after it shows
    if desktop_file_dialog():
        type_text(os.path.abspath(path))
    else:
        key("End")
        type_text(os.path.basename(path))
    key("shift+End", "Delete", "Return")
    wait_no_window("Filename", timeout)


def desktop_file_dialog():
    """Whether the program shows GTK's file dialog (FLTK loads it when it is installed)."""
    for name in ("libgtk-x11-2.0.so.0", "libgtk-3.so.0"):
        if "/" + name in run("/sbin/ldconfig", "-p", check=False):
            return True
    return False


class ProgramTestCase(unittest.TestCase):
    """Base for tests that need a running program; each test gets a fresh one."""

    def start_program(self):
        program = Program()
        self.addCleanup(program.cleanup)
        self.addCleanup(self.assert_clean_log, program)  # runs first: cleanups go last-in first
        try:
            program.start()
        except Exception:
            print(program.log())
            raise
        return program

    def assert_clean_log(self, program):
        """Fails on reports of a sanitizer build in the program's output."""
        program.stop()
        log = program.log()
        for mark in ("ERROR: AddressSanitizer", "runtime error:", "WARNING: ThreadSanitizer",
                     "ERROR: LeakSanitizer"):
            self.assertNotIn(mark, log, log)


def write_step_file(path, code_lines, info=""):
    """A step file as the program writes one: CR LF line ends, 8-bit text."""
    lines = ["Zelvorin-Step 2.5", "tester  -  01.01.2026 00:00", info] + list(code_lines)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("latin-1"))


def read_lines(path):
    with open(path, "rb") as f:
        return f.read().split(b"\r\n")


def main():
    unittest.main(verbosity=2)
