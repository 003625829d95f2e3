"""Helpers for the editing and playback tests: the step editor's gadgets, combo lists, the file
chooser, the text editor window, and the X test client that played input lands in.

Gadget places are client coordinates of the main window (below its menu bar): the editor panel
68 lies at 16,85, its field sets at 5,25 inside it (so at 21,110), as the program lays them out.

The X test client (zs_x11_test_client: $ZS_X11_TEST_CLIENT, else the one in the build tree of
$ZS_PROGRAM) writes one line per event (READY, KEY, BUTTON, SYNC). A sync request is a
ClientMessage sent to its window; once its SYNC line is back, every key and click that the
server delivered before the request is in its log."""

import ctypes
import ctypes.util
import os
import re
import subprocess
import time
import unittest

import zs_program
from zs_program import key, poll, type_text, wait_no_window, wait_window, xdotool

SET = (21, 110)  # origin of the field sets


def _in_set(x, y, width, height):
    """Centre of a gadget placed inside a field set."""
    return SET[0] + x + width // 2, SET[1] + y + height // 2


# Centres of the gadgets the tests use, in client coordinates.
TYPE_COMBO = (16 + 10 + 100, 85 + 3 + 11)     # 69
DESCRIPTION = (16 + 10 + 100, 85 + 135 + 10)  # 70
TYPED_TEXT = _in_set(5, 60, 200, 20)          # 17 (18, the key list, lies at the same place)
COUNTDOWN = (SET[0] + 65, SET[1] + 55, 55, 20)  # 25: x, y, width, height
LOOP_FROM = _in_set(110, 20, 75, 20)          # 27
REPETITIONS = _in_set(110, 50, 75, 20)        # 28
PLAY, PAUSE, STOP = (80, 297), (125, 297), (170, 297)  # 54, 55, 56
STOP_INSIDE = (156, 288, 29, 19)  # within the Stop button, clear of where its focus box goes


def navigation_button(number):
    """Centre of button 58 (first step) to 65 (delete)."""
    return 26 + 25 * (number - 58) + 12, 55 + 12


APPEND_STEP = navigation_button(63)

# The text editor window (103): its Save (106) and Save as (107) buttons lie at 50,0 and 100,0,
# each 50 x 25; the text (104) starts at y 25.
EDITOR_TITLE = "Editor"
EDITOR_SAVE, EDITOR_SAVE_AS = (75, 12), (125, 12)
EDITOR_LINE_HEIGHT = 14  # measured with the editor's font; only the first lines are clicked


def visible_windows():
    out = zs_program.run("xdotool", "search", "--onlyvisible", "--name", ".*", check=False)
    return {int(line) for line in out.split()}


def pick_from_combo(program, centre, index, count):
    """Opens a drop-down list by a click and picks item index (0-based) of count items.

    The list opens with the shown item under the pointer; Up stops at the first item, so count
    Ups reach the first item from anywhere, and index Downs then the wanted one."""
    before = zs_program.visible_top_levels()
    program.click(*centre)

    def opened_lists():
        # The list bypasses the window manager; a frame the manager maps again while the
        # focus changes is a new top level too, but not the list.
        return {w for w in zs_program.visible_top_levels() - before
                if zs_program.bypasses_window_manager(w)}
    lists = poll(opened_lists, what="the list of the combo at %s" % (centre,))
    key(*(["Up"] * count + ["Down"] * index + ["Return"]))
    poll(lambda: not (lists & zs_program.visible_top_levels()), what="the combo list to close")


def choose_step_type(program, number):
    """Picks "1 Mouse" (1) to "12 Query" (12) in the step-type combo."""
    pick_from_combo(program, TYPE_COMBO, number - 1, len(zs_program.STEP_TYPES))


def replace_text(program, centre, text):
    """Clicks into a text field of the main window and replaces its text by typing."""
    program.focus()
    program.click(*centre)
    key("End", "shift+Home", "BackSpace")
    if text:
        type_text(text)


