"""The command line of the real program: a step file given as its argument, --help and usage
errors."""
import os
import subprocess

import zs_editing as ze
import zs_program as zs

# A Delay step first: its field set shows no live pointer position, so two windows that show
# this program look the same.
STEPS = ["3;0.5;wait first", "9;Done;"]
LOADED_DISABLED = {"Pause", "Stop"}


def step_pixels(program):
    """The file name, the step frame's number and buttons, the step's fields and description:
    the main window without the type combo and the Play buttons, which show the keyboard focus
    where the window manager's focus left it."""
    return (ze.region_pixels(program, (0, 0, zs.CLIENT_WIDTH, 85)) +
            ze.region_pixels(program, (0, 110, zs.CLIENT_WIDTH, 140)))


def play_button_shows(program):
    """Whether the Play button's green face shows: the edit screen is there once a program is."""
    x, y = program.client_to_screen(*ze.PLAY)
    r, g, b = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y),
                              "-depth", "8", "rgb:-"], stdout=subprocess.PIPE, check=True,
                             timeout=zs.DEFAULT_TIMEOUT).stdout
    return g > 100 and g > r + 50 and g > b + 50


class FileArgument(zs.ProgramTestCase):
    def new_program(self):
        """A program not started yet; tests add the argument to its command."""
        program = zs.Program()
        self.addCleanup(program.cleanup)
        self.addCleanup(self.assert_clean_log, program)
        return program

    def test_the_file_is_opened_and_shown_as_file_open_shows_it(self):
        opened = zs.Program()
        self.addCleanup(opened.cleanup)
        ze.write_utf8_step_file(opened.file("steps.stp"), STEPS)
        opened.start()
        opened.menu("File", "Open", disabled=zs.DISABLED_AT_START)
        ze.answer_file_chooser("steps.stp")
        zs.poll(lambda: play_button_shows(opened), what="the program opened by File > Open")
        expected = step_pixels(opened)
        opened.cleanup()

        given = self.new_program()
        path = given.file("steps.stp")
        ze.write_utf8_step_file(path, STEPS)
        given.command.append(path)
        given.start()
        zs.poll(lambda: play_button_shows(given), what="the program given as the argument")
        # The same file name, step number, step type and fields as after File > Open.
        zs.poll(lambda: step_pixels(given) == expected,
                what="the same main window as after File > Open")
        ze.shot(given, "file-argument.png", given.window)
        # It is the program's file: Save writes the same steps back to it.
        before = os.stat(path).st_mtime_ns
        given.menu("File", "Save", disabled=LOADED_DISABLED)
        zs.poll(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        self.assertEqual(ze.code_lines(path), STEPS)

    def test_a_file_that_cannot_be_opened_gives_the_file_open_box(self):
        rows = (  # file content (None: no file), title of the box
            (None, "Error"),
            (b"Another-Program 1.0\r\nx\r\n\r\n3;1.0;\r\n", "Zelvorin-Step 2.5"),
        )
        for content, title in rows:
            with self.subTest(title=title):
                program = self.new_program()
                path = program.file("given.stp")
                if content is not None:
                    with open(path, "wb") as f:
                        f.write(content)
                program.command.append(path)
                program.start(focus=False)
                program.answer_box(title)
                self.assertTrue(program.running())
                program.focus()
                self.assertFalse(play_button_shows(program), "a program was loaded")
                program.cleanup()


class Options(zs.ProgramTestCase):
    def test_help_and_usage_errors_answer_on_the_console_without_a_window(self):
        binary = os.environ.get("ZS_PROGRAM")
        if not binary:
            self.skipTest("ZS_PROGRAM does not name the program")
        rows = (  # arguments, exit status, whether the usage goes to standard output
            (["--help"], 0, True),
            (["--bogus"], 2, False),
            (["-h"], 2, False),
            (["one.stp", "two.stp"], 2, False),
            (["--play"], 2, False),
        )
        # No display is needed: the answer comes before any window.
        environment = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        for arguments, status, on_output in rows:
            with self.subTest(arguments=arguments):
                done = subprocess.run([binary] + arguments, stdout=subprocess.PIPE,
                                      stderr=subprocess.PIPE, text=True, env=environment,
                                      timeout=zs.DEFAULT_TIMEOUT)
                self.assertEqual(done.returncode, status)
                usage, other = (done.stdout, done.stderr) if on_output else (done.stderr,
                                                                              done.stdout)
                name = os.path.basename(binary)
                self.assertTrue(usage.startswith("Usage: %s [FILE]\n" % name), usage)
                self.assertIn("--help", usage)
                self.assertEqual(other, "")


if __name__ == "__main__":
    zs.main()
