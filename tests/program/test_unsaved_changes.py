"""The question before unsaved changes are thrown away, in the real program: the close box, New
and Exit ask once when a step was edited, No keeps the program, and after a save nothing asks."""
import time

import zs_editing as ze
import zs_program


class UnsavedChanges(zs_program.ProgramTestCase):

    def edited_program(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs_program.DISABLED_AT_START)
        ze.replace_text(program, ze.DESCRIPTION, "edited")
        time.sleep(0.5)  # typed keys are read before a close request from another client
        return program

    def test_close_box_and_new_ask_and_no_keeps_the_edit_then_exit_asks_once(self):
        program = self.edited_program()
        zs_program.send_close(program.window)
        program.answer_box("Confirm", yes=False)
        time.sleep(0.5)
        self.assertTrue(program.running(), "No ended the program")
        program.focus()
        program.menu("File", "New", disabled=ze.disabled_while_idle(program))
        program.answer_box("Confirm", yes=False)
        # The edit is still there: saving it writes it.
        saved = ze.save_program_as(program, "kept.stp")
        self.assertEqual(ze.code_lines(saved), ["3;0.5;edited"])

        ze.replace_text(program, ze.DESCRIPTION, "edited again")
        program.focus()
        program.menu("File", "Exit", disabled=ze.disabled_while_idle(program))
        program.answer_box("Confirm", yes=True)  # one question, not "Exit program?" as well
        self.assertEqual(program.wait_end(), 0)

    def test_after_a_save_the_close_box_ends_the_program_at_once(self):
        program = self.edited_program()
        ze.save_program_as(program, "saved.stp")
        time.sleep(1.0)  # the "File saved" notice
        zs_program.send_close(program.window)
        self.assertEqual(program.wait_end(), 0)


if __name__ == "__main__":
    zs_program.main()
