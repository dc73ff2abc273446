#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the programs and their data under an installed prefix: velmora-fit
# (and velmora with the window) load the prefix's library and nothing is
# missing; velmora-fit fits the installed demo measurement exactly as the
# program of the build does, and finds it by itself (--demo) beside its own
# folder, also in a moved prefix; the demo measurement and the help document are
# the repository's; the desktop entry is valid and names an installed
# program and icon; each program has a manual page that renders cleanly.
#
# Usage: check-programs.sh PREFIX SOURCE_DIR BUILT_VELMORA_FIT window|no-window
set -euo pipefail

prefix=$1 source=$2 built_fit=$3 window=$4

fail() {
    echo "check-programs: $*" >&2
    exit 1
}

# Every library a program needs is found, quellis in the prefix.
expect_links() {
    local program=$1 libraries
    [[ -x "$program" ]] || fail "no program $program"
    libraries=$(ldd "$program")
    [[ "$libraries" != *"not found"* ]] || fail "$program misses libraries: $libraries"
    [[ "$libraries" == *"libquellis.so.1 => $prefix/"* ]] ||
        fail "$program does not load the library of $prefix"
}

data=$prefix/share/velmora
for file in DemoDat.txt HelpDemo.mht; do
    cmp -s "$source/demo/$file" "$data/$file" || fail "$data/$file is not demo/$file"
done

expect_links "$prefix/bin/velmora-fit"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/installed" "$work/built"
for run in installed built; do
    cp "$data/DemoDat.txt" "$work/$run/"
done
(cd "$work/installed" && "$prefix/bin/velmora-fit" --steps 40 --result result.txt) ||
    fail "the installed velmora-fit failed on the installed demo measurement"
(cd "$work/built" && "$built_fit" --steps 40 --result result.txt)
[[ -s "$work/installed/result.txt" ]] || fail "the installed velmora-fit wrote no result"
cmp -s "$work/installed/result.txt" "$work/built/result.txt" ||
    fail "the installed velmora-fit fits the demo measurement differently from the build's"

# --demo takes the measurement from ../share/velmora/ beside the program,
# wherever the prefix is moved: a moved copy whose demo measurement is cut
# to its first 30 time points must fit those, from an empty folder.
moved=$work/moved
mkdir -p "$moved/bin" "$moved/share/velmora" "$work/demo" "$work/cut"
cp "$prefix/bin/velmora-fit" "$moved/bin/"
head -n 30 "$data/DemoDat.txt" >"$moved/share/velmora/DemoDat.txt"
cp "$moved/share/velmora/DemoDat.txt" "$work/cut/"
(cd "$work/demo" && LD_LIBRARY_PATH=$(dirname "$(find "$prefix" -name libquellis.so.1)") \
    "$moved/bin/velmora-fit" --demo --steps 40 --result result.txt) ||
    fail "velmora-fit --demo failed in a moved copy of $prefix"
(cd "$work/cut" && "$built_fit" --steps 40 --result result.txt DemoDat.txt)
cmp -s "$work/demo/result.txt" "$work/cut/result.txt" ||
    fail "velmora-fit --demo did not fit the demo measurement beside the program"

if [[ "$window" == window ]]; then
    expect_links "$prefix/bin/velmora"
    entry=$prefix/share/applications/velmora.desktop
    [[ -f "$entry" ]] || fail "no desktop entry $entry"
    desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
    # "Open with" hands the program the file: Exec takes %f, MimeType says
    # which files.
    exec_line=$(grep '^Exec=' "$entry")
    [[ "$exec_line" == *" %f" ]] || fail "$entry does not pass the file to open (%f)"
    exec_program=${exec_line#Exec=}
    [[ -x "$prefix/bin/${exec_program% %f}" ]] || fail "$entry starts no installed program"
    grep -q '^MimeType=.*text/plain;' "$entry" || fail "$entry names no MimeType text/plain"
    icon_name=$(grep '^Icon=' "$entry")
    icon=$(find "$prefix/share/icons/hicolor" -name "${icon_name#Icon=}.png")
    [[ -n "$icon" ]] || fail "no icon ${icon_name#Icon=}.png under share/icons/hicolor"
    # The size the icon's folder names must be the picture's own.
    size=$(basename "$(dirname "$(dirname "$icon")")")
    picture=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" \
        $5*16777216 + $6*65536 + $7*256 + $8 }')
    [[ "$(head -c8 "$icon" | od -An -tx1 | tr -d ' ')" == 89504e470d0a1a0a ]] ||
        fail "$icon is not a PNG picture"
    [[ "$picture" == "$size" ]] || fail "$icon is $picture pixels, but lies in $size"
fi
# A manual page for each program, which man renders without a warning.
manuals=(velmora-fit)
[[ "$window" == window ]] && manuals+=(velmora)
for program in "${manuals[@]}"; do
    page=$prefix/share/man/man1/$program.1
    [[ -f "$page" ]] || fail "no manual page $page"
    warnings=$(groff -ww -man -z "$page" 2>&1) || fail "$page cannot be rendered: $warnings"
    [[ -z "$warnings" ]] || fail "$page renders with warnings: $warnings"
done
echo "check-programs: the programs and data of $prefix work"
