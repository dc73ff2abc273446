# SPDX-License-Identifier: MIT
"""The package's version and licence agree with the project's."""

import re

from conftest import REPOSITORY

import quellis


def test_versions_agree_with_the_library_build():
    cmake_lists = (REPOSITORY / "CMakeLists.txt").read_text()
    cmake_version = re.search(r"project\(velmora VERSION (\S+)", cmake_lists)
    pyproject = (REPOSITORY / "pyproject.toml").read_text()
    assert quellis.__version__ == cmake_version.group(1)
    assert f'version = "{quellis.__version__}"' in pyproject


def test_package_is_mit_licensed():
    pyproject = (REPOSITORY / "pyproject.toml").read_text()
    assert 'license = { text = "MIT" }' in pyproject
    assert 'license-files = ["LICENSES/MIT.txt"]' in pyproject
    assert (REPOSITORY / "LICENSES" / "MIT.txt").read_text().startswith("MIT License")
