"""Open, Save and Save as of step files through the real file chooser, and F9 capture."""
import os
import re
import time

import zs_program as zs

# One line of every step type, as the program writes them.
EVERY_TYPE = [
    "1;L_Click;50;60;click here",
    "1;R_Click;-5;0;",
    "2;String;hello world;type a text",
    "2;Key;{F2};save",
    "3;0.5;",
    "3;12.0;wait",
    "4;1;10;",
    "5;COM1;Initialise;9600 N 8 1;",
    "5;COM2;Hex;0D 0A;end of line",
    "6;3;",
    "7;Running;state",
    "8;/bin/true;",
    "9;Done;",
]
USER_DATE = re.compile(rb"^.+  -  \d\d\.\d\d\.\d{4} \d\d:\d\d$")


class StepFiles(zs.ProgramTestCase):
    def open_file(self, program, path, disabled=zs.DISABLED_AT_START):
        program.menu("File", "Open", disabled=disabled)
        program.answer_file_chooser(path)

    def save_as(self, program, path, disabled=("Pause", "Stop")):
        program.menu("File", "Save as...", disabled=disabled)
        program.answer_file_chooser(path)

    def assert_same_but_line_2(self, original, written):
        zs.poll(lambda: os.path.exists(written), what="%s to be written" % written)
        expected, actual = zs.read_lines(original), zs.read_lines(written)
        self.assertRegex(actual[1], USER_DATE)
        self.assertEqual(actual[:1] + actual[2:], expected[:1] + expected[2:])

    def test_open_then_save_as_writes_every_step_type_back_byte_for_byte(self):
        program = self.start_program()
        original = program.file("every type.stp")
        zs.write_step_file(original, EVERY_TYPE, info="file information")
        self.open_file(program, original)
        copy = program.file("copy.stp")
        self.save_as(program, copy)
        self.assert_same_but_line_2(original, copy)
        shot = zs.artefact_path("loaded-program.png")
        if shot:
            time.sleep(1.5)  # the "File saved" notice lies over the window for 600 ms
            zs.screenshot(shot, program.window)

    def test_save_as_appends_the_extension_and_asks_before_replacing(self):
        program = self.start_program()
        original = program.file("first.stp")
        zs.write_step_file(original, EVERY_TYPE[:3])
        self.open_file(program, original)
        self.save_as(program, program.file("named"))  # stored as named.stp
        self.assert_same_but_line_2(original, program.file("named.stp"))

        other = program.file("other.stp")
        with open(other, "wb") as f:
            f.write(b"keep me")
        self.save_as_existing(program, other, replace=False)
        with open(other, "rb") as f:
            self.assertEqual(f.read(), b"keep me")
        self.save_as_existing(program, other, replace=True)
        self.assert_same_but_line_2(original, other)

    def save_as_existing(self, program, path, replace):
        program.focus()
        program.menu("File", "Save as...", disabled={"Pause", "Stop"})
        program.answer_file_chooser(path)
        program.answer_box("Confirm", yes=replace)
        if replace:
            zs.poll(lambda: os.path.getsize(path) > 7, what="the file to be replaced")
        else:
            time.sleep(1.0)  # nothing to wait for: a wrong write would land within this time

    def test_save_writes_to_the_file_that_was_opened(self):
        program = self.start_program()
        path = program.file("program.stp")
        zs.write_step_file(path, EVERY_TYPE)
        before = os.stat(path).st_mtime_ns
        self.open_file(program, path)
        reference = program.file("reference.stp")
        zs.write_step_file(reference, EVERY_TYPE)
        program.menu("File", "Save", disabled={"Pause", "Stop"})
        zs.poll(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        self.assert_same_but_line_2(reference, path)

    def test_f9_fills_x_and_y_with_the_pointer_position(self):
        program = self.start_program()
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.choose_step_type(1)
        time.sleep(0.5)
        shot = zs.artefact_path("mouse-step.png")
        if shot:
            zs.screenshot(shot, program.window)
        # Save stays disabled until the new program has a file.
        disabled = {"Save", "Pause", "Stop"}
        for x, y in ((123, 45), (1001, 987)):  # both away from the program's window
            zs.move_pointer(x, y)
            program.focus()
            zs.key("F9")
            path = program.file("pointer %d.stp" % x)
            time.sleep(0.5)
            self.save_as(program, path, disabled)
            disabled = {"Pause", "Stop"}
            zs.poll(lambda: os.path.exists(path), what="%s to be written" % path)
            self.assertEqual(zs.read_lines(path)[3], b"1;L_Click;%d;%d;" % (x, y))

    def test_a_file_of_another_version_is_refused(self):
        program = self.start_program()
        path = program.file("old.stp")
        with open(path, "wb") as f:
            f.write(b"Zelvorin-Step 2.5 \r\nx\r\n\r\n1;L_Click;1;2;\r\n")
        self.open_file(program, path)
        program.answer_box("Zelvorin-Step 2.5")
        # Nothing was loaded: Save and Save as stay disabled, so the first enabled File item
        # after Open is New, which makes a program that Save as can store.
        program.focus()
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        self.assertTrue(program.running())


if __name__ == "__main__":
    zs.main()
