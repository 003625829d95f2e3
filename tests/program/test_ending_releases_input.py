"""Ending the program while a step holds modifiers and types: every way of ending it leaves no
key down in the X server and the keyboard map as it was; a step that types Escape goes on.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/test_ending_releases_input.py
"""
import ctypes
import signal
import unittest

import zs_editing as ze
import zs_program

# Held modifiers, then characters of the layout and characters typed on spare keys.
HOLDING_TEXT = "{SHIFTDOWN}{CONTROLDOWN}{ALTDOWN}" + "a\u20ac\u00fc" * 4000


class XServer:
    """The server's key state and keyboard map, read through Xlib."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        self.x.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                               ctypes.POINTER(ctypes.c_int)]
        for name in ("XQueryKeymap", "XDisplayKeycodes", "XCloseDisplay", "XFree"):
            getattr(self.x, name).argtypes = None
        self.display = ctypes.c_void_p(self.x.XOpenDisplay(None))
        if not self.display:
            raise unittest.SkipTest("no X display")

    def close(self):
        self.x.XCloseDisplay(self.display)

    def keys_down(self):
        keys = (ctypes.c_char * 32)()
        self.x.XQueryKeymap(self.display, keys)
        return [code for code in range(8, 256) if keys.raw[code // 8] >> (code % 8) & 1]

    def keyboard_map(self):
        first, last, per = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        self.x.XDisplayKeycodes(self.display, ctypes.byref(first), ctypes.byref(last))
        count = last.value - first.value + 1
        syms = self.x.XGetKeyboardMapping(self.display, first.value, count, ctypes.byref(per))
        result = tuple(syms[i] for i in range(count * per.value))
        self.x.XFree(syms)
        return result


class EndingTest(unittest.TestCase):

    def setUp(self):
        self.server = XServer()
        self.addCleanup(self.server.close)

    def start_typing(self, code_lines):
        program = ze.start_program(self)
        client = ze.TestClient(program.folder)
        self.addCleanup(client.stop)
        cx, cy = client.centre()
        ze.open_step_file(program, "hold.stp", ["1;L_Click;%d;%d;" % (cx, cy)] + code_lines)
        zs_program.xdotool("windowfocus", client.window)
        program.click(*ze.PLAY)
        return program, client

    def test_every_way_of_ending_releases_the_keys_and_restores_the_map(self):
        endings = [
            ("SIGTERM", lambda p: p.process.send_signal(signal.SIGTERM)),
            ("SIGINT", lambda p: p.process.send_signal(signal.SIGINT)),
            ("SIGHUP", lambda p: p.process.send_signal(signal.SIGHUP)),
            ("close box", lambda p: zs_program.send_close(p.window)),
            ("lost connection", lambda p: zs_program.run("xkill", "-id", str(p.window))),
        ]
        keyboard_map = self.server.keyboard_map()
        for name, end in endings:
            with self.subTest(name):
                program, client = self.start_typing(["2;String;%s;" % HOLDING_TEXT])
                # Typing has begun, and spare keys are bound: the map differs now.
                zs_program.poll(lambda: len(client.keys()) > 20, what="typing to begin")
                self.assertNotEqual(self.server.keyboard_map(), keyboard_map)
                end(program)
                program.wait_end()
                self.assertEqual(self.server.keys_down(), [])
                self.assertEqual(self.server.keyboard_map(), keyboard_map)
                client.stop()

    def test_a_step_that_types_escape_does_not_end_its_run(self):
        program, client = self.start_typing(["2;Key;{ESCAPE};", "2;String;after;"])
        client.wait_for_text("after")
        self.assertEqual(client.text(), "\x1bafter")


if __name__ == "__main__":
    unittest.main()
