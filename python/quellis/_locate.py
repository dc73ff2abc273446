# SPDX-License-Identifier: MIT
"""Where the shared library quellis is found.

In this order: the file the environment variable ``QUELLIS_LIBRARY`` names;
the library an installation put beside this package (recorded at install
time as a path relative to the package); the library of the release build
when the package is run from the repository.
"""

from pathlib import Path

ENVIRONMENT_VARIABLE = "QUELLIS_LIBRARY"
LIBRARY_FILE_NAME = "libquellis.so.1"


def library_candidates(package_dir, environ, installed_relative_path):
    """The paths to try, best first.

    A set ``QUELLIS_LIBRARY`` is the only candidate: a user who names a file
    means that file and no other.
    """
    named = environ.get(ENVIRONMENT_VARIABLE)
    if named:
        return [Path(named)]
    package_dir = Path(package_dir)
    candidates = []
    if installed_relative_path is not None:
        candidates.append(package_dir / installed_relative_path)
    repository = package_dir.parent.parent
    candidates.append(repository / "build" / "release" / "library" / LIBRARY_FILE_NAME)
    return candidates


def find_library(package_dir, environ, installed_relative_path):
    """The first candidate that exists; OSError naming every place tried."""
    candidates = library_candidates(package_dir, environ, installed_relative_path)
    for candidate in candidates:
        if candidate.is_file():
            return candidate
    tried = ", ".join(str(c) for c in candidates)
    raise OSError(
        f"quellis: the shared library {LIBRARY_FILE_NAME} was not found (tried {tried}); "
        f"set {ENVIRONMENT_VARIABLE} to its path"
    )
