# SPDX-License-Identifier: MIT
"""The sphere's array functions against published values, identities and the C exports."""

import math
from ctypes import byref, c_double

import numpy as np
import pytest

import quellis
from quellis import lib

# H. Du, Applied Optics 43 (2004) 1951, Table 1 (also W. J. Wiscombe,
# NCAR/TN-140): x, m, Qext, Qsca, Qback (None where not published).
DU_TABLE = [
    (0.099, 0.75, 7.417859e-6, 7.417859e-6, 1.108554e-5),
    (0.101, 0.75, 8.033538e-6, 8.033538e-6, None),
    (10, 0.75, 2.232265, 2.232265, 0.04658441),
    (1000, 0.75, 1.997908, 1.997908, 0.9391602),
    (100, 1.33 + 1e-5j, 2.101321, 2.096594, 2.146326),
    (10000, 1.33 + 1e-5j, 2.004089, 1.723857, 0.03757191),
    (0.055, 1.5 + 1j, 0.10149104, 1.131687e-5, 1.695493e-5),
    (0.056, 1.5 + 1j, 0.1033467, 1.216311e-5, None),
    (100, 1.5 + 1j, 2.097502, 1.283697, 0.1724214),
    (10000, 1.5 + 1j, 2.004368, 1.236574, 0.1724138),
    (1, 10 + 10j, 2.532993, 2.049405, 3.308997),
    (100, 10 + 10j, 2.071124, 1.836785, 0.8201273),
    (10000, 10 + 10j, 2.005914, 1.795393, 0.8190044),
]


@pytest.mark.parametrize("x, m, qext, qsca, qback", DU_TABLE)
def test_efficiencies_match_published_table(x, m, qext, qsca, qback):
    got = quellis.efficiencies(x, m)
    assert got[0] == pytest.approx(qext, rel=2e-6)
    assert got[1] == pytest.approx(qsca, rel=2e-6)
    # Summed over 10^4 orders in double precision, Qback keeps about five digits.
    qback_tolerance = 1e-5 if x >= 1e4 else 2e-6
    if qback is not None:
        assert got[2] == pytest.approx(qback, rel=qback_tolerance)


def test_efficiencies_of_a_published_table_in_one_call():
    x = np.array([row[0] for row in DU_TABLE], dtype=float)
    m = np.array([row[1] for row in DU_TABLE], dtype=complex)
    qext, qsca, _ = quellis.efficiencies(x, m)
    np.testing.assert_allclose(qext, [row[2] for row in DU_TABLE], rtol=2e-6)
    np.testing.assert_allclose(qsca, [row[3] for row in DU_TABLE], rtol=2e-6)


def test_bohren_huffman_sphere():
    # Bohren & Huffman (1983): a 0.525 um sphere at 632.8 nm.
    x = 2 * math.pi * 0.525 / 0.6328
    qext, qsca, qback = quellis.efficiencies(x, [1.55, 1.55 + 0.1j])
    np.testing.assert_allclose(qext, [3.10543, 2.86165188243], rtol=5e-6)
    np.testing.assert_allclose(qsca, [3.10543, 1.66424911991], rtol=5e-6)
    np.testing.assert_allclose(qback, [2.92534, 0.20599534080], rtol=5e-6)


def test_bohren_huffman_phase_matrix_ratios():
    # Bohren & Huffman (1983), x = 5.213, m = 1.55, at 0, 45, 90 and 180 degrees.
    theta = np.radians([0.0, 45.0, 90.0, 180.0])
    s11, s12, s33, s34 = quellis.scattering_matrix(5.213, 1.55, theta)
    np.testing.assert_allclose(s11[1:] / s11[0], [0.0701845, 0.0124601, 0.0383189], rtol=1e-3)
    np.testing.assert_allclose(-s12[1:] / s11[1:], [0.00959953, 0.230462, 0], atol=1e-3)
    np.testing.assert_allclose(s33[1:] / s11[1:], [0.959825, 0.937497, -1], atol=1e-3)
    np.testing.assert_allclose(s34[1:] / s11[1:], [-0.280434, 0.260742, 0], atol=1e-3)


