#!/usr/bin/env bash
# Runs one program under its own Xvfb with openbox; exits with the program's code.
set -u

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <program> [arguments...]" >&2
  exit 2
fi

xvfb_pid=""
openbox_pid=""
cleanup() {
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The first display number from 91 up that is free. Another run may take the
# same number at the same moment; the lock file then names the other server,
# and the next number is tried. -noreset: otherwise the server resets when its
# last client leaves, and refuses the next one meanwhile.
display=""
for number in $(seq 91 190); do
  if [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; then continue; fi
  Xvfb ":${number}" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 300); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    if DISPLAY=":${number}" xdpyinfo >/dev/null 2>&1; then display=":${number}"; break; fi
    sleep 0.1
  done
  if [ -n "$display" ] && [ "$(tr -d ' \n' <"/tmp/.X${number}-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
    break
  fi
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  display=""
done
if [ -z "$display" ]; then
  echo "could not start Xvfb on any display from :91 to :190" >&2
  exit 1
fi

# openbox's home must not hold a user's settings, nor be shared between runs.
openbox_home=$(mktemp -d)
trap 'cleanup; rm -rf "$openbox_home"' EXIT
HOME="$openbox_home" DISPLAY="$display" openbox >"$openbox_home/log" 2>&1 &
openbox_pid=$!

ready=""
for _ in $(seq 300); do
  # A window manager that has taken over announces itself on the root window.
  if DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    ready=yes
    break
  fi
  kill -0 "$openbox_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$ready" ]; then
  echo "openbox did not start on $display:" >&2
  cat "$openbox_home/log" >&2
  exit 1
fi

DISPLAY="$display" "$@"
