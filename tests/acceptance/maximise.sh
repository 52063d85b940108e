#!/usr/bin/env bash
# Maximising stretches the whole picture over the client area; clicks still hit what they show.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_begin_play
acc_reach_attack
read -r ti tj <<<"$ACC_TARGET"
acc_log "YOU attacks cell ($ti, $tj) in the maximised window"
acc_crop 0 0 1280 720 "$ACC_DIR/normal.ppm"

# The stretched picture, shrunk back to the Screen's size, matches the picture
# at the normal size but for the smoothing of edges.
stretched() {
  [ "$ACC_W" -gt 1280 ] && [ "$ACC_H" -gt 720 ] || return 1
  acc_crop 0 0 "$ACC_W" "$ACC_H" "$ACC_DIR/maximised.ppm"
  /usr/bin/convert "$ACC_DIR/maximised.ppm" -resize '1280x720!' -depth 8 "ppm:$ACC_DIR/shrunk.ppm"
  ACC_STRETCH_DIFF=$(acc_differing "$ACC_DIR/normal.ppm" "$ACC_DIR/shrunk.ppm" 12)
  [ "$ACC_STRETCH_DIFF" -le 20000 ]
}
wmctrl -i -r "$ACC_WID" -b add,maximized_vert,maximized_horz || acc_fail "wmctrl could not maximise"
acc_wait 10 "the picture stretched over a larger client area" stretched
acc_log "maximised client area ${ACC_W} x ${ACC_H}, $ACC_STRETCH_DIFF pixels off after shrinking"
acc_keep_shot maximised

for probe in "1105 600 $ACC_TURN_BLUE" "230 700 $ACC_OLIVE" "1 1 $ACC_BLACK" "1278 2 $ACC_BLACK" \
  "5 693 $ACC_OLIVE" "1270 714 $ACC_OLIVE"; do
  read -r x y r g b <<<"$probe"
  acc_is_screen "$x" "$y" "$r $g $b" 4 || acc_fail "at scaled ($x, $y): $ACC_RGB, not $r $g $b"
done

army_selected() {
  acc_is_screen 1105 530 "$ACC_SELECTED_BUTTON" && acc_is_screen 1270 565 "$ACC_SELECTED_BUTTON"
}
acc_click_screen $ACC_ARMY_BUTTON
acc_wait 5 "the Army button drawn selected" army_selected

target_is_yours() {
  acc_box_get "$ti" "$tj" 0 && acc_near "$ACC_RGB" "$ACC_YOU" 4 &&
    acc_box_get "$ti" "$tj" 1 && acc_near "$ACC_RGB" "$ACC_YOU" 4
}
acc_click_screen $((95 * ti - 68 + 47)) $((95 * tj - 83 + 47))
acc_wait 8 "cell ($ti, $tj) marked as YOU's in the maximised window" target_is_yours
acc_keep_shot maximised-conquered

restored() { [ "$ACC_W" -eq 1280 ] && [ "$ACC_H" -eq 720 ] && target_is_yours; }
wmctrl -i -r "$ACC_WID" -b remove,maximized_vert,maximized_horz || acc_fail "wmctrl could not restore"
acc_wait 10 "the client area back at 1280 x 720" restored

# The restored size is the one the cursor is scaled with again: Done at its
# normal place ends the turn.
you_waiting() {
  acc_box_row "$ACC_YOU" || return 1
  [ "$(acc_box_text_count "$ACC_ROW" "$ACC_YELLOW")" -eq 0 ]
}
acc_click $ACC_DONE_BUTTON
acc_wait 5 "YOU's turn ended by Done after the restore" you_waiting
acc_pass
