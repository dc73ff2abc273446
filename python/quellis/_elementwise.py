# SPDX-License-Identifier: MIT
"""Checked numpy inputs and element-by-element calls of the exports.

The array functions convert each input to float64 or complex128, reject what
the library cannot answer with ValueError, broadcast the inputs against each
other, and call one export per element of the broadcast shape.
"""

import numpy as np

from .lib import TComplex

#: Largest size parameter accepted: the library's term count
#: round(x + 4 x^(1/3) + 2) must fit a 32-bit signed integer.
MAX_SIZE = 2.0e9


def _as_array(function, name, value, kinds, dtype):
    array = np.asarray(value)
    if array.dtype.kind not in kinds:
        wanted = "real" if dtype is np.float64 else "real or complex"
        raise ValueError(f"{function}: {name} must be {wanted} numbers, not {array.dtype}")
    return array.astype(dtype)


def _reject(function, name, array, bad, requirement):
    if np.any(bad):
        raise ValueError(f"{function}: {name} must be {requirement}; got {array[bad].flat[0]!r}")


def sizes(function, name, value):
    """A size parameter k*r: real, finite, positive and at most MAX_SIZE."""
    array = _as_array(function, name, value, "biuf", np.float64)
    _reject(function, name, array, ~(np.isfinite(array) & (array > 0)), "finite and positive")
    _reject(function, name, array, array > MAX_SIZE, f"at most {MAX_SIZE:g}")
    return array


def angles(function, name, value):
    """An angle in radians: real and finite."""
    array = _as_array(function, name, value, "biuf", np.float64)
    _reject(function, name, array, ~np.isfinite(array), "finite")
    return array


def indices(function, name, value):
    """A relative refractive index n + ik: finite and not zero."""
    array = _as_array(function, name, value, "biufc", np.complex128)
    _reject(function, name, array, ~np.isfinite(array) | (array == 0), "finite and non-zero")
    return array


def broadcast(function, **arrays):
    """The inputs broadcast against each other, in the order given."""
    try:
        return np.broadcast_arrays(*arrays.values())
    except ValueError:
        shapes = ", ".join(f"{name} {array.shape}" for name, array in arrays.items())
        raise ValueError(f"{function}: the shapes of {shapes} do not broadcast") from None


def complex_value(z):
    """A Python or numpy number as the library's TComplex."""
    return TComplex(z.real, z.imag)


def evaluate(function, call, arrays, dtypes):
    """Calls ``call`` once per element of the broadcast ``arrays``.

    ``call`` takes one element of each input and returns a tuple with one
    value per entry of ``dtypes``. Returns a tuple of arrays of the broadcast
    shape (numpy scalars for scalar inputs); ValueError if the library gives
    a value that is not finite, naming the inputs that led to it.
    """
    shape = arrays[0].shape
    columns = [array.ravel().tolist() for array in arrays]
    results = [call(*element) for element in zip(*columns)]
    outputs = []
    for position, dtype in enumerate(dtypes):
        output = np.array([result[position] for result in results], dtype=dtype).reshape(shape)
        outputs.append(output)
    finite = np.logical_and.reduce([np.isfinite(output) for output in outputs])
    if not np.all(finite):
        first = int(np.flatnonzero(~np.ravel(finite))[0])
        inputs = ", ".join(repr(column[first]) for column in columns)
        raise ValueError(f"{function}: the library gives no finite result for ({inputs})")
    return tuple(output[()] for output in outputs)
