#!/usr/bin/env bash
# Esc during a computer player's turn aborts the game; declining the restart ends the program.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_begin_play

# A computer player is at work when a message shows and a box other than YOU's
# has the yellow text of the player whose turn it is. YOU's own turns are ended with Done.
computer_at_work() {
  if acc_human_turn_shown; then
    acc_click $ACC_DONE_BUTTON
    return 1
  fi
  acc_is 250 700 "$ACC_MESSAGE_RED" || return 1
  acc_box_row "$ACC_YOU" || return 1
  local you=$ACC_ROW k
  for k in 1 2 3 4; do
    [ "$k" -ne "$you" ] && [ "$(acc_box_text_count "$k" "$ACC_YELLOW")" -gt 20 ] && return 0
  done
  return 1
}
acc_wait 90 "a computer player's move" computer_at_work
acc_keep_shot computer-move
acc_key Escape
acc_wait_message "ABBRUCH - <Taste druecken>" 30
acc_key space
acc_wait_message "Neustart ? <J>/<N>" 10

# After N the backdrop alone shows for about a second, then the program ends with 0.
declare -A BACKDROP=()
acc_fetch "$ACC_SOURCE_DIR/assets/backdrop.jpg" 0 0 BACKDROP "1,1" "640,700" "1200,300"
backdrop_shown() {
  local point
  for point in "1,1" "640,700" "1200,300"; do
    acc_is "${point%,*}" "${point#*,}" "${BACKDROP[$point]}" 4 || return 1
  done
}
started=$(acc_now_us)
(
  while acc_game_alive; do sleep 0.01; done
  acc_now_us >"$ACC_DIR/ended"
) &
watcher=$!
acc_key n
seen=""
while acc_game_alive && acc_try_shot; do
  if backdrop_shown; then
    seen=yes
    break
  fi
done
wait "$watcher"
acc_wait_exit 5
[ -n "$seen" ] || acc_fail "the backdrop did not show before the program ended"
elapsed_ms=$((($(cat "$ACC_DIR/ended") - started) / 1000))
acc_log "the program ended ${elapsed_ms} ms after N, exit code $ACC_EXIT"
[ "$ACC_EXIT" -eq 0 ] || acc_fail "exit code $ACC_EXIT"
[ "$elapsed_ms" -ge 800 ] && [ "$elapsed_ms" -le 3000 ] ||
  acc_fail "the program ended ${elapsed_ms} ms after N"
acc_pass
