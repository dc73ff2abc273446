# SPDX-License-Identifier: MIT
"""The 32 exports of the shared library quellis, declared for ctypes.

Every export returns nothing and writes its results through pointers, as
``quellis.h`` describes. ``TComplex`` is the library's complex number; an
array argument is a pointer to element 0 followed by the index of its last
element. Example::

    from ctypes import byref, c_double
    from quellis.lib import TComplex, CrossSection

    qsca, qext, qback = c_double(), c_double(), c_double()
    CrossSection(byref(TComplex(1.0, 0.0)), byref(TComplex(1.5, 0.0)),
                 byref(qsca), byref(qext), byref(qback))

The library is loaded when this module is first imported (see
``quellis._locate`` for where it is looked for); the array functions of the
package do not use it, they have the library compiled into their extension.
"""

import ctypes
import os
from ctypes import POINTER, c_double, c_int32
from pathlib import Path

from . import _locate

try:
    from ._installed_library import LIBRARY_RELATIVE_PATH as _INSTALLED_RELATIVE_PATH
except ImportError:
    _INSTALLED_RELATIVE_PATH = None


class TComplex(ctypes.Structure):
    """A complex number of the library: real part first."""

    _fields_ = [("Re", c_double), ("Im", c_double)]


_COMPLEX = POINTER(TComplex)
_DOUBLE = POINTER(c_double)
_INT = POINTER(c_int32)
_ARRAY = (_COMPLEX, c_int32)

#: Argument types of every export, in the order of the export table.
SIGNATURES = {
    "SprCom": (_COMPLEX, _COMPLEX),
    "AbsCom": (_COMPLEX, _DOUBLE),
    "MultCom": (_COMPLEX, _COMPLEX, _COMPLEX),
    "DivCom": (_COMPLEX, _COMPLEX, _COMPLEX),
    "RootCom": (_COMPLEX, c_int32) + _ARRAY,
    "PowCom": (_COMPLEX, _COMPLEX, c_double),
    "ExpCom": (_COMPLEX, _COMPLEX),
    "LogCom": (_COMPLEX, c_int32, _COMPLEX),
    "SinCom": (_COMPLEX, _COMPLEX),
    "CosCom": (_COMPLEX, _COMPLEX),
    "TanCom": (_COMPLEX, _COMPLEX),
    "ArcsinCom": (_COMPLEX, _COMPLEX),
    "ArccosCom": (_COMPLEX, _COMPLEX),
    "ArctanCom": (_COMPLEX, _COMPLEX),
    "Bessel": (_COMPLEX, _COMPLEX, _INT) + _ARRAY + _ARRAY,
    "Aden": (_COMPLEX, _COMPLEX, _INT) + _ARRAY,
    "ScattKoef": (_COMPLEX, _COMPLEX, _INT) + _ARRAY + _ARRAY,
    "AnglFun": (_COMPLEX,) + _ARRAY + (c_double,) + _ARRAY,
    "CrossSection": (_COMPLEX, _COMPLEX, _DOUBLE, _DOUBLE, _DOUBLE),
    "AmplMatrix": (_COMPLEX, _COMPLEX, _COMPLEX, c_double, _COMPLEX),
    "ScatMatrix": (_COMPLEX, _COMPLEX, _COMPLEX, c_double, _COMPLEX, _COMPLEX, _COMPLEX),
    "CoatBessel": (_COMPLEX, _COMPLEX, _INT) + _ARRAY + _ARRAY + _ARRAY,
    "CoatCrossSection": (_COMPLEX,) * 4 + (_DOUBLE,) * 3,
    "CoatAmplMatrix": (_COMPLEX,) * 4 + (c_double,) + (_COMPLEX,) * 2,
    "CoatScatMatrix": (_COMPLEX,) * 4 + (c_double,) + (_COMPLEX,) * 4,
    "CoatAden": (_COMPLEX, _COMPLEX, _INT) + _ARRAY,
    "CoatScattKoef": (_COMPLEX,) * 4 + (_INT,) + _ARRAY + _ARRAY,
    "NearAmplMatrix": (_COMPLEX,) * 3 + (c_double,) + (_COMPLEX,) * 2,
    "NearScatMatrix": (_COMPLEX,) * 3 + (c_double,) + (_COMPLEX,) * 4,
    "NearLongAmpl": (_COMPLEX,) * 3 + (c_double, _COMPLEX),
    "NearFields": (_COMPLEX,) * 3 + (c_double,) + (_COMPLEX,) * 6,
    "NearPointing": (_COMPLEX,) * 3 + (c_double, c_double) + (_COMPLEX,) * 3,
}

#: The file the exports were loaded from, or the name the system's loader found.
path, _library = _locate.load_library(Path(__file__).parent, os.environ, _INSTALLED_RELATIVE_PATH)


def _declare(name):
    function = getattr(_library, name)
    function.argtypes = SIGNATURES[name]
    function.restype = None
    return function


SprCom = _declare("SprCom")
AbsCom = _declare("AbsCom")
MultCom = _declare("MultCom")
DivCom = _declare("DivCom")
RootCom = _declare("RootCom")
PowCom = _declare("PowCom")
ExpCom = _declare("ExpCom")
LogCom = _declare("LogCom")
SinCom = _declare("SinCom")
CosCom = _declare("CosCom")
TanCom = _declare("TanCom")
ArcsinCom = _declare("ArcsinCom")
ArccosCom = _declare("ArccosCom")
ArctanCom = _declare("ArctanCom")
Bessel = _declare("Bessel")
Aden = _declare("Aden")
ScattKoef = _declare("ScattKoef")
AnglFun = _declare("AnglFun")
CrossSection = _declare("CrossSection")
AmplMatrix = _declare("AmplMatrix")
ScatMatrix = _declare("ScatMatrix")
CoatBessel = _declare("CoatBessel")
CoatCrossSection = _declare("CoatCrossSection")
CoatAmplMatrix = _declare("CoatAmplMatrix")
CoatScatMatrix = _declare("CoatScatMatrix")
CoatAden = _declare("CoatAden")
CoatScattKoef = _declare("CoatScattKoef")
NearAmplMatrix = _declare("NearAmplMatrix")
NearScatMatrix = _declare("NearScatMatrix")
NearLongAmpl = _declare("NearLongAmpl")
NearFields = _declare("NearFields")
NearPointing = _declare("NearPointing")
