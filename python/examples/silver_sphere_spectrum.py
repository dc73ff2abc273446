#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Extinction spectrum of silver-like spheres in water, one size and a size distribution.

The particles' permittivity is a Drude function with a background of bound
electrons (eps_inf = 4, plasma energy 9 eV, damping 0.1 eV), which puts the
dipole plasmon of a small sphere in water near 390 nm. The spectrum of
spheres of 40 nm radius is compared with that of a log-normal number
distribution of median radius 40 nm and width sigma = 0.3 (the efficiencies
are cross sections averaged over the particles, divided by their mean
geometric cross section): the spread of sizes broadens and shifts the
quadrupole band below 370 nm and raises the red tail.

Usage: silver_sphere_spectrum.py [OUTPUT.png]
(from the repository, after make build:
 PYTHONPATH=build/release/python python3 python/examples/silver_sphere_spectrum.py)
"""

import sys

import matplotlib.pyplot as plt
import numpy as np

import quellis

SILVER_LIKE = quellis.drude(plasma_energy=9.0, damping=0.1, eps_inf=4.0)
WATER = 1.33
MEDIAN_RADIUS = 40.0
SIGMA = 0.3


def main(output):
    wavelength = np.linspace(300.0, 800.0, 501)
    single = quellis.sphere_quantities(
        wavelength=wavelength, radius=MEDIAN_RADIUS, permittivity=SILVER_LIKE, medium_index=WATER
    )
    spread = quellis.size_average(
        wavelength,
        quellis.LogNormal(MEDIAN_RADIUS, SIGMA),
        permittivity=SILVER_LIKE,
        medium_index=WATER,
    )
    worst = float(np.max(spread.error.qext / spread.qext))

    figure, axes = plt.subplots(figsize=(7, 4), dpi=100)
    axes.plot(wavelength, single.qext, color="C0", label=f"Q$_{{ext}}$, r = {MEDIAN_RADIUS:g} nm")
    axes.plot(wavelength, single.qabs, color="C0", linestyle=":", label="Q$_{abs}$, one size")
    axes.plot(wavelength, spread.qext, color="C3", label=f"Q$_{{ext}}$, log-normal σ = {SIGMA:g}")
    axes.plot(wavelength, spread.qabs, color="C3", linestyle=":", label="Q$_{abs}$, log-normal")
    axes.set_xlabel("wavelength in vacuum (nm)")
    axes.set_ylabel("efficiency")
    axes.set_title("Silver-like spheres in water (Drude, ε$_∞$ = 4)")
    axes.set_xlim(wavelength[0], wavelength[-1])
    axes.set_ylim(bottom=0)
    axes.grid(alpha=0.3)
    axes.legend()
    figure.tight_layout()
    figure.savefig(output)
    print(f"wrote {output} (largest estimated relative error of the averages {worst:.1e})")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "silver_sphere_spectrum.png")
