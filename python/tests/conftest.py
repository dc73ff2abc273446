# SPDX-License-Identifier: MIT
"""The tests import the package from this source tree."""

import sys
from pathlib import Path

PYTHON_DIR = Path(__file__).resolve().parent.parent
REPOSITORY = PYTHON_DIR.parent
sys.path.insert(0, str(PYTHON_DIR))
