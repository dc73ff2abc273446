# SPDX-License-Identifier: MIT
"""Checked numpy inputs and the compiled element loops.

The array functions convert each input to float64 or complex128, reject what
the library cannot answer with ValueError, broadcast the inputs against each
other (as views: nothing is copied), and hand them to a loop of the
extension module ``quellis._core``, which calls the library once per element
of the broadcast shape.
"""

import numpy as np

#: Largest size parameter accepted: the library's term count
#: round(x + 4 x^(1/3) + 2) must fit a 32-bit signed integer.
MAX_SIZE = 2.0e9


def _as_array(function, name, value, kinds, dtype):
    array = np.asarray(value)
    if array.dtype.kind not in kinds:
        wanted = "real" if dtype is np.float64 else "real or complex"
        raise ValueError(f"{function}: {name} must be {wanted} numbers, not {array.dtype}")
    return array.astype(dtype, copy=False)


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
    """A relative refractive index n + ik: finite, not zero, and k >= 0.

    A negative k is what the other sign convention (fields varying as
    exp(+i omega t)) calls absorption; here it would be gain, so it is
    refused with a message that says so.
    """
    array = _as_array(function, name, value, "biufc", np.complex128)
    _reject(function, name, array, ~np.isfinite(array) | (array == 0), "finite and non-zero")
    gain = array.imag < 0
    if np.any(gain):
        raise ValueError(
            f"{function}: {name} has a negative imaginary part ({array[gain].flat[0]!r}); "
            f"quellis takes m = n + ik with k >= 0 for absorption (fields varying as "
            f"exp(-i omega t)); for the exp(+i omega t) convention pass the complex conjugate"
        )
    return array


def broadcast(function, **arrays):
    """The inputs broadcast against each other, in the order given (views)."""
    try:
        return np.broadcast_arrays(*arrays.values())
    except ValueError:
        shapes = ", ".join(f"{name} {array.shape}" for name, array in arrays.items())
        raise ValueError(f"{function}: the shapes of {shapes} do not broadcast") from None


def finish(function, loop_result, arrays):
    """The outputs of an element loop, or ValueError for a result that is not finite.

    ``loop_result`` is the loop's outputs followed by the flat index of the
    first element whose result is not finite (-1 if none); the error names
    the inputs of that element. Scalar inputs give numpy scalars.
    """
    *outputs, first = loop_result
    if first >= 0:
        inputs = ", ".join(repr(array.flat[first].item()) for array in arrays)
        raise ValueError(f"{function}: the library gives no finite result for ({inputs})")
    return tuple(output[()] for output in outputs)
