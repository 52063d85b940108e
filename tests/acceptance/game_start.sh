#!/usr/bin/env bash
# A new game: the board is built, the start prompt waits, and a key starts the play.
source "$(dirname "$0")/lib.sh" "$@"

acc_start_session
acc_start_game
acc_pass_information_prompt
acc_keep_shot start-prompt

for point in "1 1" "1098 340" "550 1" "1 686"; do
  acc_is $point "$ACC_BLACK" 0 || acc_fail "board frame at $point is $(acc_rgb $point)"
done
for point in "3 3" "1096 687" "3 687"; do
  acc_is $point "$(acc_sea_rgb $point)" 4 ||
    acc_fail "sea at $point is $(acc_rgb $point), the picture has $(acc_sea_rgb $point)"
done

# The four boxes hold the four players in some order.
seen=""
for k in 1 2 3 4; do
  acc_get 1105 $((50 * k - 40))
  found=""
  for p in 1 2 3 4; do
    acc_near "$ACC_RGB" "${ACC_PLAYER_COLOURS[p]}" 3 && found=$p
  done
  [ -n "$found" ] || acc_fail "player box $k has no player colour: $ACC_RGB"
  case " $seen " in *" $found "*) acc_fail "player $found has two boxes" ;; esac
  seen="$seen $found"
done
acc_is 1105 600 "$ACC_TURN_BLUE" || acc_fail "turn-number box is $(acc_rgb 1105 600)"

# The board as drawn: 22 to 48 land cells, every player on exactly one home cell
# with both marks, and free gold mines only on land that nobody holds.
land=0
mines=0
homes=(0 0 0 0 0)
acc_prefetch_board
for i in $(seq 1 11); do
  for j in $(seq 1 7); do
    if ! acc_cell_is_land "$i" "$j"; then
      acc_left_box_unmarked "$i" "$j" || acc_fail "water cell ($i, $j) carries a mark"
      continue
    fi
    land=$((land + 1))
    acc_box_get "$i" "$j" 0
    left=$ACC_RGB
    acc_box_get "$i" "$j" 1
    right=$ACC_RGB
    for p in 1 2 3 4; do
      if acc_near "$left" "${ACC_PLAYER_COLOURS[p]}" 3; then
        acc_near "$right" "${ACC_PLAYER_COLOURS[p]}" 3 ||
          acc_fail "home cell ($i, $j) of player $p has its right box $right"
        homes[p]=$((homes[p] + 1))
      fi
    done
    acc_near "$left" "$ACC_LAVENDER" 3 && mines=$((mines + 1))
  done
done
acc_log "land cells $land, free gold mines $mines, homes ${homes[*]:1}"
[ "$land" -ge 22 ] && [ "$land" -le 48 ] || acc_fail "$land land cells"
[ "$mines" -le 5 ] || acc_fail "$mines free gold mines"
for p in 1 2 3 4; do
  [ "${homes[p]}" -eq 1 ] || acc_fail "player $p has ${homes[p]} home cells"
done

# The key starts the first turn: the turn number changes from 0 to 1.
acc_crop 1100 583 177 44 "$ACC_DIR/turn-0.ppm"
turn_number_changed() {
  acc_crop 1100 583 177 44 "$ACC_DIR/turn-now.ppm"
  [ "$(acc_differing "$ACC_DIR/turn-0.ppm" "$ACC_DIR/turn-now.ppm")" -gt 20 ]
}
acc_key space
acc_wait 10 "the turn number of the first turn" turn_number_changed
acc_message_is "Jetzt geht's los <Taste druecken>" && acc_fail "the start prompt stays after the key"
acc_is 1105 600 "$ACC_TURN_BLUE" || acc_fail "turn-number box is $(acc_rgb 1105 600)"
acc_keep_shot playing
acc_pass
