// SPDX-License-Identifier: MIT
// One loop over the elements of numpy arrays of one broadcast shape.
//
// The Python side broadcasts the inputs with numpy (views: a broadcast axis
// has stride 0, nothing is copied) and hands them here; the loop walks them
// by their own strides, so the only memory it takes is that of the outputs.
// It runs without the interpreter's lock and notes the first element whose
// result is not finite, which the Python side turns into a ValueError that
// names the inputs.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace quellis_python {

namespace py = pybind11;
using Complex = std::complex<double>;

// The element type an input must have: 'f' float64, 'c' complex128.
template <std::size_t Inputs> using InputKinds = std::array<char, Inputs>;

// Where one element of every input lies.
template <std::size_t Inputs> using ElementAt = std::array<const char*, Inputs>;

inline double realAt(const char* p) {
    return *reinterpret_cast<const double*>(p);
}
inline Complex complexAt(const char* p) {
    return *reinterpret_cast<const Complex*>(p);
}

inline bool isFinite(double v) {
    return std::isfinite(v);
}
inline bool isFinite(Complex v) {
    return std::isfinite(v.real()) && std::isfinite(v.imag());
}

// The outputs and the flat index of the first element whose result is not
// finite (-1 if every result is).
template <typename Out, std::size_t Outputs> struct LoopResult {
    std::array<py::array_t<Out>, Outputs> outputs;
    py::ssize_t firstNotFinite = -1;

    py::tuple asTuple() const {
        py::tuple t(Outputs + 1);
        for (std::size_t k = 0; k < Outputs; ++k) {
            t[k] = outputs[k];
        }
        t[Outputs] = py::int_(firstNotFinite);
        return t;
    }
};

template <std::size_t Inputs>
void checkInputs(const std::array<py::array, Inputs>& inputs, const InputKinds<Inputs>& kinds) {
    for (std::size_t j = 0; j < Inputs; ++j) {
        const py::dtype wanted =
            kinds[j] == 'c' ? py::dtype::of<Complex>() : py::dtype::of<double>();
        if (!inputs[j].dtype().is(wanted)) {
            throw std::invalid_argument("quellis: an input of the element loop has the wrong type");
        }
        if (inputs[j].ndim() != inputs[0].ndim()) {
            throw std::invalid_argument(
                "quellis: the inputs of the element loop are not broadcast");
        }
        for (py::ssize_t d = 0; d < inputs[0].ndim(); ++d) {
            if (inputs[j].shape(d) != inputs[0].shape(d)) {
                throw std::invalid_argument(
                    "quellis: the inputs of the element loop are not broadcast");
            }
        }
    }
}

// The loop itself, without the interpreter's lock: it touches no Python
// object, only the arrays' memory.
template <typename Out, std::size_t Outputs, std::size_t Inputs, typename Kernel>
py::ssize_t runUnlocked(const std::vector<py::ssize_t>& shape,
                        const std::array<const py::ssize_t*, Inputs>& strides, ElementAt<Inputs> at,
                        const std::array<Out*, Outputs>& out, Kernel& kernel) {
    py::gil_scoped_release unlocked;
    const auto ndim = static_cast<py::ssize_t>(shape.size());
    py::ssize_t size = 1;
    for (py::ssize_t extent : shape) {
        size *= extent;
    }
    py::ssize_t firstNotFinite = -1;
    std::vector<py::ssize_t> index(shape.size(), 0);
    for (py::ssize_t i = 0; i < size; ++i) {
        const std::array<Out, Outputs> values = kernel(at);
        bool finite = true;
        for (std::size_t k = 0; k < Outputs; ++k) {
            out[k][i] = values[k];
            finite = finite && isFinite(values[k]);
        }
        if (!finite && firstNotFinite < 0) {
            firstNotFinite = i;
        }
        // The next element: the last axis moves fastest.
        for (py::ssize_t d = ndim - 1; d >= 0; --d) {
            const auto axis = static_cast<std::size_t>(d);
            for (std::size_t j = 0; j < Inputs; ++j) {
                at[j] += strides[j][d];
            }
            if (++index[axis] < shape[axis]) {
                break;
            }
            for (std::size_t j = 0; j < Inputs; ++j) {
                at[j] -= strides[j][d] * shape[axis];
            }
            index[axis] = 0;
        }
    }
    return firstNotFinite;
}

// Calls kernel(ElementAt<Inputs>) -> std::array<Out, Outputs> once per
// element, in C order, and stores its results in new C-ordered arrays of
// the inputs' shape.
template <typename Out, std::size_t Outputs, std::size_t Inputs, typename Kernel>
LoopResult<Out, Outputs> elementwise(const std::array<py::array, Inputs>& inputs,
                                     const InputKinds<Inputs>& kinds, Kernel kernel) {
    checkInputs(inputs, kinds);
    const std::vector<py::ssize_t> shape(inputs[0].shape(), inputs[0].shape() + inputs[0].ndim());
    LoopResult<Out, Outputs> result;
    std::array<Out*, Outputs> out{};
    for (std::size_t k = 0; k < Outputs; ++k) {
        result.outputs[k] = py::array_t<Out>(shape);
        out[k] = result.outputs[k].mutable_data();
    }
    ElementAt<Inputs> at{};
    std::array<const py::ssize_t*, Inputs> strides{};
    for (std::size_t j = 0; j < Inputs; ++j) {
        at[j] = static_cast<const char*>(inputs[j].data());
        strides[j] = inputs[j].strides();
    }
    result.firstNotFinite = runUnlocked<Out, Outputs, Inputs>(shape, strides, at, out, kernel);
    return result;
}

} // namespace quellis_python
