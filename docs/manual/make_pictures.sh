#!/usr/bin/env bash
# Takes the manuals' pictures from the real viewer and capture program under
# Wine on a headless screen, in English and in Japanese, and writes them as PNG
# files into docs/manual/pictures (they are committed; the manual build does
# not need Wine). Run scripts/build.sh first.
#
#   make_pictures.sh [kaldero|meridot]   (both when no program is named)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/wine_env.sh"
ensure_wine_prefix
start_xvfb 24
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
bin="$BUILD/win/bin"
out="$ROOT/docs/manual/pictures"
raw=$(mktemp -d)
icon="$BUILD/host/artwork/ICON_1.ico"
which=${1:-both}
run() { timeout 120 "$@" 2>/dev/null | tr -d '\r' | grep -v '^[0-9a-f]\{4\}:' || true; }
for locale in C.UTF-8 ja_JP.UTF-8; do
  if [ "$which" != meridot ]; then
    run env LC_ALL=$locale wine "$bin/manual_pictures.exe" "$(winepath -w "$raw")" "$(winepath -w "$icon")"
  fi
  if [ "$which" != kaldero ]; then
    run env LC_ALL=$locale wine "$bin/capture_pictures.exe" "$(winepath -w "$raw")"
  fi
done
for f in "$raw"/*-en.bmp "$raw"/*-ja.bmp; do
  [ -f "$f" ] || { echo "missing pictures" >&2; exit 1; }
done
# PNG without time stamps, so that unchanged pictures keep their bytes.
for f in "$raw"/*.bmp; do
  name=$(basename "$f" .bmp)
  case "$name" in
    toolbar | meridot-toolbar-*) continue ;;
    # The dashed frame is one pixel wide: shown twice its size.
    meridot-frame-*) convert "$f" -filter point -resize 200% -strip -define png:exclude-chunks=date,time \
                       "PNG24:$out/$name.png" ;;
    # The orientations are compared side by side: from the English run only, three times their size.
    meridot-orientation-*-ja) ;;
    meridot-orientation-*) convert "$f" -filter point -resize 300% -strip -define png:exclude-chunks=date,time \
                             "PNG24:$out/${name%-en}.png" ;;
    *) convert "$f" -strip -define png:exclude-chunks=date,time "PNG24:$out/$name.png" ;;
  esac
done
# Each tool bar button, twice its size, from the strip of the English run.
if [ -f "$raw/toolbar.bmp" ]; then x=16
for base in Prm Open Paste ZmOut ZmIn Mode Copy SaveAs Print MkIcon About Help Exit; do
  convert "$raw/toolbar.bmp" -crop "32x20+$x+0" +repage -filter point -resize 200% -strip \
    -define png:exclude-chunks=date,time "PNG24:$out/button-$base.png"
  x=$((x + 32))
done
fi
# The capture program's buttons, from its English strip.
if [ -f "$raw/meridot-toolbar-en.bmp" ]; then x=16
  for base in CaptSz Capt About; do
    convert "$raw/meridot-toolbar-en.bmp" -crop "32x21+$x+0" +repage -filter point -resize 200% -strip \
      -define png:exclude-chunks=date,time "PNG24:$out/button-meridot-$base.png"
    x=$((x + 32))
  done
fi
rm -rf "$raw"
ls "$out"
