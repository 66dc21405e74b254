#!/usr/bin/env python3
"""Fails when a program imports a function that Windows 98 SE or Windows
NT 4.0 lacks: every imported function must be in the allow-list, whose
entries name the oldest system of each line that has the function, and a
listed system newer than those two does not count. A missing import stops a
program before its first line, so this is the only place it shows without an
old system at hand. The PE header must ask for no newer system either."""
import argparse
import re
import subprocess
import sys

NINE_X = ["Win95", "Win98", "Win98SE"]  # oldest first
NT = ["NT3.1", "NT3.5", "NT3.51", "NT4.0"]


def read_allowed(path):
    allowed, errors = {}, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != 4:
                errors.append(f"{path}:{number}: want DLL FUNCTION OLDEST-9X OLDEST-NT")
            elif fields[2] not in NINE_X or fields[3] not in NT:
                errors.append(f"{path}:{number}: {fields[1]} is newer than Windows 98 SE / NT 4.0 "
                              f"({fields[2]} {fields[3]})")
            else:
                allowed[(fields[0].upper(), fields[1])] = (fields[2], fields[3])
    return allowed, errors


def read_program(objdump, exe):
    """The (DLL, function) pairs of the import table and the header's fields."""
    text = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    imports, dll = set(), None
    for line in text.splitlines():
        m = re.match(r"^\tDLL Name: (\S+)", line)
        if m:
            dll = m.group(1).upper()
        elif dll and re.match(r"^\t[0-9a-f]+\t", line):
            fields = line.split()
            # An import by ordinal has no name to check.
            imports.add((dll, fields[-1] if len(fields) >= 3 else "#" + fields[-1]))
        elif not line.strip():
            dll = None
    header = dict(re.findall(r"^(Major\w+Version)\s+(\d+)$", text, re.M))
    return imports, header


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--allowed", required=True)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    allowed, failures = read_allowed(args.allowed)
    used = set()
    for exe in args.programs:
        imports, header = read_program(args.objdump, exe)
        if not imports:
            failures.append(f"{exe}: no import table found")
        for name in ("MajorOSystemVersion", "MajorSubsystemVersion"):
            if int(header.get(name, "99")) > 4:
                failures.append(f"{exe}: {name} {header.get(name)} (older systems refuse to load it)")
        for dll, function in sorted(imports):
            print(f"{exe}: {dll} {function}")
            if (dll, function) not in allowed:
                failures.append(f"{exe}: imports {dll} {function}, which is not in {args.allowed}")
        used |= imports
    for dll, function in sorted(set(allowed) - used):
        print(f"note: {dll} {function} is allowed but no longer imported")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(used)} imported functions checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
