// SPDX-License-Identifier: MIT
// Working tables indexed by order n. Up to 1001 orders (0..1000) a table
// lives in the call's own frame; a larger series takes exactly the orders it
// needs from the heap, so no order count can write past a table. No table
// holds more than kLargestTable orders (sizes up to about x = 6.7e7): a
// larger one throws std::bad_alloc like one the heap refuses, and the
// exports answer NaN for it rather than fill gigabytes for minutes.
#pragma once

#include "quellis/series/Cx.h"

#include <cstddef>
#include <memory>
#include <new>

namespace quellis {

inline constexpr std::size_t kStackOrders = 1001;
inline constexpr std::size_t kLargestTable = std::size_t{1} << 26;

template <class Value> class OrderArray {
public:
    // A table that holds orders 0..highestOrder (at least 0..1).
    explicit OrderArray(long highestOrder) {
        const std::size_t count = highestOrder < 1 ? 2 : static_cast<std::size_t>(highestOrder) + 1;
        if (count > kLargestTable) {
            throw std::bad_alloc();
        }
        if (count > kStackOrders) {
            heap_ = std::make_unique_for_overwrite<Value[]>(count);
            data_ = heap_.get();
        }
        size_ = count;
    }
    OrderArray(const OrderArray&) = delete;
    OrderArray& operator=(const OrderArray&) = delete;

    Value& operator[](std::size_t n) { return data_[n]; }
    const Value& operator[](std::size_t n) const { return data_[n]; }
    Value* data() { return data_; }
    const Value* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    Value local_[kStackOrders];
    std::unique_ptr<Value[]> heap_;
    Value* data_ = local_;
    std::size_t size_ = 0;
};

// A table of complex values, the usual working table of a series.
using OrderTable = OrderArray<Cx>;

// Stores order n of a series into a caller's array if the array holds it.
inline void storeWithin(TComplex* to, int32_t high, long n, Cx value) {
    if (n <= high) {
        to[n] = toT(value);
    }
}

// Copies orders first..last of a table into a caller's array, never past the
// caller's last-element index `high`.
inline void copyOrders(const OrderTable& from, long first, long last, TComplex* to, int32_t high) {
    for (long n = first; n <= last && n <= high; ++n) {
        to[n] = toT(from[static_cast<std::size_t>(n)]);
    }
}

} // namespace quellis
