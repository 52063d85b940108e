#!/usr/bin/env bash
# Runs the artwork generator twice and checks both runs match each other and the committed files.
set -euo pipefail
generator=$1
committed=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/first" "$work/second"
"$generator" "$work/first"
"$generator" "$work/second"
status=0
for file in backdrop.jpg tiles.png sea.jpg icon.png icon-{48,64,128,256}.png; do
  if ! cmp -s "$work/first/$file" "$work/second/$file"; then
    echo "$file differs between two runs"
    status=1
  fi
  if ! cmp -s "$work/first/$file" "$committed/$file"; then
    echo "$file differs from the committed $committed/$file"
    status=1
  fi
done
exit $status
