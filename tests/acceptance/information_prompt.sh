#!/usr/bin/env bash
# The information prompt before a game, and the help pages that J opens from it.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_wait_message "Information gewuenscht ? <j>/<n>" 20

# Inside the message line but clear of its text, and inside the two other footer boxes.
for point in "250 700" "1030 712" "300 715" "980 692"; do
  acc_is $point "$ACC_MESSAGE_RED" || acc_fail "message line at $point is $(acc_rgb $point)"
done
for point in "5 693" "200 714" "1045 693" "1270 714"; do
  acc_is $point "$ACC_OLIVE" || acc_fail "footer at $point is $(acc_rgb $point)"
done

# Points of the page box that no help line reaches.
PAGE_POINTS=("2 2" "1277 2" "1277 400" "2 686" "1277 686" "640 3")
page_shown() {
  local point
  for point in "${PAGE_POINTS[@]}"; do acc_is $point "$ACC_GREY" 2 || return 1; done
  acc_message_is "Beenden <esc> ; Blaettern <re> <li>"
}
# A page is drawn box first, text second: wait for the text too.
page_with_text() { page_shown && [ "$(acc_count 0 0 1280 688 "$ACC_HELP_TEXT" 30)" -gt 2000 ]; }

acc_key j
acc_wait 10 "help page 1" page_with_text
acc_crop 0 0 1280 688 "$ACC_DIR/page1.ppm"
acc_keep_shot page1

differs_from_page1() {
  page_with_text || return 1
  acc_crop 0 0 1280 688 "$ACC_DIR/page-now.ppm"
  [ "$(acc_differing "$ACC_DIR/page1.ppm" "$ACC_DIR/page-now.ppm")" -gt 2000 ]
}
acc_key Right
acc_wait 10 "another page after Right" differs_from_page1
acc_keep_shot page2

equals_page1() {
  page_with_text || return 1
  acc_crop 0 0 1280 688 "$ACC_DIR/page-now.ppm"
  [ "$(acc_differing "$ACC_DIR/page1.ppm" "$ACC_DIR/page-now.ppm")" -eq 0 ]
}
acc_key Left
acc_wait 10 "page 1 again after Left" equals_page1

# Esc leaves the help and the game goes on: the board is drawn over the backdrop,
# and the panel between the player boxes and the buttons shows the backdrop, not the page.
panel_gap_is_backdrop() {
  acc_crop 1100 203 180 167 "$ACC_DIR/gap-now.ppm"
  [ "$(acc_differing "$ACC_DIR/gap-backdrop.ppm" "$ACC_DIR/gap-now.ppm" 2)" -le 16 ]
}
/usr/bin/convert "$ACC_SOURCE_DIR/assets/backdrop.jpg" -crop 180x167+1100+203 +repage -depth 8 \
  "ppm:$ACC_DIR/gap-backdrop.ppm"
acc_key Escape
acc_wait_message "Jetzt geht's los <Taste druecken>" 30
acc_is 1 1 "$ACC_BLACK" 0 || acc_fail "no board frame after the help: $(acc_rgb 1 1)"
panel_gap_is_backdrop || acc_fail "the side panel still shows the help page"
acc_keep_shot after-help
acc_pass