def answer_file_chooser(name, timeout=zs_program.DEFAULT_TIMEOUT):
    """Answers the file chooser with a file name in the folder it shows (the program's own)."""
    try:
        zs_program.answer_file_dialog(os.path.join(zs_program.Program.last.folder, name), timeout)
    except TimeoutError:
        failure_shot("file-chooser-stays.png")
        raise


def start_program(testcase, attempts=3, env=None):
    """A running program, stopped when the test ends. A start that fails because the X server
    dropped the connection (seen now and then on a loaded Xvfb) is tried again."""
    for attempt in range(attempts):
        program = zs_program.Program(env=env)
        testcase.addCleanup(program.cleanup)
        try:
            return program.start()
        except RuntimeError:
            refused = re.search(r"(?i)open.*display", program.log())
            if not refused or attempt + 1 == attempts:
                print(program.log())
                raise
            program.cleanup()


def write_utf8_step_file(path, code_lines):
    """A step file as the Linux program keeps text: UTF-8, CR LF line ends."""
    lines = ["Zelvorin-Step 2.5", "tester  -  01.01.2026 00:00", ""] + list(code_lines)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("utf-8"))


def open_step_file(program, name, code_lines):
    """Writes a step file into the program's folder and loads it through File > Open."""
    write_utf8_step_file(program.file(name), code_lines)
    # Open is the first item and always enabled: what is disabled after it does not matter.
    program.menu("File", "Open", disabled=zs_program.DISABLED_AT_START)
    answer_file_chooser(name)
    program.has_file = True


def program_has_file(program):
    return getattr(program, "has_file", False)


def save_program_as(program, name, stored_as=None):
    """File > Save as under a new name in the program's folder; waits for the file (stored_as:
    the name the program gives it, when that differs) and returns its path."""
    program.menu("File", "Save as...", disabled=disabled_while_idle(program))
    answer_file_chooser(name)
    path = program.file(stored_as or name)
    poll(lambda: os.path.exists(path), what="%s to be written" % name)
    program.has_file = True
    return path


def disabled_while_idle(program):
    """Menu items disabled while a program exists and nothing plays: Pause and Stop, and Save
    while the program has no file name yet."""
    return {"Pause", "Stop"} | (set() if program_has_file(program) else {"Save"})


def code_lines(path, timeout=zs_program.DEFAULT_TIMEOUT):
    """The CODE lines of a step file (after its three header lines), as text. The file may not
    be there yet: the program writes it after the dialog that named it has closed."""
    def complete():
        try:
            with open(path, "rb") as f:
                content = f.read()
        except FileNotFoundError:
            return None
        return content if content.endswith(b"\r\n") else None
    content = poll(complete, timeout, what="%s to be complete" % path)
    return content.decode("latin-1").split("\r\n")[3:-1]


