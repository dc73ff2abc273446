#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The electric field around and inside a sphere, in the plane of the incident polarisation.

A plane wave travels along z with its electric field along x; the map shows
|E|^2 of the total field (incident plus scattered outside the sphere, the
internal field inside it) relative to the incident |E|^2 = 1, in the plane
y = 0, for a silver-like sphere of 40 nm radius in water at its dipole
resonance (the enhancement at the poles along x) and for a glass sphere of
size parameter 10 (the focus behind it).

Usage: near_field_map.py [OUTPUT.png]
(from the repository, after make build:
 PYTHONPATH=build/release/python python3 python/examples/near_field_map.py)
"""

import sys

import matplotlib.pyplot as plt
import numpy as np
from matplotlib.colors import LogNorm

import quellis

WATER = 1.33


def intensity_map(x, m, extent, points=241):
    """|E|^2 on a square grid of the plane y = 0, in units of k r."""
    coordinate = np.linspace(-extent, extent, points)
    along_x, along_z = np.meshgrid(coordinate, coordinate)
    rho = np.hypot(along_x, along_z)
    rho = np.where(rho == 0, 1e-6, rho)
    theta = np.arccos(np.clip(along_z / rho, -1.0, 1.0))
    phi = np.where(along_x < 0, np.pi, 0.0)
    ephi, etheta, er, *_ = quellis.near_fields(x, m, rho, theta, phi, field="total")
    return coordinate, np.abs(ephi) ** 2 + np.abs(etheta) ** 2 + np.abs(er) ** 2


def draw(axes, x, m, extent, title):
    coordinate, intensity = intensity_map(x, m, extent)
    image = axes.pcolormesh(
        coordinate, coordinate, intensity, shading="auto", cmap="inferno",
        norm=LogNorm(vmin=0.05, vmax=intensity.max()),
    )
    axes.add_patch(plt.Circle((0, 0), x, fill=False, color="white", linewidth=0.8))
    axes.set_aspect("equal")
    axes.set_xlabel("k x  (polarisation)")
    axes.set_ylabel("k z  (propagation)")
    axes.set_title(title, fontsize=10)
    return image


def main(output):
    silver_like = quellis.drude(plasma_energy=9.0, damping=0.1, eps_inf=4.0)
    wavelength = 450.0
    x = 2 * np.pi * WATER * 40.0 / wavelength
    m = silver_like.index(wavelength) / WATER

    figure, (left, right) = plt.subplots(1, 2, figsize=(10, 4.6), dpi=100)
    image = draw(left, x, m, 3 * x, f"silver-like in water, r = 40 nm, λ = {wavelength:g} nm")
    figure.colorbar(image, ax=left, label="|E|² / |E₀|²")
    image = draw(right, 10.0, 1.5 / WATER, 20.0, "glass in water, x = 10")
    figure.colorbar(image, ax=right, label="|E|² / |E₀|²")
    figure.tight_layout()
    figure.savefig(output)
    print(f"wrote {output}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "near_field_map.png")
