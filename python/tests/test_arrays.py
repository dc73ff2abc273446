# SPDX-License-Identifier: MIT
"""Broadcasting, dtypes and the inputs the array functions refuse."""

import numpy as np
import pytest

import quellis


def test_results_take_the_broadcast_shape():
    x = np.linspace(0.5, 5.0, 4)
    m = np.array([[1.33], [1.5 + 0.1j], [2.0 + 1.0j]])
    theta = np.linspace(0.0, np.pi, 2).reshape(2, 1, 1)
    s11, s12, s33, s34 = quellis.scattering_matrix(x, m, theta)
    assert s11.shape == s12.shape == s33.shape == s34.shape == (2, 3, 4)
    assert s11.dtype == np.float64
    single = quellis.scattering_matrix(x[3], m[1, 0], theta[1, 0, 0])
    assert s11[1, 1, 3] == single[0] and s34[1, 1, 3] == single[3]


def test_scalar_inputs_give_numpy_scalars():
    qext, qsca, qback = quellis.efficiencies(1.0, 1.5)
    assert isinstance(qext, np.float64) and np.ndim(qext) == 0
    s1, s2 = quellis.amplitudes(1.0, 1.5, 0.3)
    assert isinstance(s1, np.complex128)


def test_empty_arrays_give_empty_results():
    qext, _, _ = quellis.efficiencies(np.array([]), 1.5)
    assert qext.shape == (0,)
    a, b = quellis.coefficients(np.zeros((0, 2)) + 1.0, 1.5)
    assert a.shape == (0, 2, 0)


@pytest.mark.parametrize(
    "x, m",
    [
        (np.array([1, 2, 3]), 1.5),
        (np.array([1.0, 2.0, 3.0], dtype=np.float32), 1.5),
        ([1.0, 2.0, 3.0], np.complex64(1.5)),
        ((1.0, 2.0, 3.0), 3 / 2),
        (np.array([1.0, 2.0, 3.0]), np.array([1.5 + 0j])),
    ],
)
def test_integer_single_precision_and_sequence_inputs(x, m):
    qext, _, _ = quellis.efficiencies(x, m)
    np.testing.assert_array_equal(qext, quellis.efficiencies(np.array([1.0, 2.0, 3.0]), 1.5)[0])


def test_non_contiguous_and_strided_inputs():
    x = np.linspace(0.5, 8.0, 16).reshape(4, 4).T[::2]
    qext, _, _ = quellis.efficiencies(x, 1.5)
    expected = quellis.efficiencies(np.ascontiguousarray(x), 1.5)[0]
    np.testing.assert_array_equal(qext, expected)
    assert qext.shape == (2, 4)


@pytest.mark.parametrize(
    "x, message",
    [
        (-1.0, "x must be finite and positive; got -1.0"),
        (0.0, "x must be finite and positive"),
        (np.nan, "x must be finite and positive"),
        ([1.0, np.inf], "x must be finite and positive; got inf"),
        (3e9, "x must be at most 2e\\+09"),
        (1.0 + 0.5j, "x must be real numbers"),
        ("one", "x must be real numbers"),
    ],
)
def test_sizes_the_library_cannot_answer(x, message):
    with pytest.raises(ValueError, match=message):
        quellis.efficiencies(x, 1.5)


@pytest.mark.parametrize("m", [np.nan, complex(1.5, np.inf), 0.0])
def test_indices_the_library_cannot_answer(m):
    with pytest.raises(ValueError, match="m must be finite and non-zero"):
        quellis.amplitudes(1.0, m, 0.0)


def test_angles_must_be_finite():
    with pytest.raises(ValueError, match="theta must be finite"):
        quellis.scattering_matrix(1.0, 1.5, [0.0, np.nan])
    with pytest.raises(ValueError, match="phi must be finite"):
        quellis.near_poynting(1.0, 1.5, 2.0, 0.5, np.inf)


def test_shapes_that_do_not_broadcast_are_named():
    with pytest.raises(ValueError, match=r"x \(3,\), m \(2,\).*do not broadcast"):
        quellis.efficiencies([1.0, 2.0, 3.0], [1.5, 1.6])
    with pytest.raises(ValueError, match="do not broadcast"):
        quellis.coated_amplitudes([1.0, 2.0], 3.0, 1.5, 1.2, [0.0, 1.0, 2.0])


def test_core_larger_than_the_particle_is_refused():
    message = r"core size x must not exceed the outer size y; got x=2\.0 > y=1\.5"
    with pytest.raises(ValueError, match=message):
        quellis.coated_efficiencies([1.0, 2.0], 1.5, 1.5, 1.33)


def test_distance_from_the_centre_must_be_positive():
    with pytest.raises(ValueError, match="rho must be finite and positive"):
        quellis.near_fields(1.0, 1.5, 0.0, 0.5)


def test_a_result_that_is_not_finite_is_an_error_not_a_nan():
    # A sphere of x = 1e8 needs more orders than the library tables; it answers NaN.
    with pytest.raises(ValueError, match=r"no finite result for \(100000000\.0, \(1\.5\+0j\)\)"):
        quellis.efficiencies([1.0, 1e8], 1.5)
