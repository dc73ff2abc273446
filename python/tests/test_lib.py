# SPDX-License-Identifier: MIT
"""The ctypes declarations of the 32 exports against the C header and export table."""

import math
import re
from ctypes import POINTER, byref, c_double, c_int32

import pytest
from conftest import REPOSITORY

from quellis import lib

HEADER = REPOSITORY / "library" / "include" / "quellis.h"
EXPORT_TABLE = REPOSITORY / "library" / "quellis.def"

C_TYPES = {
    "TComplex*": POINTER(lib.TComplex),
    "double*": POINTER(c_double),
    "int32_t*": POINTER(c_int32),
    "double": c_double,
    "int32_t": c_int32,
}


def header_signatures():
    """Name -> ctypes argument types of every function the header declares."""
    text = HEADER.read_text()
    declarations = re.findall(r"QUELLIS_API void QUELLIS_CALL (\w+)\(([^)]*)\);", text)
    signatures = {}
    for name, parameters in declarations:
        types = []
        for parameter in parameters.split(","):
            words = parameter.replace("const ", "").split()
            types.append(C_TYPES["".join(words[:-1])])
        signatures[name] = tuple(types)
    return signatures


def test_every_export_is_declared_with_the_header_types():
    signatures = header_signatures()
    assert len(signatures) == 32
    assert set(lib.SIGNATURES) == set(signatures)
    for name, types in signatures.items():
        function = getattr(lib, name)
        assert tuple(function.argtypes) == types, name
        assert function.restype is None, name


def test_declarations_follow_the_export_table_order():
    ordinals = re.findall(r"^\s+(\w+) @(\d+)$", EXPORT_TABLE.read_text(), re.MULTILINE)
    assert [name for name, _ in ordinals] == list(lib.SIGNATURES)
    assert [int(ordinal) for _, ordinal in ordinals] == list(range(1, 33))


def test_loaded_library_is_the_one_the_environment_names():
    import os

    assert str(lib.path) == os.environ["QUELLIS_LIBRARY"]


def test_power_takes_a_double_by_value_after_its_output():
    result = lib.TComplex()
    lib.PowCom(byref(lib.TComplex(0.0, -9.0)), byref(result), 0.5)
    assert result.Re == pytest.approx(3 * math.cos(-math.pi / 4), rel=1e-15)
    assert result.Im == pytest.approx(3 * math.sin(-math.pi / 4), rel=1e-15)


def test_roots_fill_an_array_up_to_its_last_index_only():
    roots = (lib.TComplex * 5)(*([lib.TComplex(7.0, 7.0)] * 5))
    lib.RootCom(byref(lib.TComplex(1.0, 0.0)), 4, roots, 3)
    expected = [(1, 0), (0, 1), (-1, 0), (0, -1)]
    for root, (re_part, im_part) in zip(roots, expected):
        assert root.Re == pytest.approx(re_part, abs=1e-15)
        assert root.Im == pytest.approx(im_part, abs=1e-15)
    assert (roots[4].Re, roots[4].Im) == (7.0, 7.0)


def test_integer_outputs_report_the_full_term_count():
    count = c_int32()
    a = (lib.TComplex * 3)()
    b = (lib.TComplex * 3)()
    x, m = lib.TComplex(10.0, 0.0), lib.TComplex(1.5, 0.0)
    lib.ScattKoef(byref(x), byref(m), byref(count), a, 2, b, 2)
    assert count.value == 21
