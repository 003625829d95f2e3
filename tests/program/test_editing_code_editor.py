"""The text editor window (Tools > Editor) on the loaded step file: a broken CODE line is refused,
a mended one is saved, and the main window then holds the saved steps.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/test_editing_code_editor.py
"""
import unittest

import zs_editing as ze
import zs_program
from zs_program import key, type_text


class CodeEditorTest(unittest.TestCase):

    def open_editor(self, program):
        program.menu("Tools", "Editor")
        editor = zs_program.wait_window(ze.EDITOR_TITLE)
        # The keyboard goes to the editor at once, not to the main window it disables.
        zs_program.poll(lambda: zs_program.focused_window() == editor,
                        what="focus on the editor window")
        return editor

    def retype_line(self, editor, line, text):
        ze.editor_click_line(editor, line)
        key("shift+Home")
        type_text(text)

    def press(self, editor, button):
        ex, ey, _, _ = zs_program.geometry(editor)
        zs_program.click_at(ex + button[0], ey + button[1])

    def test_save_refuses_a_broken_line_then_saves_and_reloads_the_main_program(self):
        program = ze.start_program(self)
        ze.open_step_file(program, "edit.stp", ["1;L_Click;50;60;first", "2;String;old;"])
        editor = self.open_editor(program)
        ze.shot(program, "code-editor-opened.png", editor)

        # Line 5 is CODE line 2; one separator short.
        self.retype_line(editor, 5, "2;String;new text")
        self.press(editor, ze.EDITOR_SAVE)
        zs_program.wait_window("Input")
        ze.shot(program, "code-editor-input-box.png")
        program.answer_box("Input")
        self.assertEqual(ze.code_lines(program.file("edit.stp")),
                         ["1;L_Click;50;60;first", "2;String;old;"], "a refused save wrote")

        self.retype_line(editor, 5, "2;String;new text;")
        key("Return")
        type_text("3;1.5;wait")
        self.press(editor, ze.EDITOR_SAVE)
        zs_program.wait_window("OK")
        ze.shot(program, "code-editor-saved-box.png")
        program.answer_box("OK")
        self.assertEqual(ze.code_lines(program.file("edit.stp")),
                         ["1;L_Click;50;60;first", "2;String;new text;", "3;1.5;wait"])

        ze.close_window(editor)
        zs_program.wait_no_window(ze.EDITOR_TITLE)
        # The main window reloaded the saved file: saving it under a new name writes its steps.
        saved = ze.save_program_as(program, "after.stp")
        self.assertEqual(ze.code_lines(saved),
                         ["1;L_Click;50;60;first", "2;String;new text;", "3;1.5;wait"])

    def test_without_a_program_file_the_template_takes_typing_and_save_as_writes_it(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs_program.DISABLED_AT_START)
        editor = self.open_editor(program)
        key("ctrl+End", "Return")  # typed at once, without a click into the text
        type_text("9;hello;")
        self.press(editor, ze.EDITOR_SAVE_AS)
        ze.answer_file_chooser("template.stp")
        program.answer_box("OK")
        self.assertEqual(ze.code_lines(program.file("template.stp")),
                         ["1;L_Click;50;50;", "9;hello;"])


if __name__ == "__main__":
    zs_program.main()