def test_forward_amplitudes_give_the_extinction():
    # Optical theorem: Qext = 4 Re S(0) / x^2, and S1(0) = S2(0).
    x = np.array([0.5, 3.0, 40.0])
    m = np.array([1.33, 1.5 + 0.1j, 0.2 + 3.0j])
    s1, s2 = quellis.amplitudes(x, m, 0.0)
    np.testing.assert_allclose(s1, s2, rtol=1e-13)
    np.testing.assert_allclose(4 * s1.real / x**2, quellis.efficiencies(x, m)[0], rtol=1e-10)


def test_matrix_elements_are_formed_from_the_amplitudes():
    x, m = 2.5, 1.5 + 0.2j
    theta = np.linspace(0.0, np.pi, 7)
    s1, s2 = quellis.amplitudes(x, m, theta)
    s11, s12, s33, s34 = quellis.scattering_matrix(x, m, theta)
    np.testing.assert_allclose(s11 - s12, abs(s1) ** 2, rtol=1e-12)
    np.testing.assert_allclose(s11 + s12, abs(s2) ** 2, rtol=1e-12)
    np.testing.assert_allclose(s33, (s1 * s2.conj()).real, rtol=1e-12, atol=1e-15)
    np.testing.assert_allclose(s34, (s2 * s1.conj()).imag, rtol=1e-12, atol=1e-15)


def test_coefficients_sum_to_the_efficiencies():
    # Qext = 2/x^2 sum (2n+1) Re(a_n + b_n), Qsca = 2/x^2 sum (2n+1)(|a_n|^2 + |b_n|^2).
    x = np.array([[0.3], [4.0], [60.0]])
    m = np.array([1.5 + 0.1j, 3.0 + 4.0j])
    a, b = quellis.coefficients(x, m)
    order = np.arange(1, a.shape[-1] + 1)
    weight = (2 * order + 1) * 2 / x[..., np.newaxis] ** 2
    qext, qsca, _ = quellis.efficiencies(x, m)
    np.testing.assert_allclose((weight * (a + b).real).sum(-1), qext, rtol=1e-12)
    np.testing.assert_allclose((weight * (abs(a) ** 2 + abs(b) ** 2)).sum(-1), qsca, rtol=1e-12)


def test_coefficients_match_published_first_order():
    a, b = quellis.coefficients(1.0, 1.5)
    assert a.shape == b.shape == (7,)
    assert a[0] == pytest.approx(0.0348727 - 0.183457j, abs=1e-6)
    assert b[0] == pytest.approx(0.000800506 - 0.0282819j, abs=1e-7)


def test_coefficients_pad_shorter_series_with_zeros():
    a, b = quellis.coefficients([0.1, 10.0], 1.5)
    assert a.shape == (2, 21)
    assert np.all(a[0, 4:] == 0) and np.all(b[0, 4:] == 0)
    assert np.all(a[0, :4] != 0) and np.all(a[1] != 0)
    single_a, single_b = quellis.coefficients(10.0, 1.5)
    np.testing.assert_array_equal(a[1], single_a)
    np.testing.assert_array_equal(b[1], single_b)


def test_array_results_equal_single_calls_of_the_exports():
    x = np.array([0.2, 1.0, 7.5, 30.0])
    m = np.array([1.33, 1.5 + 0.01j, 0.1 + 3.5j, 2.0 + 1.0j])
    qext, qsca, qback = quellis.efficiencies(x, m)
    for i in range(len(x)):
        sca, ext, back = c_double(), c_double(), c_double()
        lib.CrossSection(
            byref(lib.TComplex(x[i], 0)),
            byref(lib.TComplex(m[i].real, m[i].imag)),
            byref(sca),
            byref(ext),
            byref(back),
        )
        assert (qext[i], qsca[i], qback[i]) == (ext.value, sca.value, back.value)
