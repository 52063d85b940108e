#!/usr/bin/env bash
# The window's close box: ignored while a prompt waits, an abort of the game while it runs.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_wait_message "Information gewuenscht ? <j>/<n>" 20
wmctrl -i -c "$ACC_WID" || acc_fail "wmctrl could not ask the window to close"
sleep 1
acc_game_alive || acc_fail "the game ended on a close request at the information prompt"
acc_shot
acc_message_is "Information gewuenscht ? <j>/<n>" ||
  acc_fail "the information prompt is gone after the close request"

# A key still answers the prompt, and the game that follows is not aborted.
acc_focus
acc_key n
acc_wait_message "Jetzt geht's los <Taste druecken>" 30
acc_key space
acc_wait 10 "the first turn" acc_start_prompt_gone

wmctrl -i -c "$ACC_WID" || acc_fail "wmctrl could not ask the window to close"
acc_wait_message "ABBRUCH - <Taste druecken>" 30
acc_key space
acc_wait_message "Neustart ? <J>/<N>" 10
acc_key n
acc_wait_exit 10
[ "$ACC_EXIT" -eq 0 ] || acc_fail "exit code $ACC_EXIT"
acc_pass
