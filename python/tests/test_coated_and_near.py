# SPDX-License-Identifier: MIT
"""Coated-sphere and near-field array functions: limits, identities and known values."""

import numpy as np
import pytest

import quellis


def test_equal_core_and_shell_make_the_homogeneous_sphere():
    y = np.array([1.0, 4.0, 25.0])
    m = np.array([1.5, 1.33 + 0.05j, 0.2 + 3.0j])
    coated = quellis.coated_efficiencies(0.5 * y, y, m, m)
    np.testing.assert_allclose(coated, quellis.efficiencies(y, m), rtol=1e-10)


def test_shell_of_zero_thickness_is_the_core_sphere():
    theta = np.linspace(0.0, np.pi, 5)
    coated = quellis.coated_scattering_matrix(2.0, 2.0, 1.5 + 0.1j, 2.0, theta)
    sphere = quellis.scattering_matrix(2.0, 1.5 + 0.1j, theta)
    np.testing.assert_allclose(coated, sphere, rtol=1e-10, atol=1e-14)


def test_coated_sphere_values():
    # Reference values to six digits: x = 1, y = 1.5, m1 = 1.5 + 0.1i, m2 = 1.33,
    # and a strongly absorbing small core in a large shell.
    x, y, m1 = [1.0, 0.1], [1.5, 5.0], [1.5 + 0.1j, 1.5 + 1j]
    qext, qsca, qback = quellis.coated_efficiencies(x, y, m1, 1.33)
    np.testing.assert_allclose(qext, [0.596616, 3.59088], rtol=5e-6)
    np.testing.assert_allclose(qsca, [0.439863, 3.59072], rtol=5e-6)
    np.testing.assert_allclose(qback, [0.147488, 0.344516], rtol=5e-6)


def test_coated_amplitudes_give_the_coated_extinction():
    x, y, m1, m2 = 1.0, 1.5, 1.5 + 0.1j, 1.33
    s1, s2 = quellis.coated_amplitudes(x, y, m1, m2, 0.0)
    assert s1 == pytest.approx(s2, rel=1e-13)
    qext = quellis.coated_efficiencies(x, y, m1, m2)[0]
    assert 4 * s1.real / y**2 == pytest.approx(qext, rel=1e-10)


def test_near_field_values_at_one_point():
    # Reference values to six digits of the library's exports (their own
    # weighting of the radial fields): x = 1, m = 1.5, rho = 2, theta = pi/2.
    s1, s2 = quellis.near_amplitudes(1.0, 1.5, 2.0, np.pi / 2)
    assert s1 == pytest.approx(0.237860 - 0.0894982j, abs=1e-6)
    assert s2 == pytest.approx(-0.0482442 - 0.0258361j, abs=1e-6)
    fields = quellis.near_fields(1.0, 1.5, 2.0, np.pi / 2, convention="export")
    expected = [
        0.233718 - 0.0911061j,
        -0.0258368 + 0.0487238j,
        0.367819 - 0.182183j,
        0.00452574 + 0.0297468j,
        -0.275444 + 0.149578j,
        -0.0376351 - 0.0503521j,
    ]
    np.testing.assert_allclose(fields, expected, atol=1e-6)
    assert quellis.near_longitudinal(1.0, 1.5, 2.0, np.pi / 2) == pytest.approx(0.387050, abs=1e-6)
    poynting = quellis.near_poynting(1.0, 1.5, 2.0, np.pi / 2, np.pi / 4, convention="export")
    np.testing.assert_allclose(poynting, [-0.00397136, -1.41848e-05, 0.00495852], rtol=1e-5)


def test_near_matrix_elements_are_formed_from_the_near_amplitudes():
    theta = np.linspace(0.1, 3.0, 6)
    rho = np.array([[1.5], [3.0], [10.0]])
    s1, s2 = quellis.near_amplitudes(1.2, 1.5 + 0.3j, rho, theta)
    s11, s12, s33, s34 = quellis.near_scattering_matrix(1.2, 1.5 + 0.3j, rho, theta)
    assert s11.shape == (3, 6)
    np.testing.assert_allclose(s11 - s12, abs(s1) ** 2, rtol=1e-12)
    np.testing.assert_allclose(s11 + s12, abs(s2) ** 2, rtol=1e-12)
    np.testing.assert_allclose(s33, (s1 * s2.conj()).real, rtol=1e-12, atol=1e-15)


def test_longitudinal_sum_and_radial_fields_vanish_on_the_axis():
    l = quellis.near_longitudinal(2.0, 1.5, [3.0, 4.0], 0.0)
    np.testing.assert_array_equal(l, [0.0, 0.0])
    fields = quellis.near_fields(2.0, 1.5, [3.0, 4.0], 0.0)
    np.testing.assert_array_equal(fields[2], [0.0, 0.0])
    np.testing.assert_array_equal(fields[5], [0.0, 0.0])
