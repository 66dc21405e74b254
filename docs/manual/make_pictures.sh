#!/usr/bin/env bash
# Takes the manuals' pictures from the real viewer under Wine on a headless
# screen, in English and in Japanese, and writes them as PNG files into
# docs/manual/pictures (they are committed; the manual build does not need
# Wine). Run scripts/build.sh first.
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
run() { timeout 120 "$@" wine "$bin/manual_pictures.exe" "$(winepath -w "$raw")" "$(winepath -w "$icon")" 2>/dev/null | tr -d '\r' | grep -v '^[0-9a-f]\{4\}:' || true; }
run env
run env LC_ALL=ja_JP.UTF-8
for f in "$raw"/*-en.bmp "$raw"/*-ja.bmp; do
  [ -f "$f" ] || { echo "missing pictures" >&2; exit 1; }
done
# PNG without time stamps, so that unchanged pictures keep their bytes.
for f in "$raw"/*.bmp; do
  name=$(basename "$f" .bmp)
  [ "$name" = toolbar ] && continue
  convert "$f" -strip -define png:exclude-chunks=date,time "PNG24:$out/$name.png"
done
# Each tool bar button, twice its size, from the strip of the English run.
x=16
for base in Prm Open Paste ZmOut ZmIn Mode Copy SaveAs Print MkIcon About Help Exit; do
  convert "$raw/toolbar.bmp" -crop "32x20+$x+0" +repage -filter point -resize 200% -strip \
    -define png:exclude-chunks=date,time "PNG24:$out/button-$base.png"
  x=$((x + 32))
done
rm -rf "$raw"
ls "$out"
