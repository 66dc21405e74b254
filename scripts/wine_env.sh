# Sourced by the run and test scripts: a Wine prefix inside the build folder
# and a headless X display when there is none.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# KALDERO_BUILD_DIR lets several checkouts or people share a machine without
# sharing builds, Wine prefixes or screens.
BUILD="${KALDERO_BUILD_DIR:-$ROOT/build}"
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko downloads: the programs need neither and there is no network.
export WINEDLLOVERRIDES="mscoree=;mshtml="

wine_prefix_ready() { [ -f "$WINEPREFIX/.kaldero-ready" ]; }

ensure_wine_prefix() {
  wine_prefix_ready || make_wine_prefix
  ensure_prefix_settings
  ensure_test_drives
  ensure_japanese_locale
}

make_wine_prefix() {
  echo "wine: creating the prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$BUILD"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.kaldero-ready"
}

# Settings of the prefix, applied again when they change (the marker names
# their version): there is no window manager under Xvfb, so Wine draws and
# manages the windows itself (managed windows also linger for seconds after
# they close, which slows every test); crash dialogs stay away from unattended
# runs; the Japanese dialog faces map to a Japanese font from Debian; and the
# symbol font of the caption buttons is put where Wine looks for it.
PREFIX_SETTINGS_VERSION=2
ensure_prefix_settings() {
  local marker="$WINEPREFIX/.kaldero-settings-$PREFIX_SETTINGS_VERSION"
  [ -f "$marker" ] && return 0
  local reg="$BUILD/prefix-settings.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳゴシック"="IPAGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
REG
  wineserver -k 2>/dev/null || true
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wineserver -w
  touch "$marker"
}

# Drives that are not fixed disks, for the tests of the rule that files are
# opened and saved on fixed disks only: D: is a CD-ROM and N: a network share,
# both plain folders of the build. Prefixes made before this step get them
# too; the registry is read when the Wine server starts, hence the wait.
ensure_test_drives() {
  local d="$WINEPREFIX/dosdevices"
  [ -f "$WINEPREFIX/.kaldero-drives" ] && [ -L "$d/d:" ] && [ -L "$d/n:" ] && [ -L "$d/r:" ] && return 0
  mkdir -p "$BUILD/drives/cdrom" "$BUILD/drives/network" "$BUILD/drives/ramdisk" "$d"
  ln -sfn "$BUILD/drives/cdrom" "$d/d:"
  ln -sfn "$BUILD/drives/network" "$d/n:"
  wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
  # R: a RAM disk, where the capture program may save its icons.
  ln -sfn "$BUILD/drives/ramdisk" "$d/r:"
  wine reg add 'HKLM\Software\Wine\Drives' /v r: /d ramdisk /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.kaldero-drives"
}

# Wine converts file names with the C library's character set: under a
# ja_JP.UTF-8 locale that the system has not compiled, a Japanese run cannot
# touch a file with a Japanese name. Debian compiles no locales by default, so
# the build compiles its own and points the C library at it (C.UTF-8 stays
# reachable).
KALDERO_LOCALES="$BUILD/locale"
ensure_japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8' && return 0
  [ -f "$KALDERO_LOCALES/ja_JP.UTF-8/LC_CTYPE" ] && return 0
  mkdir -p "$KALDERO_LOCALES"
  localedef -i ja_JP -f UTF-8 "$KALDERO_LOCALES/ja_JP.UTF-8" >/dev/null 2>&1 || true
  [ -d /usr/lib/locale/C.utf8 ] && ln -sfn /usr/lib/locale/C.utf8 "$KALDERO_LOCALES/C.utf8"
  [ -f "$KALDERO_LOCALES/ja_JP.UTF-8/LC_CTYPE" ] && export LOCPATH="$KALDERO_LOCALES"
  return 0
}
[ -f "$KALDERO_LOCALES/ja_JP.UTF-8/LC_CTYPE" ] && export LOCPATH="$KALDERO_LOCALES"

XVFB_PID=""
# Starts Xvfb on a free display (depth in $1, default 24) and exports DISPLAY.
start_xvfb() {
  local depth=${1:-24} n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "1024x768x$depth" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}
