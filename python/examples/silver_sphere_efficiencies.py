#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Extinction and scattering efficiencies of a silver-like sphere over its size.

Silver near 500 nm has a refractive index of about 0.05 + 3.2i; in water
(1.33) that is a relative index of about 0.04 + 2.4i. The plot shows Qext and
Qsca from the small-particle limit, where absorption dominates, to spheres
several wavelengths round.

Usage: silver_sphere_efficiencies.py [OUTPUT.png]
(from the repository, after make build:
 PYTHONPATH=build/release/python python3 python/examples/silver_sphere_efficiencies.py)
"""

import sys

import matplotlib.pyplot as plt
import numpy as np

import quellis

RELATIVE_INDEX = 0.04 + 2.4j


def main(output):
    x = np.linspace(0.05, 12.0, 600)
    qext, qsca, _ = quellis.efficiencies(x, RELATIVE_INDEX)

    figure, axes = plt.subplots(figsize=(7, 4), dpi=100)
    axes.plot(x, qext, label="Q$_{ext}$")
    axes.plot(x, qsca, label="Q$_{sca}$")
    axes.set_xlabel("size parameter x = 2πr/λ")
    axes.set_ylabel("efficiency")
    m = RELATIVE_INDEX
    axes.set_title(f"Silver-like sphere in water, m = {m.real:g} + {m.imag:g}i")
    axes.set_xlim(x[0], x[-1])
    axes.set_ylim(bottom=0)
    axes.grid(alpha=0.3)
    axes.legend()
    figure.tight_layout()
    figure.savefig(output)
    print(f"wrote {output}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "silver_sphere_efficiencies.png")
