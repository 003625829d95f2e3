"""The program's own windows under a window manager (openbox): the windows it opens over its
top-most main window lie above it and never hold the program up, boxes and notices are centred
over the main window wherever it is, the file dialog takes a typed name as typed, and the main
window offers no minimise or maximise box.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh -w python3 tests/program/test_window_manager.py
"""
import os
import re
import unittest

import zs_editing as ze
import zs_program as zs

# _MOTIF_WM_HINTS: flags, then functions and decorations; bit 1 of each means "all but these".
MWM_FUNCTIONS, MWM_DECORATIONS = 1, 2
MWM_ALL, MWM_MINIMIZE_FUNC, MWM_MAXIMIZE_FUNC = 1, 8, 16
MWM_MINIMIZE_DECOR, MWM_MAXIMIZE_DECOR = 32, 64


def client_centre(program):
    x, y = program.client_origin()
    return x + zs.CLIENT_WIDTH / 2, y + zs.CLIENT_HEIGHT / 2


def centre_of(window):
    x, y, w, h = zs.geometry(window)
    return x + w / 2, y + h / 2


def new_window(before, what, height=None):
    """A window mapped since before (the program's own: the window manager's frames have lower
    ids), of the given height when one is given."""
    def height_of(window):
        try:
            return zs.geometry(window)[3]
        except RuntimeError:  # gone since it was listed (the file dialog's windows)
            return None

    def found():
        new = [w for w in ze.visible_windows() - before
               if height is None or height_of(w) == height]
        return max(new) if new else None
    return zs.poll(found, what=what, interval=0.02)


