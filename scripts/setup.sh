#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and run both programs:
# the MinGW cross compilers (two thread models), 32-bit Wine, Xvfb, GoogleTest and the third-party
# image readers the tests compare against, and the PDF tools of the manuals. Quiet and quick when all is there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(
  cmake g++ make ninja-build googletest libgtest-dev
  clang libclang-rt-14-dev g++-multilib
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 xvfb xauth x11-utils xdotool
  imagemagick gimp libtiff-tools python3-pil python3-numpy poppler-utils
  fonts-ipafont-gothic fonts-wine locales
  cups cups-client printer-driver-cups-pdf libcups2:i386
  python3-reportlab python3-markdown fonts-dejavu-core
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=0
fi
for p in "${packages[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${need[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync serves index files of the wrong size for a minute or two; try again
  # rather than fail the whole run, and go on with what was fetched if it never settles (the install
  # below then says plainly which package it could not find).
  for try in 1 2 3; do
    apt-get update -qq -o DPkg::Lock::Timeout=900 -o Acquire::Retries=3 && break
    [ "$try" -lt 3 ] && { echo "setup: apt-get update failed (try $try of 3), trying again in 15 s" >&2; sleep 15; }
  done
  apt_install() { apt-get install -y -qq -o DPkg::Lock::Timeout=900 --no-install-recommends "$@" "${need[@]}" >/dev/null; }
  # When one architecture's security index could not be fetched, the security versions exist for amd64 only
  # and the i386 packages can't match them: take the release's own versions, which exist for both.
  apt_install || { echo "setup: retrying with the release's own versions" >&2; apt_install -o APT::Default-Release=bookworm; }
fi
