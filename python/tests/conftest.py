# SPDX-License-Identifier: MIT
"""The tests import the package quellis from PYTHONPATH: the copy beside its
compiled extension in the build tree (build/release/python), or an
installation."""

from pathlib import Path

PYTHON_DIR = Path(__file__).resolve().parent.parent
REPOSITORY = PYTHON_DIR.parent
