#!/usr/bin/env bash
# The game reads only system libraries, fonts and the display's files, and writes no file:
# one whole run (prompt, board, abort, restart prompt, exit) under strace. Needs DISPLAY.
set -eu
game=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT

strace -f -qq -e trace=open,openat,openat2,creat,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2,truncate,link,symlink \
  -o "$log" "$game" &
tracer=$!

window=""
for _ in $(seq 200); do
  window=$(xdotool search --name '^TERRANOX$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.05
done
[ -n "$window" ] || { echo "no game window"; kill "$tracer"; exit 1; }
# N at the information prompt; Esc at the start prompt once the board is built;
# a key for the abort message; N at the restart prompt.
for key in n Escape space n; do
  sleep 3
  xdotool key --window "$window" "$key"
done
status=0
wait "$tracer" || status=$?
[ "$status" -eq 0 ] || { echo "the game exited with $status"; exit 1; }

# Successful opens and every call that changes the file system.
opened=$(grep -vE '= -1 E' "$log" | grep -E 'open' || true)
writes=$(echo "$opened" | grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC' | grep -v '"/dev/null"' || true)
changes=$(grep -E '(mkdir|unlink|rename|truncate|link|symlink|creat)[a-z0-9]*\(' "$log" | grep -vE '= -1 E' || true)
if [ -n "$writes$changes" ]; then
  echo "files opened for writing or changed:"
  echo "$writes$changes"
  exit 1
fi
allowed='^"(/lib/|/usr/lib/|/etc/ld\.so\.cache|/usr/share/fonts|/usr/local/share/fonts|/usr/share/fontconfig/|/etc/fonts/|/var/cache/fontconfig/|/usr/share/X11/|/usr/share/locale/locale\.alias|/var/lib/dbus/machine-id|/etc/machine-id|/proc/self/|/dev/null|'"$HOME"'/\.(XCompose|Xauthority|fontconfig|cache/fontconfig))'
unexpected=$(echo "$opened" | grep -oE '"[^"]+"' | sort -u | grep -vE "$allowed" || true)
if [ -n "$unexpected" ]; then
  echo "files read that the game has no business with:"
  echo "$unexpected"
  exit 1
fi
echo "file access: $(echo "$opened" | grep -c open) opens, all read-only system, font and display files"
