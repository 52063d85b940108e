#!/usr/bin/env bash
# Random play through the real window for a while: the game lives, repaints itself and ends cleanly.
#
# Arguments after the two executables: the duration in seconds (600 if not given)
# and the seed of the random input (drawn and printed if not given).
source "$(dirname "$0")/lib.sh" "$@"

duration=${ACC_ARGS[0]:-600}
seed=${ACC_ARGS[1]:-$((($(date +%s) ^ $$) % 32768))}
RANDOM=$seed
acc_log "soak for ${duration} s with seed $seed"

RESTART="Neustart ? <J>/<N>"
# Prompts that wait for any key and lead to the restart prompt, or back into the game.
WAITING=("ABBRUCH - <Taste druecken>" "Sieger ist PC-1 <Taste>" "Sieger ist PC-2 <Taste>"
  "Sieger ist PC-3 <Taste>" "Sieger ist YOU  <Taste>" "GAME OVER !!!! <Taste>")
# Where an Esc or a close request settles: one of the prompts, or the help page.
SETTLED=("$RESTART" "${WAITING[@]}" "Jetzt geht's los <Taste druecken>"
  "Information gewuenscht ? <j>/<n>" "Beenden <esc> ; Blaettern <re> <li>")
KEYS=(a s y j n Up Down Left Right space)

events=0
games=1
runs=1
ends_by_queued_input=0
repaint_checks=0
maximised=""
maximised_events=0

soak_key() {
  acc_focus
  acc_key "$1"
  events=$((events + 1))
}

soak_start_program() {
  ACC_WID=""
  maximised=""
  acc_start_game
  runs=$((runs + 1))
  games=$((games + 1))
}

# Events queued during a hold can answer an end message and then the restart
# prompt before a shot shows either; the program then ends as asked. That end
# must be as clean as any other.
soak_program_ended() {
  acc_wait_exit 5
  [ "$ACC_EXIT" -eq 0 ] || acc_fail "the game ended with code $ACC_EXIT during random input"
  ends_by_queued_input=$((ends_by_queued_input + 1))
  acc_log "the program ended cleanly on queued input; starting it again"
  soak_start_program
}

# Waits until the message line shows something other than the text, or the program ends.
soak_wait_message_gone() {
  local deadline=$(($(acc_now_us) + 10000000))
  while acc_game_alive && [ "$(acc_now_us)" -lt "$deadline" ]; do
    acc_try_shot || return 0
    acc_message_is "$1" || return 0
    sleep 0.1
  done
}

soak_set_size() {
  local change=$1
  wmctrl -i -r "$ACC_WID" -b "$change,maximized_vert,maximized_horz" ||
    acc_fail "wmctrl could not $change the maximised state"
  events=$((events + 1))
  local deadline=$(($(acc_now_us) + 10000000))
  while [ "$(acc_now_us)" -lt "$deadline" ]; do
    acc_geometry || acc_fail "the game window is gone"
    if [ "$change" = add ] && [ "$ACC_W" -gt 1280 ]; then
      maximised=yes
      maximised_events=0
      return 0
    fi
    if [ "$change" = remove ] && [ "$ACC_W" -eq 1280 ] && [ "$ACC_H" -eq 720 ]; then
      maximised=""
      return 0
    fi
    sleep 0.1
  done
  acc_fail "the window did not $change its maximised state within 10 s"
}

# After an Esc or a close request: no more input until the game has settled at a
# prompt or in the help, so that nothing queued answers the prompts that follow.
soak_settle() {
  local deadline=$(($(acc_now_us) + 60000000))
  while acc_game_alive && [ "$(acc_now_us)" -lt "$deadline" ]; do
    acc_try_shot || continue
    acc_message_among "${SETTLED[@]}" && return 0
    sleep 0.2
  done
  acc_game_alive || acc_fail "the game ended after an Esc or a close request"
  acc_fail "the game did not reach a prompt within 60 s of an Esc or a close request"
}

soak_abort() {
  [ -z "$maximised" ] || soak_set_size remove
  if [ "$1" = close ]; then
    wmctrl -i -c "$ACC_WID" || acc_fail "wmctrl could not ask the window to close"
    events=$((events + 1))
  else
    soak_key Escape
  fi
  soak_settle
}

soak_random_event() {
  local roll=$((RANDOM % 100)) x y
  if [ -n "$maximised" ]; then
    maximised_events=$((maximised_events + 1))
    [ "$maximised_events" -le 8 ] || roll=99
  fi
  if [ "$roll" -lt 40 ]; then
    acc_click $((RANDOM % ACC_W)) $((RANDOM % ACC_H)) 1
  elif [ "$roll" -lt 52 ]; then
    acc_click $((RANDOM % ACC_W)) $((RANDOM % ACC_H)) 3
  elif [ "$roll" -lt 60 ]; then
    acc_click_screen $ACC_DONE_BUTTON
  elif [ "$roll" -lt 67 ]; then
    acc_click_screen 1150 $((397 + 50 * (RANDOM % 4))) $((RANDOM % 2 == 0 ? 1 : 3))
  elif [ "$roll" -lt 92 ]; then
    soak_key "${KEYS[RANDOM % ${#KEYS[@]}]}"
    return 0
  elif [ "$roll" -lt 95 ]; then
    soak_abort escape
    return 0
  elif [ "$roll" -lt 97 ]; then
    soak_abort close
    return 0
  else
    if [ -n "$maximised" ]; then soak_set_size remove; else soak_set_size add; fi
    return 0
  fi
  events=$((events + 1))
}

