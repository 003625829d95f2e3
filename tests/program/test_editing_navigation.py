"""Moving through a step program, inserting and deleting steps, checked through saved files.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/test_editing_navigation.py
"""
import unittest

import zs_editing as ze
import zs_program


class NavigationTest(unittest.TestCase):

    def pick_first_step(self, program):
        """Opens the step pick list (button 60) and clicks its first row."""
        before = ze.visible_windows()
        program.click(*ze.navigation_button(60))
        pick_list = zs_program.poll(lambda: ze.visible_windows() - before,
                                    what="the step pick list")
        x, y, _, _ = zs_program.geometry(min(pick_list))
        zs_program.click_at(x + 20, y + 5)
        zs_program.poll(lambda: not (ze.visible_windows() - before),
                        what="the pick list to close")

    def test_insert_delete_and_pick_list_change_the_saved_program(self):
        program = ze.start_program(self)
        ze.open_step_file(program, "nav.stp", ["7;one;", "7;two;", "7;three;"])
        program.click(*ze.navigation_button(62))  # last
        program.click(*ze.navigation_button(64))  # a Delay step in front of "three"
        program.click(*ze.navigation_button(58))  # first
        program.click(*ze.navigation_button(65))  # delete "one"
        program.click(*ze.navigation_button(62))  # last
        self.pick_first_step(program)
        ze.replace_text(program, ze.DESCRIPTION, "picked")
        saved = ze.save_program_as(program, "nav2.stp")
        self.assertEqual(ze.code_lines(saved), ["7;two;picked", "3;0.5;", "7;three;"])

    def test_the_only_step_cannot_be_deleted(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs_program.DISABLED_AT_START)
        program.click(*ze.navigation_button(65))
        zs_program.wait_window("Info")
        ze.shot(program, "navigation-only-step.png")
        program.answer_box("Info")
        saved = ze.save_program_as(program, "one.stp")
        self.assertEqual(ze.code_lines(saved), ["3;0.5;"])


if __name__ == "__main__":
    zs_program.main()
