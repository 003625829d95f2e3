"""Runs every test_*.py of this folder as one unittest suite, against one X display.

  ZS_PROGRAM=build/src/Zelvorin-Step scripts/with-xvfb.sh python3 tests/program/run_all.py [-k PATTERN]

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