# The footer's title box looks the same whenever the program runs; a small window
# laid over it and taken away must leave it as the game draws it.
"$ACC_RENDER" "" "$ACC_DIR/footer.png" || acc_fail "render_message failed"
/usr/bin/convert "$ACC_DIR/footer.png" -crop 240x32+0+688 +repage -depth 8 "ppm:$ACC_DIR/title.ppm"

# Waits until the title box shows as the game draws it ("drawn") or is hidden
# under another window ("covered"); false after 10 s.
soak_title_box() {
  local deadline=$(($(acc_now_us) + 10000000)) differing
  while [ "$(acc_now_us)" -lt "$deadline" ]; do
    acc_game_alive || return 1
    if acc_try_shot; then
      acc_crop 0 688 240 32 "$ACC_DIR/title-now.ppm"
      differing=$(acc_differing "$ACC_DIR/title.ppm" "$ACC_DIR/title-now.ppm")
      if [ "$1" = drawn ]; then
        [ "$differing" -eq 0 ] && return 0
      else
        [ "$differing" -gt 1000 ] && return 0
      fi
    fi
    sleep 0.1
  done
  return 1
}

# A hold of the game may delay the repaint after a restore, so the box must first
# show as drawn before it is covered.
soak_check_repaint() {
  soak_title_box drawn || { acc_game_alive && acc_fail "the footer's title box is not as drawn"; }
  acc_game_alive || return 0
  acc_spawn xmessage -geometry "260x40+$((ACC_X - 10))+$((ACC_Y + 670))" cover
  local cover=$ACC_LAST_HELPER covered=""
  soak_title_box covered && covered=yes
  acc_stop_process "$cover"
  [ -n "$covered" ] || acc_fail "the small window did not cover the footer's title box"
  if soak_title_box drawn; then
    repaint_checks=$((repaint_checks + 1))
  elif acc_game_alive; then
    acc_fail "the footer's title box was not repainted after the cover went away"
  fi
}

soak_answer_restart() {
  if [ $((RANDOM % 10)) -lt 9 ]; then
    soak_key j
    games=$((games + 1))
    soak_wait_message_gone "$RESTART"
  else
    soak_key n
    acc_wait_exit 5
    [ "$ACC_EXIT" -eq 0 ] || acc_fail "exit code $ACC_EXIT after N at the restart prompt"
    soak_start_program
  fi
}

soak_figures() {
  acc_log "soak: $((($(acc_now_us) - started) / 1000000)) s, $events input events, $games games in" \
    "$runs program runs ($ends_by_queued_input ended by queued input), $repaint_checks repaint checks"
}
# The figures are worth having after a failure too.
trap 'soak_figures; acc_cleanup' EXIT

started=$(acc_now_us)
acc_start_session
acc_start_game
deadline=$((started + duration * 1000000))
next_repaint_check=$((started + 5000000))
while [ "$(acc_now_us)" -lt "$deadline" ]; do
  if ! acc_game_alive; then
    soak_program_ended
    continue
  fi
  acc_try_shot || continue
  if [ -z "$maximised" ]; then
    if acc_message_among "$RESTART" "${WAITING[@]}"; then
      if [ "$ACC_MESSAGE" = "$RESTART" ]; then
        soak_answer_restart
      else
        soak_key space
        soak_wait_message_gone "$ACC_MESSAGE"
      fi
      continue
    fi
    if [ "$(acc_now_us)" -ge "$next_repaint_check" ]; then
      soak_check_repaint
      next_repaint_check=$(($(acc_now_us) + 8000000))
      continue
    fi
  fi
  soak_random_event
done

# The end: Esc until the game is aborted, a key for the abort message, N at the restart prompt.
[ -z "$maximised" ] || soak_set_size remove
finish_deadline=$(($(acc_now_us) + 180000000))
while :; do
  [ "$(acc_now_us)" -lt "$finish_deadline" ] || acc_fail "the game could not be ended within 180 s"
  acc_game_alive || acc_fail "the game ended before N at the restart prompt"
  acc_try_shot || continue
  if acc_message_among "${SETTLED[@]}"; then
    case $ACC_MESSAGE in
      "$RESTART")
        soak_key n
        acc_wait_exit 5
        break
        ;;
      "Jetzt geht's los <Taste druecken>" | "Beenden <esc> ; Blaettern <re> <li>")
        soak_key Escape
        ;;
      "Information gewuenscht ? <j>/<n>")
        soak_key n
        ;;
      *)
        soak_key space
        ;;
    esac
    soak_wait_message_gone "$ACC_MESSAGE"
  else
    soak_abort escape
  fi
done
[ "$ACC_EXIT" -eq 0 ] || acc_fail "exit code $ACC_EXIT at the end"
acc_pass
