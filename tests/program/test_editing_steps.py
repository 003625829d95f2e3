"""Building a step program in the main window as a user does, and saving it.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/test_editing_steps.py
"""
import unittest

import zs_editing as ze
import zs_program


class BuildProgramTest(unittest.TestCase):

    def test_new_program_with_mouse_keyboard_and_loop_steps_saves_exact_code_lines(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs_program.DISABLED_AT_START)

        # Step 1: the new Delay step becomes a Mouse step; F9 takes the pointer's position.
        ze.choose_step_type(program, 1)
        program.focus()
        zs_program.move_pointer(321, 207)
        zs_program.key("F9")
        ze.replace_text(program, ze.DESCRIPTION, "start here")
        ze.shot(program, "editing-mouse-step.png", program.window)

        # Step 2: a Keyboard step that types a string.
        program.click(*ze.APPEND_STEP)
        ze.choose_step_type(program, 2)
        ze.replace_text(program, ze.TYPED_TEXT, "Hello, World! {ENTER}")

        # Step 3: a Loop back to step 2, three times.
        program.click(*ze.APPEND_STEP)
        ze.choose_step_type(program, 4)
        ze.pick_from_combo(program, ze.LOOP_FROM, 1, 3)
        ze.replace_text(program, ze.REPETITIONS, "3")
        ze.shot(program, "editing-loop-step.png", program.window)

        saved = ze.save_program_as(program, "made", stored_as="made.stp")
        self.assertEqual(ze.code_lines(saved), [
            "1;L_Click;321;207;start here",
            "2;String;Hello, World! {ENTER};",
            "4;2;3;",
        ])
        version, user_date, information = ze.header_lines(saved)
        self.assertEqual(version, "Zelvorin-Step 2.5")
        self.assertRegex(user_date, r"^.*  -  \d\d\.\d\d\.\d{4} \d\d:\d\d$")
        self.assertEqual(information, "")

    def test_empty_required_field_blocks_append_until_filled(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs_program.DISABLED_AT_START)
        ze.choose_step_type(program, 2)  # String kind, empty text
        program.click(*ze.APPEND_STEP)
        ze.shot(program, "editing-input-required.png")
        program.answer_box("Input required")
        ze.replace_text(program, ze.TYPED_TEXT, "abc")
        program.click(*ze.APPEND_STEP)
        saved = ze.save_program_as(program, "two.stp")
        self.assertEqual(ze.code_lines(saved), ["2;String;abc;", "3;0.5;"])


if __name__ == "__main__":
    zs_program.main()