class WindowManagerTest(unittest.TestCase):

    def setUp(self):
        if not zs.window_manager_running():
            self.skipTest("no window manager runs on this display (scripts/with-xvfb.sh -w)")

    def assert_centred_over_main(self, program, window):
        (mx, my), (wx, wy) = client_centre(program), centre_of(window)
        self.assertLessEqual(abs(mx - wx), 2, "not centred over the main window")
        self.assertLessEqual(abs(my - wy), 2, "not centred over the main window")

    def assert_owned_and_above(self, program, window):
        self.assertIn("0x%x" % program.window, zs.window_property(window, "WM_TRANSIENT_FOR"))
        self.assertTrue(zs.stacked_above(window, program.window), "below the main window")

    def test_pick_list_lies_above_the_main_window_and_the_next_commands_run(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.click(*ze.APPEND_STEP)
        program.click(*ze.APPEND_STEP)
        before = ze.visible_windows()
        program.click(*ze.navigation_button(60))
        pick_list = new_window(before, "the step pick list")
        self.assert_owned_and_above(program, pick_list)
        ze.shot(program, "wm-pick-list.png")
        x, y, _, _ = zs.geometry(pick_list)
        zs.click_at(x + 20, y + 5)  # step 1
        zs.poll(lambda: not (ze.visible_windows() - before), what="the pick list to close")
        ze.replace_text(program, ze.DESCRIPTION, "first")
        saved = ze.save_program_as(program, "picked.stp")
        self.assertEqual(ze.code_lines(saved), ["3;0.5;first", "3;0.5;", "3;0.5;"])

    def test_notice_and_boxes_are_centred_over_the_moved_main_window_and_lie_above_it(self):
        program = ze.start_program(self)
        # Away from the screen centre, where windows appear that ignore their owner.
        start_position = zs.geometry(program.window)[:2]
        zs.xdotool("windowmove", program.window, 60, 80)
        zs.poll(lambda: zs.geometry(program.window)[:2] != start_position,
                what="the main window to move")
        program.focus()
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.menu("File", "Save as...", disabled=ze.disabled_while_idle(program))
        zs.wait_window("Filename")
        notice = zs.WindowCatcher(25, program.window)  # the notice "File saved", for 600 ms
        zs.answer_file_dialog(program.file("noticed.stp"))
        x, y, w, h, above = notice.result()
        (mx, my) = client_centre(program)
        self.assertLessEqual(abs(mx - (x + w / 2)), 2, "notice not centred over the main window")
        self.assertLessEqual(abs(my - (y + h / 2)), 2, "notice not centred over the main window")
        self.assertTrue(above, "notice below the main window")
        ze.shot(program, "wm-notice.png")
        # The next command runs at once; its box is as wide as its title needs.
        program.focus()
        ze.choose_step_type(program, 2)  # a String step with no text is refused
        program.click(*ze.APPEND_STEP)
        box = zs.wait_window("Input required")
        self.assert_centred_over_main(program, box)
        self.assert_owned_and_above(program, box)
        ze.shot(program, "wm-message-box.png")
        frame = zs.top_level(box)
        self.assertGreaterEqual(zs.geometry(frame)[2], 200, "a box too narrow for its title")
        program.answer_box("Input required")

    def test_clicks_on_the_main_window_while_a_box_is_open_are_dropped(self):
        program = ze.start_program(self)
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.menu("?", "About")
        zs.wait_window("About")
        for _ in range(3):
            program.click(*ze.APPEND_STEP)
        program.answer_box("About")
        program.focus()
        saved = ze.save_program_as(program, "one.stp")
        self.assertEqual(ze.code_lines(saved), ["3;0.5;"])

    def test_main_window_frame_offers_neither_minimise_nor_maximise(self):
        program = ze.start_program(self)
        hints = zs.window_property(program.window, "_MOTIF_WM_HINTS")
        values = [int(v, 16) for v in re.findall(r"0x[0-9a-f]+", hints)]
        self.assertEqual(len(values), 5, hints)
        flags, functions, decorations = values[:3]
        self.assertTrue(flags & MWM_FUNCTIONS and flags & MWM_DECORATIONS, hints)
        self.assertFalse(functions & (MWM_ALL | MWM_MINIMIZE_FUNC | MWM_MAXIMIZE_FUNC), hints)
        self.assertFalse(decorations & (MWM_ALL | MWM_MINIMIZE_DECOR | MWM_MAXIMIZE_DECOR), hints)
        actions = zs.window_property(program.window, "_NET_WM_ALLOWED_ACTIONS")
        for action in ("MAXIMIZE_HORZ", "MAXIMIZE_VERT", "MINIMIZE"):
            self.assertNotIn("_NET_WM_ACTION_" + action, actions)

    def test_a_name_typed_into_the_file_dialog_is_saved_as_typed(self):
        program = ze.start_program(self)
        with open(program.file("other.stp"), "wb"):
            pass  # a file in the folder that the name is not the start of
        program.menu("File", "New", disabled=zs.DISABLED_AT_START)
        program.menu("File", "Save as...", disabled=ze.disabled_while_idle(program))
        chooser = zs.wait_window("Filename")
        zs.poll(lambda: zs.focused_top_level() == chooser, what="focus on the file dialog")
        self.assertTrue(zs.stacked_above(chooser, program.window), "dialog below the main window")
        ze.shot(program, "wm-file-dialog.png")
        zs.type_text("new1")
        zs.key("Return")
        zs.wait_no_window("Filename")
        self.assertEqual(ze.code_lines(program.file("new1.stp")), ["3;0.5;"])
        self.assertEqual(sorted(n for n in os.listdir(program.folder) if n.endswith(".stp")),
                         ["new1.stp", "other.stp"])

    def test_a_huge_unknown_record_is_shown_cut_and_the_program_goes_on(self):
        program = ze.start_program(self)
        ze.open_step_file(program, "huge.stp", ["3;0.5;", "Q" * 300000 + ";1;"])
        program.focus()
        program.menu("?", "About")
        program.answer_box("About")
        self.assertTrue(program.running(), program.log())


if __name__ == "__main__":
    zs.main()
