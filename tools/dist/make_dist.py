#!/usr/bin/env python3
"""Fills the release folder: the programs stripped of their symbols, the
manuals as they are, and a zip of them whose bytes depend on their contents
alone (fixed times and modes, sorted names). Every other file in the folder
is removed, so that it holds exactly what a user is given."""
import argparse
import os
import shutil
import subprocess
import sys
import zipfile

# 1980-01-01, the earliest time a zip entry can hold.
ZIP_TIME = (1980, 1, 1, 0, 0, 0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--strip", required=True, help="the MinGW strip tool")
    parser.add_argument("--dist", required=True, help="the release folder")
    parser.add_argument("--zip", required=True, help="file name of the zip")
    parser.add_argument("files", nargs="+", help="programs (.EXE) and manuals")
    args = parser.parse_args()

    os.makedirs(args.dist, exist_ok=True)
    names = [os.path.basename(f) for f in args.files]
    if len(set(names)) != len(names):
        sys.exit("make_dist: two files of the same name")
    for old in os.listdir(args.dist):
        if old not in names and old != args.zip:
            path = os.path.join(args.dist, old)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)

    for source, name in zip(args.files, names):
        target = os.path.join(args.dist, name)
        if name.upper().endswith(".EXE"):
            # strip writes the time of day into the PE header unless told a
            # fixed one.
            env = dict(os.environ, SOURCE_DATE_EPOCH="0")
            subprocess.run([args.strip, "--strip-all", "-o", target, source], check=True, env=env)
            print(f"dist: {name} {os.path.getsize(source)} bytes, stripped {os.path.getsize(target)}")
        else:
            shutil.copyfile(source, target)

    folder = os.path.splitext(args.zip)[0]
    partial = os.path.join(args.dist, args.zip + ".part")
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in sorted(names):
            entry = zipfile.ZipInfo(f"{folder}/{name}", ZIP_TIME)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0  # no Unix mode bits
            entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(os.path.join(args.dist, name), "rb") as f:
                z.writestr(entry, f.read(), compresslevel=9)
    os.replace(partial, os.path.join(args.dist, args.zip))


if __name__ == "__main__":
    main()
