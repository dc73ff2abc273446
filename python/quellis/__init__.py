# SPDX-License-Identifier: MIT
"""quellis: Mie scattering by spheres, coated spheres and in the near field.

Array functions over the shared library quellis. They broadcast their
arguments as numpy does and return numpy arrays (numpy scalars for scalar
arguments).

Conventions
-----------
- Refractive indices are relative to the surrounding medium, m = n + ik,
  with k > 0 for an absorbing particle.
- Size parameters are x = 2 pi r / lambda, with lambda the wavelength in
  the medium; distances from the centre likewise rho = 2 pi r / lambda.
- Angles are in radians; the scattering angle is measured from the forward
  direction.
- Amplitudes and matrix elements carry no factor 1/k^2; efficiencies are
  cross sections divided by the geometric cross section of the particle.

What the library cannot answer (sizes that are not finite and positive,
non-finite indices or angles, shapes that do not broadcast, results that
are not finite) raises ValueError. ``quellis.lib`` holds the 32 exports of
the library declared for ctypes.
"""

from .coated import coated_amplitudes, coated_efficiencies, coated_scattering_matrix
from .near import (
    near_amplitudes,
    near_fields,
    near_longitudinal,
    near_poynting,
    near_scattering_matrix,
)
from .sphere import amplitudes, coefficients, efficiencies, scattering_matrix

__version__ = "1.0.0"

__all__ = [
    "amplitudes",
    "coated_amplitudes",
    "coated_efficiencies",
    "coated_scattering_matrix",
    "coefficients",
    "efficiencies",
    "near_amplitudes",
    "near_fields",
    "near_longitudinal",
    "near_poynting",
    "near_scattering_matrix",
    "scattering_matrix",
]
