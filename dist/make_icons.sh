#!/usr/bin/env bash
# Renders the program's icon, icons/linkferry.svg, into the PNG sizes that the install puts in
# the hicolor theme: icons/linkferry-N.png for N = 16 ... 256. Run it after changing the SVG
# and commit the PNGs, so that a build needs no converter. Needs rsvg-convert (Debian package
# librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
if ! command -v rsvg-convert >/dev/null; then
  echo "make_icons.sh: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2
  exit 1
fi
for size in 16 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "linkferry-$size.png" linkferry.svg
done
ls -l linkferry-*.png
