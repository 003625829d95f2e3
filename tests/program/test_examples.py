"""Every example in examples/ opened through File > Open and played by the real program.

The Comport example needs a serial port that the program's COM numbering names (COM1 is
/dev/ttyS0); it is played on the in-memory serial port by the unit tests instead
(tests/shell/examples_test.cpp). Every other example is here; the typing ones type into the X
test client, which stands in for the text editor that the examples click into at 1000, 250.
"""
import os
import shutil

import zs_editing as ze
import zs_program

EXAMPLES = os.path.join(os.environ.get("ZS_SOURCE_DIR", ""), "examples")
PLAYED_HEADLESS = {"comport.stp"}


class ExamplesTest(zs_program.ProgramTestCase):

    def setUp(self):
        if not os.path.isdir(EXAMPLES):
            self.skipTest("ZS_SOURCE_DIR does not name the source tree")

    def play_example(self, name, client=True):
        """Starts the program and the client at the examples' 1000, 250, then opens the example
        and plays it."""
        program = ze.start_program(self)
        self.client = None
        if client:
            self.client = ze.TestClient(program.folder, x=800, y=100, width=400, height=300)
            self.addCleanup(self.client.stop)
        shutil.copy(os.path.join(EXAMPLES, name), program.file(name))
        program.menu("File", "Open", disabled=zs_program.DISABLED_AT_START)
        ze.answer_file_chooser(name)
        if self.client:
            zs_program.xdotool("windowfocus", self.client.window)
        program.click(*ze.PLAY)
        return program

    def test_every_example_is_played_here_or_by_the_unit_tests(self):
        names = {n for n in os.listdir(EXAMPLES) if n.endswith(".stp")}
        tested = {"type-into-editor.stp", "loop-jump-state.stp", "message-and-execute.stp"}
        self.assertEqual(names, tested | PLAYED_HEADLESS)

    def test_type_into_editor(self):
        self.play_example("type-into-editor.stp")
        self.client.wait_for_text("Typed by a step program.\r")
        self.assertEqual(self.client.text(), "Hello from Zelvorin-Step!\rTyped by a step program.\r")
        self.assertEqual(self.client.buttons(), [(1, 1000, 250)])

    def test_loop_jump_state(self):
        program = self.play_example("loop-jump-state.stp")
        self.client.wait_for_text(" done")
        self.client.sync()
        self.assertEqual(self.client.text(), "xxx done")
        ze.shot(program, "example-loop-jump-state.png", program.window)

    def test_message_and_execute(self):
        program = self.play_example("message-and-execute.stp", client=False)
        zs_program.wait_window("PAUSE")
        self.assertFalse(zs_program.find_windows("xlogo"))  # the run waits for the answer
        program.answer_box("PAUSE")
        logo = zs_program.wait_window("xlogo")
        zs_program.run("xdotool", "windowkill", str(logo), check=False)
        self.assertTrue(program.running())


if __name__ == "__main__":
    zs_program.main()
