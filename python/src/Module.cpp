// SPDX-License-Identifier: MIT
#include "Bindings.h"

PYBIND11_MODULE(_core, module) {
    module.doc() = "Element loops over the library's sources compiled in; see the package quellis.";
    quellis_python::registerSphere(module);
    quellis_python::registerCoated(module);
    quellis_python::registerNear(module);
}
