#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and uses it as a user would:
# a C program built with pkg-config, a CMake project with find_package (from
# the prefix and from the build tree), the Python package imported with
# PYTHONPATH alone (check-python.sh), and the programs with their data
# (check-programs.sh). The C programs and the Python package must compute
# the known efficiencies of the sphere x = 1, m = 1.5 with the installed library.
#
# Usage: check-install.sh BUILD_DIR SOURCE_DIR CMAKE C_COMPILER GENERATOR PYTHON
#                         BUILT_VELMORA_FIT window|no-window
set -euo pipefail

build=$1 source=$2 cmake=$3 cc=$4 generator=$5 python=$6 built_fit=$7 window=$8
example=$source/library/examples/sphere_efficiencies.c
expected='Qsca = 0.215098  Qext = 0.215098  Qback = 0.186586'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "check-install: $*" >&2
    exit 1
}

# Outputs are taken whole before they are searched: a search that stopped
# reading early would break the writer's pipe and fail the pipeline.
prints() {
    local output
    output=$("${@:2}") || return 1
    [[ "$output" == *"$1"* ]]
}

# The program must print the known values and load the prefix's library.
expect_run() {
    local program=$1
    prints "$expected" "$program" || fail "$program did not print: $expected"
    prints "libquellis.so.1 => $prefix/" ldd "$program" ||
        fail "$program does not load the library of $prefix"
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

pcfile=$(find "$prefix" -name quellis.pc)
[[ -n "$pcfile" ]] || fail "no quellis.pc installed"
libdir=$(dirname "$(dirname "$pcfile")")
[[ -L "$libdir/libquellis.so" ]] || fail "no development link libquellis.so"
[[ "$(readlink "$libdir/libquellis.so.1")" == libquellis.so.1.* ]] ||
    fail "libquellis.so.1 is not the SONAME link to the versioned file"
soname=$(objdump -p "$libdir/libquellis.so.1" | awk '$1 == "SONAME" { print $2 }')
[[ "$soname" == libquellis.so.1 ]] ||
    fail "the installed library's SONAME is not libquellis.so.1"
[[ -f "$prefix/include/quellis.h" ]] || fail "no include/quellis.h"
[[ -f "$prefix/share/quellis/quellis.def" ]] || fail "no share/quellis/quellis.def"

# pkg-config
export PKG_CONFIG_PATH=$libdir/pkgconfig
[[ "$(pkg-config --modversion quellis)" == 1.* ]] || fail "pkg-config gives no version 1.x"
# shellcheck disable=SC2046
"$cc" "$example" $(pkg-config --cflags --libs quellis) \
    -Wl,-rpath,"$(pkg-config --variable=libdir quellis)" -o "$work/with-pkg-config"
expect_run "$work/with-pkg-config"

# find_package from the prefix, and a version it cannot satisfy
consumer=$source/tests/install/consumer
"$cmake" -S "$consumer" -B "$work/with-prefix" -G "$generator" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_PREFIX_PATH="$prefix" -DQUELLIS_EXAMPLE_SOURCE="$example" >/dev/null
"$cmake" --build "$work/with-prefix" >/dev/null
expect_run "$work/with-prefix/sphere_efficiencies"
if "$cmake" -S "$consumer" -B "$work/too-new" -G "$generator" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_PREFIX_PATH="$prefix" -DQUELLIS_EXAMPLE_SOURCE="$example" \
    -DQUELLIS_REQUIRED_VERSION=2.0 >/dev/null 2>&1; then
    fail "find_package(quellis 2.0) accepted version 1"
fi

# find_package from the build tree
"$cmake" -S "$consumer" -B "$work/with-build-tree" -G "$generator" -DCMAKE_C_COMPILER="$cc" \
    -Dquellis_DIR="$build" -DQUELLIS_EXAMPLE_SOURCE="$example" >/dev/null
"$cmake" --build "$work/with-build-tree" >/dev/null
prints "$expected" "$work/with-build-tree/sphere_efficiencies" ||
    fail "the build-tree package gives no working program"

# Python: the installed package finds the installed library by itself.
"$source/tests/install/check-python.sh" "$prefix" "$python" >/dev/null

# The programs, their demo measurement, help document, desktop entry and icon
"$source/tests/install/check-programs.sh" "$prefix" "$source" "$built_fit" "$window" >/dev/null

echo "check-install: the prefix $prefix works with pkg-config, find_package, Python and the programs"
