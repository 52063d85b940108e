#!/usr/bin/env bash
# The human turn: choosing Army, conquering a free neighbour cell by a click, ending with Done.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_begin_play
acc_reach_attack
read -r ti tj <<<"$ACC_TARGET"
acc_log "YOU attacks cell ($ti, $tj)"
acc_keep_shot turn

army_selected() { acc_is 1105 530 "$ACC_SELECTED_BUTTON" && acc_is 1270 565 "$ACC_SELECTED_BUTTON"; }
acc_click $ACC_ARMY_BUTTON
acc_wait 5 "the Army button drawn selected" army_selected

target_is_yours() {
  acc_box_get "$ti" "$tj" 0 && acc_near "$ACC_RGB" "$ACC_YOU" 3 &&
    acc_box_get "$ti" "$tj" 1 && acc_near "$ACC_RGB" "$ACC_YOU" 3
}
acc_click $((95 * ti - 68 + 47)) $((95 * tj - 83 + 47))
acc_wait 8 "cell ($ti, $tj) marked as YOU's" target_is_yours
acc_keep_shot conquered

# Done ends the turn: YOU's box shows its text grey, in the look of a waiting player.
you_waiting() {
  acc_box_row "$ACC_YOU" || return 1
  [ "$(acc_box_text_count "$ACC_ROW" "$ACC_YELLOW")" -eq 0 ] &&
    [ "$(acc_box_text_count "$ACC_ROW" "$ACC_GREY")" -gt 20 ]
}
acc_click $ACC_DONE_BUTTON
acc_wait 5 "YOU's box in the waiting look after Done" you_waiting
acc_is 1105 530 "$ACC_SELECTED_BUTTON" && acc_fail "the Army button stays selected after Done"
acc_pass
