# SPDX-License-Identifier: MIT
"""quellis: Mie scattering by spheres, coated spheres and in the near field.

Array functions over the scattering library quellis, whose sources are
compiled into the extension module ``quellis._core``: no installed library
is needed. They broadcast their arguments as numpy does, loop over the
elements in C++, and return numpy arrays (numpy scalars for scalar
arguments).

Conventions
-----------
- Refractive indices are relative to the surrounding medium, m = n + ik,
  with k >= 0 for an absorbing particle (fields varying as exp(-i omega t));
  a negative k raises ValueError.
- Size parameters are x = 2 pi r / lambda, with lambda the wavelength in
  the medium; distances from the centre likewise rho = 2 pi r / lambda.
- Angles are in radians; the scattering angle is measured from the forward
  direction.
- Amplitudes and matrix elements carry no factor 1/k^2; efficiencies are
  cross sections divided by the geometric cross section of the particle.

What the library cannot answer (sizes that are not finite and positive,
non-finite indices or angles, shapes that do not broadcast, results that
are not finite) raises ValueError. ``quellis.lib`` declares the 32 exports
of the shared library libquellis.so.1 for ctypes; it is loaded on first use.
"""

import importlib

from .coated import coated_amplitudes, coated_efficiencies, coated_scattering_matrix
from .dielectric import drude, lorentz
from .distribution import LogNormal, NumberDensity, size_average
from .near import (
    near_amplitudes,
    near_fields,
    near_longitudinal,
    near_poynting,
    near_scattering_matrix,
)
from .quantities import sphere_quantities
from .sphere import amplitudes, coefficients, efficiencies, scattering_matrix

__version__ = "1.0.0"

__all__ = [
    "LogNormal",
    "NumberDensity",
    "amplitudes",
    "coated_amplitudes",
    "coated_efficiencies",
    "coated_scattering_matrix",
    "coefficients",
    "drude",
    "efficiencies",
    "lorentz",
    "near_amplitudes",
    "near_fields",
    "near_longitudinal",
    "near_poynting",
    "near_scattering_matrix",
    "scattering_matrix",
    "size_average",
    "sphere_quantities",
]


def __getattr__(name):
    # quellis.lib loads the shared library, which the array functions do
    # not need: only on first use.
    if name == "lib":
        return importlib.import_module(f"{__name__}.lib")
    raise AttributeError(f"module 'quellis' has no attribute {name!r}")
