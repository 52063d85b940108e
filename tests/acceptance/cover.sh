#!/usr/bin/env bash
# A window laid over the game and taken away again: the game's picture comes back unchanged.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_pass_information_prompt
acc_crop 0 0 1280 720 "$ACC_DIR/before.ppm"

client_differs_by() {
  acc_crop 0 0 1280 720 "$ACC_DIR/now.ppm"
  ACC_DIFF=$(acc_differing "$ACC_DIR/before.ppm" "$ACC_DIR/now.ppm")
  [ "$ACC_DIFF" -gt "$1" ]
}
covered() { client_differs_by 200000; }
uncovered() { ! client_differs_by 0; }

acc_spawn xmessage -geometry 800x500+400+200 cover
acc_wait 10 "the game window covered by another window" covered
acc_keep_shot covered
acc_stop_process "$ACC_LAST_HELPER"
acc_wait 10 "the same picture once the cover is gone" uncovered
acc_message_is "Jetzt geht's los <Taste druecken>" || acc_fail "the start prompt is gone"
acc_pass
