# SPDX-License-Identifier: MIT
"""The physical near, total and internal fields: an independent computation,
the boundary conditions at the surface, and the energy they carry."""

import numpy as np
import pytest
from mie_reference import scattered_radial

import quellis


@pytest.mark.parametrize("x, m, rho, theta", [(1.0, 1.5, 2.0, np.pi / 2), (3.0, 0.4 + 1.7j, 3.5, 0.6)])
def test_radial_fields_match_a_30_digit_computation(x, m, rho, theta):
    _, _, er, _, _, hr = quellis.near_fields(x, m, rho, theta)
    # The library's series has N = round(x + 4 x^(1/3) + 2) orders, which
    # near a metal sphere leaves about 1e-7; the reference sums 40.
    expected_er, expected_hr = scattered_radial(x, m, rho, theta, 40)
    assert er == pytest.approx(expected_er, rel=1e-6)
    assert hr == pytest.approx(expected_hr, rel=1e-6)


def test_export_convention_differs_in_the_radial_weights_only():
    physical = quellis.near_fields(2.0, 1.5 + 0.1j, 3.0, 0.8)
    export = quellis.near_fields(2.0, 1.5 + 0.1j, 3.0, 0.8, convention="export")
    for k in (0, 1, 3, 4):
        assert physical[k] == pytest.approx(export[k], rel=1e-12)
    assert abs(physical[2] - export[2]) > 0.1 * abs(physical[2])


@pytest.mark.parametrize("x, m", [(1.5, 1.5), (2.5, 0.3 + 2.5j), (6.0, 1.33 + 0.05j)])
def test_total_field_meets_the_internal_field_at_the_surface(x, m):
    # Tangential E and H are continuous; the normal D = eps E is too, so
    # E_r outside = m^2 E_r inside (and H_r, with mu = 1, is continuous).
    theta = np.array([0.3, 1.2, 2.5])
    outside = np.array(quellis.near_fields(x, m, x, theta, field="total"))
    inside = np.array(quellis.near_fields(x, m, x * (1 - 1e-12), theta, field="total"))
    scale = np.abs(outside).max()
    for k in (0, 1, 3, 4, 5):
        np.testing.assert_allclose(outside[k], inside[k], atol=1e-5 * scale)
    np.testing.assert_allclose(outside[2], m**2 * inside[2], atol=1e-5 * scale)


def test_energy_flux_through_a_sphere_around_the_particle():
    # Integrated over a sphere of radius rho, 1/2 Re(E x conj H) of the
    # scattered field carries Csca; that of the total field, -Cabs. With
    # the incident intensity 1/2: flux / (1/2) = Q pi x^2.
    x, m, rho = 2.0, 1.5 + 0.2j, 3.5
    mu, weights = np.polynomial.legendre.leggauss(48)
    theta = np.arccos(mu)[:, None]
    phi = np.linspace(0, 2 * np.pi, 64, endpoint=False)[None, :]
    q = quellis.sphere_quantities(x, m)

    def flux(field):
        sr = quellis.near_poynting(x, m, rho, theta, phi, field=field)[2]
        return (weights[:, None] * sr).sum() * (2 * np.pi / 64) * rho**2 / 0.5 / (np.pi * x**2)

    assert flux("scattered") == pytest.approx(q.qsca, rel=1e-9)
    assert flux("total") == pytest.approx(-q.qabs, rel=1e-9)


def test_incident_wave_alone_carries_intensity_one_half():
    # A sphere of index 1 scatters nothing: the total field is the incident one.
    sphi, stheta, sr = quellis.near_poynting(1.0, 1.0, 2.0, 0.4, 0.9, field="total")
    # Along +z: S_r = S cos(theta), S_theta = -S sin(theta), S = 1/2.
    assert sr == pytest.approx(0.5 * np.cos(0.4), rel=1e-12)
    assert stheta == pytest.approx(-0.5 * np.sin(0.4), rel=1e-12)
    assert sphi == pytest.approx(0.0, abs=1e-15)


def test_points_inside_the_sphere():
    with pytest.raises(ValueError, match=r"rho=1\.0 lies inside the sphere of x=2\.0.*field='total'"):
        quellis.near_fields(2.0, 1.5, [3.0, 1.0], 0.5)
    with pytest.raises(ValueError, match="inside the sphere"):
        quellis.near_amplitudes(2.0, 1.5, 1.0, 0.5)
    inside = quellis.near_fields(2.0, 1.5, 1.0, 0.5, phi=0.3, field="total")
    assert all(np.isfinite(component) for component in inside)
    with pytest.raises(ValueError, match="scattered field only"):
        quellis.near_fields(2.0, 1.5, 3.0, 0.5, field="total", convention="export")
