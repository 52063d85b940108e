#!/usr/bin/env bash
# Installs the built game into a temporary prefix and checks what a desktop needs.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expect=(
  bin/terranox
  share/applications/org.terranox.terranox.desktop
  share/metainfo/org.terranox.terranox.metainfo.xml
  share/icons/hicolor/48x48/apps/terranox.png
  share/icons/hicolor/64x64/apps/terranox.png
  share/icons/hicolor/128x128/apps/terranox.png
  share/icons/hicolor/256x256/apps/terranox.png
)
for f in "${expect[@]}"; do
  [ -s "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -x "$prefix/bin/terranox" ] || { echo "bin/terranox is not executable"; exit 1; }
for size in 48 64 128 256; do
  got=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/terranox.png")
  [ "$got" = "${size}x${size}" ] || { echo "icon ${size}: size $got"; exit 1; }
done
grep -q '^Exec=terranox$' "$prefix/share/applications/org.terranox.terranox.desktop"
desktop-file-validate "$prefix/share/applications/org.terranox.terranox.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.terranox.terranox.metainfo.xml"
echo "install check passed"
