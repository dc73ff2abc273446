# SPDX-License-Identifier: MIT
"""The Python package quellis with its extension module quellis._core.

The extension compiles the library's own sources (the ones
library/CMakeLists.txt gives the target quellis) with the extension's loops
in python/src, so the package needs no installed library. It is compiled
with the library's floating-point options, so its results are the exports'.
"""

import os
import re
import sys
from pathlib import Path

import pybind11
from setuptools import Extension, setup

LIBRARY = Path("library")


def _cmake_calls(text, command):
    """The argument lists of every call of ``command`` in a CMake file."""
    return [m.group(1).split() for m in re.finditer(rf"\b{command}\(([^)]*)\)", text)]


def _library_paths(words):
    """Paths below library/ named as ${CMAKE_CURRENT_SOURCE_DIR}/... in ``words``."""
    prefix = "${CMAKE_CURRENT_SOURCE_DIR}/"
    paths = []
    for word in words:
        word = word.removeprefix("$<BUILD_INTERFACE:").removesuffix(">")
        if word.startswith(prefix):
            paths.append(word[len(prefix) :])
    return paths


def library_sources_and_includes():
    """The sources and include folders of the library target quellis."""
    text = (LIBRARY / "CMakeLists.txt").read_text()
    variables = {}
    for words in _cmake_calls(text, "file"):
        if words[0] == "GLOB":
            patterns = _library_paths(words[2:])
            variables[words[1]] = sorted(p for pattern in patterns for p in LIBRARY.glob(pattern))
    for words in _cmake_calls(text, "set"):
        variables.setdefault(words[0], [LIBRARY / w for w in words[1:] if w.endswith(".cpp")])
    targets = [w for w in _cmake_calls(text, "add_library") if w[:2] == ["quellis", "SHARED"]]
    if not targets:
        raise RuntimeError("library/CMakeLists.txt defines no shared library quellis")
    sources = []
    for word in targets[0][2:]:
        variable = re.fullmatch(r"\$\{(\w+)\}", word)
        sources += variables.get(variable.group(1), []) if variable else [LIBRARY / word]
    includes = [
        LIBRARY / path
        for words in _cmake_calls(text, "target_include_directories")
        if words[0] == "quellis"
        for path in _library_paths(words[1:])
    ]
    if not sources or not includes:
        raise RuntimeError("no sources or include folders of quellis in library/CMakeLists.txt")
    return [str(s) for s in sources], [str(i) for i in includes]


library_sources, library_includes = library_sources_and_includes()
extension_sources = sorted(str(p) for p in Path("python", "src").glob("*.cpp"))

link_args = []
if sys.platform.startswith("linux"):
    link_args.append("-Wl,--version-script=python/src/module.map")

core = Extension(
    "quellis._core",
    sources=extension_sources + library_sources,
    include_dirs=[pybind11.get_include(), *library_includes],
    language="c++",
    extra_compile_args=[
        "-std=c++20",
        "-O3",
        "-g0",
        "-fvisibility=hidden",
        "-ffp-contract=off",
        "-fno-fast-math",
        "-fno-tree-vectorize",
    ],
    extra_link_args=link_args,
)

# Intermediate files beside the CMake builds, not over them; the sources
# compiled on every core.
setup(
    ext_modules=[core],
    options={
        "build": {"build_base": "build/setuptools"},
        "build_ext": {"parallel": os.cpu_count() or 1},
    },
)