def header_lines(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1").split("\r\n")[:3]


def shot(program, name, window=None):
    """A screenshot kept as a test artefact (a window, or the whole screen)."""
    path = zs_program.artefact_path(name) or program.file(name)
    return zs_program.screenshot(path, window)


def region_pixels(program, rect):
    """The raw pixels of a client rectangle (x, y, width, height) of the main window."""
    x, y = program.client_to_screen(rect[0], rect[1])
    done = subprocess.run(["import", "-window", "root", "-crop",
                           "%dx%d+%d+%d" % (rect[2], rect[3], x, y), "rgb:-"],
                          stdout=subprocess.PIPE, timeout=zs_program.DEFAULT_TIMEOUT)
    return done.stdout


def failure_shot(name):
    """A shot of the whole screen when a step fails, kept when there is an artefact folder."""
    path = zs_program.artefact_path(name)
    if path:
        zs_program.screenshot(path)


def close_window(window):
    """Asks a window to close as a window manager's close box does (WM_DELETE_WINDOW)."""
    _send_client_message(window, "WM_PROTOCOLS", "WM_DELETE_WINDOW")


def editor_click_line(editor, line):
    """Puts the text cursor at the end of a 1-based line of the editor's text."""
    ex, ey, _, _ = zs_program.geometry(editor)
    zs_program.activate(editor)
    poll(lambda: zs_program.focused_window() == editor, what="focus on the editor")
    zs_program.click_at(ex + 380, ey + 25 + 4 + (line - 1) * EDITOR_LINE_HEIGHT
                        + EDITOR_LINE_HEIGHT // 2)
    key("End")


class ClientError(AssertionError):
    pass


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


_CLIENT_MESSAGE = 33


def _xlib():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


def _send_client_message(window, message_type, value):
    """Sends a 32-bit ClientMessage; value is a number or the name of an atom."""
    xlib = _xlib()
    display = None
    for _ in range(3):  # a loaded Xvfb now and then drops a new connection
        display = xlib.XOpenDisplay(None)
        if display:
            break
        time.sleep(0.2)
    if not display:
        raise ClientError("cannot open the display to send %s" % message_type)
    try:
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(display, message_type.encode(), 0)
        event.xclient.format = 32
        event.xclient.l[0] = (value if isinstance(value, int)
                              else xlib.XInternAtom(display, value.encode(), 0))
        xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        xlib.XSync(display, 0)
    finally:
        xlib.XCloseDisplay(display)


def client_path():
    """$ZS_X11_TEST_CLIENT, else the client in the build tree that holds $ZS_PROGRAM."""
    path = os.environ.get("ZS_X11_TEST_CLIENT")
    if path:
        return path
    program = os.environ.get("ZS_PROGRAM")
    if not program:
        return None
    build = os.path.dirname(os.path.dirname(os.path.abspath(program)))
    return os.path.join(build, "tests", "x11", "zs_x11_test_client")


class Key:
    """One key press as the client reported it."""

    def __init__(self, keysym, state, text):
        self.keysym, self.state, self.text = keysym, state, text

    def __repr__(self):
        return "Key(%#x, %#x, %r)" % (self.keysym, self.state, self.text)


class TestClient:
    """zs_x11_test_client at x, y with the given size; it takes the focus when it comes up. With
    a title it is an application window that the window manager manages, with a white page."""

    def __init__(self, folder, x=800, y=100, width=400, height=300, timeout=30, title=None):
        program = client_path()
        if not program or not os.path.isfile(program):
            raise unittest.SkipTest("ZS_X11_TEST_CLIENT does not name the X test client")
        self.log_path = os.path.join(folder, "client%s.log" % ("-" + title if title else ""))
        self.geometry = (x, y, width, height)
        self._sync_number = 0
        self.window = None
        self._log = None
        for attempt in range(3):  # a loaded Xvfb now and then drops a new connection
            if self._log:
                self._log.close()
            self._log = open(self.log_path, "wb")
            self.process = subprocess.Popen(
                [program, "--geometry", str(x), str(y), str(width), str(height)]
                + (["--title", title] if title else []),
                stdout=self._log, stderr=subprocess.STDOUT)
            try:
                line = self.wait_for_line(lambda l: l.startswith("READY "), timeout,
                                          "the test client did not come up")
                self.window = int(line.split()[1])
                # A window manager places the window as it sees fit: where it really lies.
                self.geometry = zs_program.geometry(self.window)
                return
            except ClientError:
                if self.process.poll() is None or attempt == 2:
                    self.stop()
                    raise

    def centre(self):
        x, y, width, height = self.geometry
        return x + width // 2, y + height // 2

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()

    def lines(self):
        with open(self.log_path, "rb") as log:
            content = log.read().decode("utf-8", "replace")
        # A line without its newline is still being written.
        return content.split("\n")[:-1]

    def wait_for_line(self, matches, timeout, what):
        deadline = time.monotonic() + timeout
        while True:
            for line in self.lines():
                if matches(line):
                    return line
            if self.process.poll() is not None:
                raise ClientError("the test client ended: %s" % what)
            if time.monotonic() > deadline:
                raise ClientError("%s within %d s" % (what, timeout))
            time.sleep(0.1)

    def sync(self, timeout=30):
        """Returns once the client reported all input that the server handled before now."""
        self._sync_number += 1
        number = self._sync_number
        _send_client_message(self.window, "ZS_SYNC", number)
        self.wait_for_line(lambda l: l == "SYNC %d" % number, timeout,
                           "the test client did not answer sync request %d" % number)

    def keys(self):
        found = []
        for line in self.lines():
            parts = line.split()
            if parts and parts[0] == "KEY" and len(parts) >= 4:
                text = "" if parts[3] == "-" else bytes.fromhex(parts[3]).decode("utf-8", "replace")
                found.append(Key(int(parts[1], 16), int(parts[2], 16), text))
        return found

    def text(self):
        """The texts of all keys received so far, in order (Enter gives "\\r")."""
        return "".join(key.text for key in self.keys())

    def buttons(self):
        """(button, root x, root y) of every click received so far."""
        found = []
        for line in self.lines():
            parts = line.split()
            if parts and parts[0] == "BUTTON" and len(parts) == 4:
                found.append(tuple(int(p) for p in parts[1:]))
        return found

    def wait_for_text(self, expected, timeout=60):
        """Waits until the received text contains expected; returns the whole text."""
        deadline = time.monotonic() + timeout
        while expected not in self.text():
            if time.monotonic() > deadline:
                raise ClientError("text %r did not arrive within %d s; got %r"
                                  % (expected, timeout, self.text()))
            if self.process.poll() is not None:
                raise ClientError("the test client ended")
            time.sleep(0.1)
        return self.text()


class OpenedClient(TestClient):
    """The X test client as the desktop's opener started it for the program, standing in for the
    application that the desktop opens a file with. install_opener() puts that opener first on
    the program's PATH; the client is then known by its log and the process id the opener
    writes."""

    def __init__(self, opener, timeout=30):
        self.log_path, self.pid_path = opener["log"], opener["pid"]
        self._sync_number = 0
        self.process = self
        line = self.wait_for_line(lambda l: l.startswith("READY "), timeout,
                                  "the client that the opener starts did not come up")
        self.window = int(line.split()[1])
        self.geometry = zs_program.geometry(self.window)

    def _pid(self):
        try:
            with open(self.pid_path) as f:
                return int(f.read())
        except (OSError, ValueError):
            return None

    def poll(self):
        """None while the client runs or has not started yet, as Popen.poll says it."""
        pid = self._pid()
        return None if pid is None or os.path.exists("/proc/%d" % pid) else 0

    def lines(self):
        return super().lines() if os.path.exists(self.log_path) else []

    def stop(self):
        pid = self._pid()
        if pid is not None:
            try:
                os.kill(pid, 15)
            except ProcessLookupError:
                pass


def install_opener(folder):
    """A stand-in for the desktop's opener (xdg-open) in folder/bin: it notes the file it is
    given and starts the X test client at 800, 100 as an editor would open it, in a managed
    window titled "<file name> - Editor" with a white page. Returns the environment to start
    the program in and the opener's files."""
    client = client_path()
    if not client or not os.path.isfile(client):
        raise unittest.SkipTest("ZS_X11_TEST_CLIENT does not name the X test client")
    bin_folder = os.path.join(folder, "bin")
    os.makedirs(bin_folder, exist_ok=True)
    opener = {name: os.path.join(folder, "opener." + name) for name in ("opened", "pid", "log")}
    script = os.path.join(bin_folder, "xdg-open")
    with open(script, "w") as f:
        f.write("#!/bin/sh\nprintf '%%s\\n' \"$1\" > '%s'\necho $$ > '%s'\n"
                "exec '%s' --geometry 800 100 400 300 --title \"$(basename \"$1\") - Editor\""
                " > '%s' 2>&1\n"
                % (opener["opened"], opener["pid"], client, opener["log"]))
    os.chmod(script, 0o755)
    env = dict(os.environ, PATH=bin_folder + os.pathsep + os.environ.get("PATH", ""))
    return env, opener
