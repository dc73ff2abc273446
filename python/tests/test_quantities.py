# SPDX-License-Identifier: MIT
"""Qabs, g and Qpr, the keyword form, the dielectric functions and size averages."""

import math

import numpy as np
import pytest
from mie_reference import quantities as reference_quantities

import quellis

# W. J. Wiscombe, NCAR/TN-140 (1979), test cases 5, 9, 10 and 11, and
# Bohren & Huffman (1983), appendix A: x, m, Qsca, g.
PUBLISHED_G = [
    (0.099, 0.75, 7.417859e-6, 0.001448),
    (1.0, 1.33 + 1e-5j, 0.093923, 0.184517),
    (100.0, 1.33 + 1e-5j, 2.096594, 0.868959),
    (10000.0, 1.33 + 1e-5j, 1.723857, 0.907840),
    (2 * math.pi * 0.525 / 0.6328, 1.55, 3.10543, 0.63314),
]


def test_asymmetry_parameter_matches_published_cases():
    x, m, qsca, g = (np.array(column) for column in zip(*PUBLISHED_G))
    q = quellis.sphere_quantities(x, m)
    np.testing.assert_allclose(q.qsca, qsca, rtol=2e-6, atol=5e-6)
    # Published to six decimals (Bohren & Huffman's to five).
    np.testing.assert_allclose(q.g, g, atol=5e-6)


@pytest.mark.parametrize("x, m", [(0.3, 1.5 + 0.1j), (4.0, 0.4 + 1.7j), (25.0, 1.33 + 0.01j)])
def test_quantities_match_a_30_digit_computation(x, m):
    qext, qsca, g, qpr = (float(v) for v in reference_quantities(x, m, int(x + 4 * x ** (1 / 3) + 12)))
    q = quellis.sphere_quantities(x, m)
    np.testing.assert_allclose([q.qext, q.qsca, q.g, q.qpr], [qext, qsca, g, qpr], rtol=1e-10)
    assert q.qabs == pytest.approx(qext - qsca, rel=1e-9)
    # The same series as the library's own efficiencies.
    np.testing.assert_allclose(q[:2] + (q.qback,), quellis.efficiencies(x, m), rtol=1e-12)


def test_a_sphere_that_scatters_nothing_has_no_asymmetry():
    q = quellis.sphere_quantities(0.5, 1.0)
    assert q.qsca == 0.0 and q.g == 0.0


def test_keyword_form_is_the_size_parameter_and_relative_index():
    # A 50 nm sphere of index 1.6 + 0.2i in water at 500 nm.
    q = quellis.sphere_quantities(wavelength=500.0, radius=50.0, index=1.6 + 0.2j, medium_index=1.33)
    expected = quellis.sphere_quantities(2 * math.pi * 1.33 * 50.0 / 500.0, (1.6 + 0.2j) / 1.33)
    assert q == pytest.approx(expected, rel=1e-14)
    by_function = quellis.sphere_quantities(
        wavelength=[450.0, 500.0], radius=50.0, index=lambda wl: 1.6 + 0.2j + 0 * wl, medium_index=1.33
    )
    assert by_function.qext[1] == pytest.approx(q.qext, rel=1e-14)
    with pytest.raises(ValueError, match="either index or permittivity"):
        quellis.sphere_quantities(wavelength=500.0, radius=50.0, index=1.5, permittivity=2.25)


def test_dielectric_functions_are_the_fitting_programs_models():
    # The fitting program's models at 457.9 nm, wp = 5.6 eV, gamma = 1 eV.
    drude = quellis.drude(5.6, 1.0)
    assert drude(457.9) == pytest.approx(-2.76404 + 1.39014j, abs=1e-5)
    assert drude.index(457.9) == pytest.approx(0.40613 + 1.71143j, abs=1e-5)
    lorentz = quellis.lorentz(5.6, 1.0)
    assert lorentz(457.9) == pytest.approx(-2.40417 + 10.47570j, abs=1e-5)
    # eps_inf shifts the permittivity and nothing else.
    assert quellis.drude(5.6, 1.0, eps_inf=4.0)(457.9) == pytest.approx(drude(457.9) + 3.0)
    # A lossless Drude metal (gamma = 0) is n + ik with k > 0, not gain.
    assert quellis.drude(5.6, 0.0).index(600.0).imag > 0


def test_negative_imaginary_index_names_the_sign_convention():
    with pytest.raises(ValueError, match=r"negative imaginary part.*exp\(\+i omega t\).*conjugate"):
        quellis.efficiencies(1.0, 1.5 - 0.1j)
    with pytest.raises(ValueError, match="negative imaginary part"):
        quellis.sphere_quantities(wavelength=500.0, radius=20.0, permittivity=-2.0 - 1.0j)


def test_log_normal_average_against_a_fine_trapezoid_sum():
    # 40 nm median, sigma 0.25, a silver-like sphere in water at two wavelengths.
    wavelength = np.array([400.0, 550.0])
    silver = quellis.drude(9.0, 0.02, eps_inf=5.0)
    distribution = quellis.LogNormal(40.0, 0.25)
    average, coarse = (
        quellis.size_average(wavelength, distribution, permittivity=silver, medium_index=1.33, points=n)
        for n in (256, 64)
    )
    t = np.linspace(-7, 7, 20001)
    radii = 40.0 * np.exp(0.25 * t)
    weight = np.exp(-0.5 * t * t)
    q = quellis.sphere_quantities(
        wavelength=wavelength[:, None], radius=radii, permittivity=silver, medium_index=1.33
    )
    area = np.pi * radii**2
    qext = np.trapz(weight * area * q.qext, t) / np.trapz(weight * area, t)
    g = np.trapz(weight * area * q.qsca * q.g, t) / np.trapz(weight * area * q.qsca, t)
    np.testing.assert_allclose(average.qext, qext, rtol=1e-7)
    np.testing.assert_allclose(average.g, g, rtol=1e-7, atol=1e-7)
    # The resonance at 400 nm needs more than 64 nodes; the estimate says so.
    assert np.all(np.abs(coarse.qext - qext) <= coarse.error.qext)
    assert coarse.error.qext[0] > 1e-3 * qext[0] and np.all(average.error.qext < 1e-6 * qext)


def test_narrow_and_user_given_distributions_give_the_single_sphere():
    theta = np.radians([30.0, 90.0])
    narrow = quellis.size_average(
        600.0, quellis.LogNormal(80.0, 1e-7), index=1.5, medium_index=1.33, theta=theta
    )
    single = quellis.sphere_quantities(wavelength=600.0, radius=80.0, index=1.5, medium_index=1.33)
    np.testing.assert_allclose(narrow[:6], single, rtol=1e-6, atol=1e-12)
    x = 2 * math.pi * 1.33 * 80.0 / 600.0
    np.testing.assert_allclose(
        [narrow.s11, narrow.s34], quellis.scattering_matrix(x, 1.5 / 1.33, theta)[::3], atol=1e-7
    )
    # A uniform number density of radii: Qext = <C_ext> / <pi r^2>.
    uniform = quellis.size_average(
        600.0, quellis.NumberDensity(lambda r: np.ones_like(r), 50.0, 60.0), index=1.5, points=32
    )
    r = np.linspace(50.0, 60.0, 4001)
    q = quellis.sphere_quantities(wavelength=600.0, radius=r, index=1.5)
    expected = np.trapz(r**2 * q.qext, r) / np.trapz(r**2, r)
    assert uniform.qext == pytest.approx(expected, rel=1e-6)
