// SPDX-License-Identifier: MIT
// The module quellis._core: the array loops of the Python package, one
// registration function per group of quantities.
#pragma once

#include <pybind11/pybind11.h>

namespace quellis_python {

void registerSphere(pybind11::module_& module);
void registerCoated(pybind11::module_& module);
void registerNear(pybind11::module_& module);

} // namespace quellis_python
