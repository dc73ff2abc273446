# SPDX-License-Identifier: MIT
"""Where the package looks for the shared library."""

from pathlib import Path

import pytest

from quellis._locate import LIBRARY_FILE_NAME, library_candidates, load_library


def find_library(package, environ, relative, system_names=()):
    """What load_library takes: a file that exists, or one of the names the
    system's loader is made to know."""

    def load(name):
        if not (Path(name).is_file() or name in system_names):
            raise OSError(f"cannot open {name}")
        return f"handle of {name}"

    return load_library(package, environ, relative, load)[0]


def test_environment_variable_is_the_only_candidate(tmp_path):
    named = tmp_path / "elsewhere.so"
    candidates = library_candidates(tmp_path / "pkg", {"QUELLIS_LIBRARY": str(named)}, "../x.so")
    assert candidates == [named]


def test_installed_path_comes_before_the_build_tree(tmp_path):
    package = tmp_path / "lib" / "python3" / "dist-packages" / "quellis"
    candidates = library_candidates(package, {}, "../../../libquellis.so.1")
    assert candidates[0] == package / "../../../libquellis.so.1"
    assert candidates[1].name == LIBRARY_FILE_NAME


def test_installed_layout_is_found(tmp_path):
    package = tmp_path / "lib" / "python3" / "dist-packages" / "quellis"
    package.mkdir(parents=True)
    library = tmp_path / "lib" / LIBRARY_FILE_NAME
    library.write_bytes(b"")
    found = find_library(package, {}, "../../../libquellis.so.1")
    assert found.resolve() == library.resolve()


def test_repository_layout_is_found(tmp_path):
    package = tmp_path / "python" / "quellis"
    package.mkdir(parents=True)
    library = tmp_path / "build" / "release" / "library" / LIBRARY_FILE_NAME
    library.parent.mkdir(parents=True)
    library.write_bytes(b"")
    assert find_library(package, {}, None) == library


def test_build_tree_copy_finds_the_build_library(tmp_path):
    package = tmp_path / "build" / "release" / "python" / "quellis"
    package.mkdir(parents=True)
    library = tmp_path / "build" / "release" / "library" / LIBRARY_FILE_NAME
    library.parent.mkdir(parents=True)
    library.write_bytes(b"")
    assert find_library(package, {}, None) == package.parent.parent / "library" / LIBRARY_FILE_NAME


def test_missing_library_names_every_place_tried(tmp_path):
    package = tmp_path / "python" / "quellis"
    with pytest.raises(OSError) as raised:
        find_library(package, {}, "../lib/libquellis.so.1")
    message = str(raised.value)
    assert str(package / "../lib/libquellis.so.1") in message
    assert str(Path(tmp_path, "build", "release", "library")) in message
    assert "QUELLIS_LIBRARY" in message


def test_missing_named_file_is_not_replaced_by_another(tmp_path):
    package = tmp_path / "python" / "quellis"
    library = tmp_path / "build" / "release" / "library" / LIBRARY_FILE_NAME
    library.parent.mkdir(parents=True)
    library.write_bytes(b"")
    with pytest.raises(OSError, match="missing.so") as raised:
        find_library(
            package, {"QUELLIS_LIBRARY": str(tmp_path / "missing.so")}, None, [LIBRARY_FILE_NAME]
        )
    assert "system's loader" not in str(raised.value)


def test_the_system_loader_is_asked_for_the_soname_last(tmp_path):
    package = tmp_path / "lib" / "python3" / "dist-packages" / "quellis"
    package.mkdir(parents=True)
    assert find_library(package, {}, "../../../libquellis.so.1", [LIBRARY_FILE_NAME]) == (
        LIBRARY_FILE_NAME
    )
    with pytest.raises(OSError, match=f"{LIBRARY_FILE_NAME} through the system's loader"):
        find_library(package, {}, "../../../libquellis.so.1")
