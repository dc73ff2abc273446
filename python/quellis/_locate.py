# SPDX-License-Identifier: MIT
"""Where the ctypes declarations find the shared library quellis.

In this order: the file the environment variable ``QUELLIS_LIBRARY`` names
(and nothing else if it is set); the library an installation put beside
this package (recorded at install time as a path relative to the package);
the library of the build when the package is the build's copy
(build/release/python/quellis) or the repository's python/quellis; the system's dynamic loader, asked for the library's SONAME
(``libquellis.so.1``, as the package ``libquellis1`` installs it) and for
what ``ctypes.util.find_library("quellis")`` names.
"""

import ctypes
import ctypes.util
from pathlib import Path

ENVIRONMENT_VARIABLE = "QUELLIS_LIBRARY"
LIBRARY_FILE_NAME = "libquellis.so.1"


def library_candidates(package_dir, environ, installed_relative_path):
    """The files to try, best first.

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
    build_or_repository = package_dir.parent.parent
    candidates.append(build_or_repository / "library" / LIBRARY_FILE_NAME)
    candidates.append(build_or_repository / "build" / "release" / "library" / LIBRARY_FILE_NAME)
    return candidates


def system_names(find=ctypes.util.find_library):
    """The names to hand the system's loader: the SONAME, then what ``find`` gives."""
    names = [LIBRARY_FILE_NAME]
    found = find("quellis")
    if found and found not in names:
        names.append(found)
    return names


def load_library(package_dir, environ, installed_relative_path, loader=ctypes.CDLL):
    """(what was loaded, the loaded library); OSError naming every place tried."""
    candidates = library_candidates(package_dir, environ, installed_relative_path)
    for candidate in candidates:
        if candidate.is_file():
            return candidate, loader(str(candidate))
    tried = [str(c) for c in candidates]
    if not environ.get(ENVIRONMENT_VARIABLE):
        for name in system_names():
            try:
                return name, loader(name)
            except OSError:
                tried.append(f"{name} through the system's loader")
    raise OSError(
        f"quellis: the shared library {LIBRARY_FILE_NAME} was not found (tried {', '.join(tried)}); "
        f"install it (package libquellis1) or set {ENVIRONMENT_VARIABLE} to its path. "
        f"The array functions of quellis do not need it."
    )
