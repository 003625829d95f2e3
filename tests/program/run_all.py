"""Runs every test_*.py of this folder as one unittest suite, against one X display.

  ZS_PROGRAM=build/src/Zelvorin-Step ZS_X_HELPER=build/tests/program/zs_x_helper \
  scripts/with-xvfb.sh -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
  python3 tests/program/run_all.py [-k PATTERN]

-noreset keeps the server from resetting when the last client leaves between two tests, which
would refuse the next program's connection for a moment.

ctest runs each file on its own instead (tests/program/CMakeLists.txt).
"""
import os
import sys
import unittest

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, here)
    unittest.main(module=None, argv=[sys.argv[0], "discover", "-s", here, "-p", "test_*.py", "-v"]
                  + sys.argv[1:])
