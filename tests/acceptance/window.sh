#!/usr/bin/env bash
# The game window: its title, its client size, its place on the screen, and that it can be maximised.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_wait_message "Information gewuenscht ? <j>/<n>" 20

title=$(xdotool getwindowname "$ACC_WID")
[ "$title" = TERRANOX ] || acc_fail "window title is '$title'"
net_name=$(xprop -id "$ACC_WID" _NET_WM_NAME)
[ "$net_name" = '_NET_WM_NAME(UTF8_STRING) = "TERRANOX"' ] || acc_fail "window name: $net_name"

acc_geometry || acc_fail "the game window is gone"
[ "$ACC_W" -eq 1280 ] && [ "$ACC_H" -eq 720 ] || acc_fail "client area is ${ACC_W} x ${ACC_H}"

# The frame may be centred instead of the client area; either is within the frame's extents.
read -r left right top bottom < <(xprop -id "$ACC_WID" _NET_FRAME_EXTENTS |
  sed -n 's/.*= *//p' | tr -d ',')
[ -n "${bottom:-}" ] || acc_fail "the window manager reports no frame extents"
off_x=$((ACC_X - (ACC_ROOT_W - 1280) / 2))
off_y=$((ACC_Y - (ACC_ROOT_H - 720) / 2))
[ "${off_x#-}" -le $((left + right)) ] && [ "${off_y#-}" -le $((top + bottom)) ] ||
  acc_fail "client area at ${ACC_X},${ACC_Y} is not centred (frame extents $left $right $top $bottom)"

actions=$(xprop -id "$ACC_WID" _NET_WM_ALLOWED_ACTIONS)
for action in _NET_WM_ACTION_MAXIMIZE_HORZ _NET_WM_ACTION_MAXIMIZE_VERT _NET_WM_ACTION_CLOSE; do
  grep -qw "$action" <<<"$actions" || acc_fail "the window manager does not offer $action: $actions"
done

acc_pass
