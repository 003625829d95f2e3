"""Tools > Record under a window manager: clicks and typing into one xterm become steps that,
saved, reopened and played, type the same text into a second xterm of the same title that lies
elsewhere: the recorded program finds it by its title and clicks within it."""
import os
import subprocess
import time

import zs_program as zs

# Capitals, punctuation, the two characters the file format reserves and one the US layout
# lacks (xdotool binds a spare key for it, as the program's own player does).
TYPED = "Hello, World! a;b {c} x=1+2 \u00e9"
TERMINAL_GEOMETRY = "80x20+40+40"
MOVED_GEOMETRY = "80x20+160+110"
CLICK = (200, 150)  # inside the terminal, away from the program's centred window
TITLE = "record-here"


def window_manager_runs():
    out = zs.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
    return "window id" in out


class Recording(zs.ProgramTestCase):
    def setUp(self):
        if not window_manager_runs():
            self.skipTest("needs a window manager (scripts/with-xvfb.sh -w): a click gives focus")

    def terminal(self, title, output, geometry=TERMINAL_GEOMETRY):
        """An xterm whose keyboard input goes to `output` through cat."""
        process = subprocess.Popen(
            ["xterm", "-geometry", geometry, "-title", title, "-e", "sh", "-c",
             'stty -echo; exec cat > "$0"', output])
        self.addCleanup(self.end, process)
        process.window = zs.wait_window(title)
        time.sleep(0.5)  # the shell inside sets up the terminal before the first key
        return process

    @staticmethod
    def end(process):
        if process.poll() is None:
            process.terminate()
            process.wait(10)

    def record_into_first_terminal(self, program, folder):
        """Records into a terminal; returns the client-area origin the click was placed in."""
        first = self.terminal(TITLE, os.path.join(folder, "first.txt"))
        origin = zs.geometry(first.window)[:2]
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.focus()
        program.menu("Tools", "Record", disabled=("Save", "Pause", "Stop"))
        time.sleep(0.5)
        zs.click_at(*CLICK)
        time.sleep(0.3)
        zs.type_text(TYPED, delay_ms=80)
        zs.key("Return")
        time.sleep(0.3)
        zs.key("Escape")
        time.sleep(1.0)  # the recording ends on the program's UI thread
        self.end(first)
        return origin

    def test_recorded_clicks_and_typing_play_back_the_same_text(self):
        program = self.start_program()
        folder = program.folder
        origin = self.record_into_first_terminal(program, folder)
        recorded = program.file("recorded.stp")
        program.focus()
        # As after a run, the edit lock's end enables Save too.
        program.menu("File", "Save as...", disabled=("Pause", "Stop"))
        program.answer_file_chooser(recorded)
        zs.poll(lambda: os.path.exists(recorded), what="the recorded program to be saved")
        lines = [line.decode("utf-8") for line in zs.read_lines(recorded)]
        self.assertEqual(lines[3], "3;0.5;")  # the new program's step; the recording follows
        # The click went into a titled window: found by its title, clicked within it.
        self.assertEqual(lines[4], "10;Activate;%s;10.0;0;" % TITLE)
        within = (CLICK[0] - origin[0], CLICK[1] - origin[1])
        self.assertEqual(lines[5], "1;L_Click;%d;%d;" % within)
        strings = "".join(l.split(";")[2] for l in lines if l.startswith("2;String;"))
        self.assertEqual(strings, TYPED.replace(";", "{SEMICOLON}").replace("{c", "{LEFTBRACE}c"))
        self.assertIn("2;Key;{ENTER};", lines)

        # Reopened in a fresh program and played into a second terminal of that title elsewhere.
        program.stop()
        output = os.path.join(folder, "played.txt")
        self.terminal(TITLE, output, MOVED_GEOMETRY)
        player = self.start_program()
        player.menu("File", "Open", disabled=zs.DISABLED_AT_START)
        self.open_in(player, recorded)
        player.menu("Control", "Play", disabled=("Pause", "Stop"))
        expected = (TYPED + "\n").encode("utf-8")
        zs.poll(lambda: self.read(output) == expected, timeout=30,
                what="the played text in the second terminal")
        self.assertEqual(self.read(output), expected)

    def test_fast_clicks_on_the_programs_own_menus_are_not_recorded(self):
        # A click on the open menu's title lands on a pop-up that the click itself closes: the
        # recorder once looked for it after it was gone and recorded a Mouse step.
        program = self.start_program()
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.focus()
        program.menu("Tools", "Record", disabled=("Save", "Pause", "Stop"))
        x, y, _, _ = zs.geometry(program.window)
        title = (x + 12, y + program.menu_height // 2)
        before = zs.visible_top_levels()
        for _ in range(3):
            zs.click_for_popup(*title)
            zs.click_at(*title)
            zs.poll(lambda: zs.visible_top_levels() <= before, what="the menu to close")
        zs.key("Escape")
        time.sleep(1.0)  # the recording ends on the program's UI thread
        recorded = program.file("menus.stp")
        program.focus()
        program.menu("File", "Save as...", disabled=("Pause", "Stop"))
        program.answer_file_chooser(recorded)
        zs.poll(lambda: os.path.exists(recorded), what="the program to be saved")
        lines = [line.decode("utf-8") for line in zs.read_lines(recorded)]
        self.assertEqual([line for line in lines[3:] if line], ["3;0.5;"])

    @staticmethod
    def read(path):
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    @staticmethod
    def open_in(player, path):
        """The file chooser works in the program's folder: the file is copied there first."""
        copy = player.file(os.path.basename(path))
        with open(path, "rb") as src, open(copy, "wb") as dst:
            dst.write(src.read())
        player.answer_file_chooser(copy)


if __name__ == "__main__":
    zs.main()
