#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a Windows program imports, read from its PE headers with objdump -p.

Checks that PROGRAM is a 32-bit x86 image, binds to quellis.dll exactly the
ordinals given and no name, imports nothing else but Windows' own DLLs (the
compiler's runtime is linked in), and reserves at least STACK bytes of stack
for its main thread.

Usage: check_imports.py OBJDUMP PROGRAM STACK ORDINAL...
"""
import re
import subprocess
import sys

WINDOWS_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "ntdll.dll"}


def imports(headers):
    """{dll name (lower case): [(ordinal or hint, name or None)]}."""
    tables = {}
    current = None
    for line in headers.splitlines():
        dll = re.match(r"\s*DLL Name: (\S+)", line)
        if dll:
            current = tables.setdefault(dll.group(1).lower(), [])
            continue
        entry = re.match(r"\s*[0-9a-f]+\s+(\d+)\s+(\S+)", line)
        if current is not None and entry:
            name = entry.group(2)
            current.append((int(entry.group(1)), None if name == "<none>" else name))
        elif not line.strip() or line.startswith("The "):
            current = None
    return tables


def main():
    objdump, program, stack = sys.argv[1:4]
    ordinals = sorted(int(o) for o in sys.argv[4:])
    headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                             text=True).stdout
    failures = []
    if not re.search(r"file format pei-i386", headers) or "(PE32)" not in headers:
        failures.append("not a PE32 image for i386")
    tables = imports(headers)
    bound = tables.pop("quellis.dll", [])
    if sorted(bound) != [(o, None) for o in ordinals]:
        failures.append(f"imports from quellis.dll {bound}, not ordinals {ordinals} by number")
    others = sorted(set(tables) - WINDOWS_DLLS)
    if others:
        failures.append(f"imports from DLLs that Windows does not ship: {others}")
    reserve = re.search(r"SizeOfStackReserve\s+([0-9a-f]+)", headers)
    if reserve is None or int(reserve.group(1), 16) < int(stack):
        failures.append(f"stack reserve {reserve and reserve.group(1)} below {stack} bytes")
    if failures:
        print("\n".join([program] + failures))
        return 1
    print(f"{program}: PE32 i386, quellis.dll ordinals {ordinals} only, "
          f"other imports {sorted(tables)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
