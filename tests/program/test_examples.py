"""Every example in examples/ opened through File > Open and played by the real program.

Examples start or find their own target: none clicks or types into a window it did not open. The
Comport example needs a serial port that the program's COM numbering names (COM1 is /dev/ttyS0)
and the loop example only shows texts; the unit tests play those two
(tests/shell/examples_test.cpp). The typing example opens a text file beside it with the
desktop's opener, which a stand-in replaces here: it starts the X test client in the editor's
place.
"""
import os
import shutil
import tempfile

import zs_editing as ze
import zs_program

EXAMPLES = os.path.join(os.environ.get("ZS_SOURCE_DIR", ""), "examples")
PLAYED_HEADLESS = {"comport.stp", "loop-jump-state.stp"}
TYPED = "Hello from Zelvorin-Step!\rTyped by a step program.\r"


class ExamplesTest(zs_program.ProgramTestCase):

    def setUp(self):
        if not os.path.isdir(EXAMPLES):
            self.skipTest("ZS_SOURCE_DIR does not name the source tree")

    def play_example(self, name, env=None, companions=()):
        """Starts the program, copies the example (and the files it uses) into its folder, opens
        the example and plays it."""
        program = ze.start_program(self, env=env)
        for file_name in (name,) + tuple(companions):
            shutil.copy(os.path.join(EXAMPLES, file_name), program.file(file_name))
        program.menu("File", "Open", disabled=zs_program.DISABLED_AT_START)
        ze.answer_file_chooser(name)
        program.click(*ze.PLAY)
        return program

    def test_every_example_is_played_here_or_by_the_unit_tests(self):
        names = {n for n in os.listdir(EXAMPLES) if n.endswith(".stp")}
        tested = {"type-into-editor.stp", "window-and-wait.stp", "message-and-execute.stp"}
        self.assertEqual(names, tested | PLAYED_HEADLESS)

    def play_into_editor(self, name):
        """Plays an example that opens the text file of its name in the desktop's editor, here
        the X test client; returns the program and the client."""
        folder = tempfile.mkdtemp(prefix="zs-opener.")
        self.addCleanup(shutil.rmtree, folder, True)
        env, opener = ze.install_opener(folder)
        text = name.replace(".stp", ".txt")
        program = self.play_example(name, env=env, companions=(text,))
        editor = ze.OpenedClient(opener)
        self.addCleanup(editor.stop)
        with open(opener["opened"]) as f:
            self.assertEqual(f.read().strip(), program.file(text))
        return program, editor

    def test_type_into_editor(self):
        _, editor = self.play_into_editor("type-into-editor.stp")
        editor.wait_for_text("Typed by a step program.\r")
        editor.sync()
        self.assertEqual(editor.text(), TYPED)
        self.assertEqual(editor.buttons(), [])

    def test_window_and_wait(self):
        """The editor's window is found by its title wherever the window manager put it, its
        white page waited for, and clicked at 40, 80 within it."""
        _, editor = self.play_into_editor("window-and-wait.stp")
        editor.wait_for_text("Found by its title.\r")
        editor.sync()
        self.assertEqual(editor.text(), "\rFound by its title.\r")
        x, y, _, _ = zs_program.geometry(editor.window)
        self.assertEqual(editor.buttons(), [(1, x + 40, y + 80)])

    def test_message_and_execute(self):
        program = self.play_example("message-and-execute.stp")
        zs_program.wait_window("PAUSE")
        self.assertFalse(zs_program.find_windows("xlogo"))  # the run waits for the answer
        program.answer_box("PAUSE")
        logo = zs_program.wait_window("xlogo")
        zs_program.run("xdotool", "windowkill", str(logo), check=False)
        self.assertTrue(program.running())


if __name__ == "__main__":
    zs_program.main()
