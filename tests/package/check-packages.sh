#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages of this build with CPack into a scratch folder
# and checks them: the files each must hold, their dependencies, the
# machine-readable copyright files, that no file belongs to two packages,
# and that apt could install them all together on this machine. Then the
# packages are unpacked into a scratch root and their /usr is used as an
# installed prefix: the programs with their data, and the Python package.
# Nothing is installed on the machine.
#
# Usage: check-packages.sh BUILD_DIR SOURCE_DIR CPACK PYTHON BUILT_VELMORA_FIT window|no-window
# Exits with 77 (skipped) when this CPack has no DEB generator.
set -euo pipefail

build=$1 source=$2 cpack=$3 python=$4 built_fit=$5 window=$6

fail() {
    echo "check-packages: $*" >&2
    exit 1
}

if ! "$cpack" --help | grep -Eq '^ +DEB +='; then
    echo "check-packages: skipped, this CPack has no DEB generator"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    fail "CPack could not build the packages: $(cat "$work/cpack.log")"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
architecture=$(dpkg --print-architecture)
package_file() {
    echo "$work/packages/$1_${version}_$architecture.deb"
}

# Each line of the listing is "path" or "path -> target"; every pattern must
# match a line.
expect_files() {
    local package=$1 listing
    listing=$(dpkg-deb --contents "$(package_file "$package")" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
    shift
    for pattern in "$@"; do
        grep -Eq "^\./usr/$pattern\$" <<<"$listing" || fail "$package holds no /usr/$pattern"
    done
}

expect_depends() {
    local package=$1 depends
    depends=$(dpkg-deb --field "$(package_file "$package")" Depends)
    shift
    for dependency in "$@"; do
        [[ ", $depends," == *", $dependency"[,\ ]* ]] ||
            fail "$package does not depend on $dependency (Depends: $depends)"
    done
}

# The copyright file: the machine-readable format, one stanza for all files
# under the given licence, whose text follows as continuation lines.
expect_copyright() {
    local package=$1 licence=$2 copyright
    copyright=$(dpkg-deb --fsys-tarfile "$(package_file "$package")" |
        tar -xO "./usr/share/doc/$package/copyright") || fail "$package has no copyright file"
    [[ "$(head -n1 <<<"$copyright")" == \
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
        fail "the copyright file of $package is not in the machine-readable format"
    grep -qx 'Files: \*' <<<"$copyright" || fail "the copyright file of $package has no Files: *"
    grep -qx "License: $licence" <<<"$copyright" ||
        fail "the copyright file of $package does not name the licence $licence"
    awk '/^License:/ { text = 1; next } text && !/^ / { exit 1 }' <<<"$copyright" ||
        fail "the licence text in the copyright file of $package is not indented"
    [[ "$(awk '/^License:/ { text = 1; next } text' <<<"$copyright" | wc -l)" -gt 3 ]] ||
        fail "the copyright file of $package gives no licence text"
}

library=libquellis1
same_library="$library (= $version)"
# The library lies in Debian's multiarch folder.
lib="lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/"

expect_files "$library" "${lib}libquellis\.so\.1 -> libquellis\.so\.1\..*" \
    "${lib}libquellis\.so\.1\.[0-9.]+" "share/doc/$library/changelog\.gz"
control=$(dpkg-deb --ctrl-tarfile "$(package_file "$library")" | tar -t)
[[ "$(dpkg-deb --ctrl-tarfile "$(package_file "$library")" | tar -xO ./shlibs)" == \
    "libquellis 1 $library "* ]] || fail "$library does not tell dependents its name (shlibs)"
[[ "$(dpkg-deb --ctrl-tarfile "$(package_file "$library")" | tar -xO ./triggers)" == \
    "activate-noawait ldconfig" ]] || fail "$library does not trigger ldconfig"
! grep -Eq '^\./(postinst|postrm)$' <<<"$control" || fail "$library has maintainer scripts"
expect_copyright "$library" Expat

expect_files libquellis-dev "include/quellis\.h" "${lib}libquellis\.so -> .*" \
    "${lib}pkgconfig/quellis\.pc" "${lib}cmake/quellis/quellisConfig\.cmake" \
    "${lib}cmake/quellis/quellisConfigVersion\.cmake" "${lib}cmake/quellis/quellisTargets\.cmake" \
    "share/quellis/quellis\.def"
expect_depends libquellis-dev "$same_library"
expect_copyright libquellis-dev Expat

expect_files python3-quellis "lib/python3/dist-packages/quellis/__init__\.py" \
    "lib/python3/dist-packages/quellis/lib\.py" \
    "lib/python3/dist-packages/quellis/_core\.cpython-[0-9a-z_-]+\.so" \
    "lib/python3/dist-packages/quellis/_installed_library\.py"
expect_depends python3-quellis python3 python3-numpy "$same_library"
expect_copyright python3-quellis Expat

# velmora-fit runs on a machine without Qt: its package needs none.
expect_files velmora-fit "bin/velmora-fit" "share/velmora/DemoDat\.txt"
expect_depends velmora-fit "$same_library" libstdc++6
[[ "$(dpkg-deb --field "$(package_file velmora-fit)" Depends)" != *qt* ]] ||
    fail "velmora-fit depends on Qt"
expect_copyright velmora-fit GPL-3+
programs=(velmora-fit)
if [[ "$window" == window ]]; then
    programs+=(velmora)
    expect_files velmora "bin/velmora" "share/velmora/HelpDemo\.mht" \
        "share/applications/velmora\.desktop" \
        "share/icons/hicolor/[0-9]+x[0-9]+/apps/velmora\.png"
    expect_depends velmora "velmora-fit (= $version)" qt6-qpa-plugins libqt6widgets6 \
        libqt6charts6 libqt6webenginewidgets6
    expect_copyright velmora GPL-3+
fi
# Each program's manual page, where the source tree has one.
for program in "${programs[@]}"; do
    if [[ -f "$source/docs/man/$program.1" ]]; then
        expect_files "$program" "share/man/man1/$program\.1\.gz"
    fi
done

# Debian's own checks find no error.
if command -v lintian >/dev/null; then
    lintian --fail-on error --allow-root "$work"/packages/*.deb >"$work/lintian.log" 2>&1 ||
        fail "lintian finds errors: $(cat "$work/lintian.log")"
fi

# dpkg refuses a package whose file another installed package owns.
shared=$(for deb in "$work"/packages/*.deb; do
    dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }'
done | sort | uniq -d)
[[ -z "$shared" ]] || fail "files in more than one package: $shared"

# apt resolves every dependency, from this machine's packages and lists.
if command -v apt-get >/dev/null; then
    apt-get install --simulate --no-install-recommends "$work"/packages/*.deb >"$work/apt.log" 2>&1 ||
        fail "apt cannot install the packages: $(cat "$work/apt.log")"
fi

root=$work/root
for deb in "$work"/packages/*.deb; do
    dpkg-deb --extract "$deb" "$root"
done
# Installed under /usr, the programs find the library where the system keeps
# its libraries, without a run path of their own; unpacked here, they are
# shown the way to it.
for program in "$root"/usr/bin/*; do
    ! objdump -p "$program" | grep -Eq '^ +(RPATH|RUNPATH) ' ||
        fail "${program#"$root"} carries a run path"
done
library_dir=$(dirname "$(find "$root" -name libquellis.so.1)")
LD_LIBRARY_PATH=$library_dir \
    "$source/tests/install/check-programs.sh" "$root/usr" "$source" "$built_fit" "$window" >/dev/null
"$source/tests/install/check-python.sh" "$root/usr" "$python" >/dev/null

echo "check-packages: the packages of $work/packages hold what they must and work"
