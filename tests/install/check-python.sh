#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Imports the Python package quellis installed under PREFIX with PYTHONPATH
# alone: it must come from the prefix, load the prefix's library by itself
# and compute the known efficiencies of the sphere x = 1, m = 1.5.
#
# Usage: check-python.sh PREFIX PYTHON
set -euo pipefail

prefix=$1 python=$2
expected='Qsca = 0.215098  Qext = 0.215098  Qback = 0.186586'

package=$(find "$prefix" -path '*/quellis/__init__.py')
[[ -n "$package" ]] || {
    echo "check-python: no Python package quellis under $prefix" >&2
    exit 1
}
# Where Debian's Python looks for packages of this prefix: its own
# dist-packages folder for /usr/local, taken below the prefix.
site_dir=$("$python" -c 'import site; print([p for p in site.getsitepackages() if p.startswith("/usr/local/")][0])')
package_dir=$(dirname "$package")
[[ "${package_dir#"$prefix"/}" == "${site_dir#/usr/local/}/quellis" || "$prefix" == */usr ]] || {
    echo "check-python: quellis lies in ${package_dir#"$prefix"/}, not where Debian's Python looks (${site_dir#/usr/local/})" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Run away from the repository, whose python/ must not be imported instead.
cd "$work"
output=$(env -u QUELLIS_LIBRARY PYTHONPATH="$(dirname "$(dirname "$package")")" \
    PYTHONDONTWRITEBYTECODE=1 "$python" -c '
import os, sys
import quellis
prefix = os.path.realpath(sys.argv[1]) + "/"
assert os.path.realpath(quellis.lib.path).startswith(prefix), quellis.lib.path
assert os.path.realpath(quellis.__file__).startswith(prefix), quellis.__file__
qext, qsca, qback = quellis.efficiencies(1.0, 1.5)
print(f"Qsca = {qsca:.6f}  Qext = {qext:.6f}  Qback = {qback:.6f}")
' "$prefix") || true
if [[ "$output" != *"$expected"* ]]; then
    echo "check-python: the Python package of $prefix does not compute with its library" >&2
    exit 1
fi
echo "check-python: the Python package of $prefix works"
