# Shared library of the acceptance tests: a private X session, the game, real input, screenshot probes.
#
# A test sources this file with its own arguments: the game executable, then the
# message renderer. Coordinates given to the probes are client pixels of the game
# window; the screenshots are taken of the whole root window as 8-bit PPM files,
# which are cheap to write and to read a pixel from.

set -u

if [ "$#" -lt 2 ]; then
  echo "usage: $0 <terranox> <render_message> [arguments...]" >&2
  exit 2
fi
ACC_GAME=$1
ACC_RENDER=$2
shift 2
ACC_ARGS=("$@")
ACC_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

ACC_DIR=$(mktemp -d "/tmp/terranox-acceptance.XXXXXX")
ACC_PASSED=""
ACC_XVFB_PID=""
ACC_OPENBOX_PID=""
ACC_GAME_PID=""
ACC_HELPER_PIDS=()
ACC_DISPLAY_NUMBER=""
ACC_WID=""
ACC_EXIT=""

# Screen width of the X server; every shot is a root window of this width.
ACC_ROOT_W=1920
ACC_ROOT_H=1080

# The picture the game shows is exact at the normal size, so a message line
# compared with its reference may differ in only a few pixels.
ACC_MESSAGE_SLACK=16

# Player colours, by PlayerId 1..4, and the other Palette colours the tests probe.
ACC_PLAYER_COLOURS=("" "200 130 130" "30 150 190" "180 60 180" "160 160 60")
ACC_YOU="160 160 60"
ACC_MESSAGE_RED="185 15 0"
ACC_OLIVE="90 100 10"
ACC_TURN_BLUE="30 30 180"
ACC_BLACK="0 0 0"
ACC_YELLOW="255 255 0"
ACC_GREY="80 80 80"
ACC_LAVENDER="200 175 250"
ACC_SELECTED_BUTTON="140 110 20"
ACC_HELP_TEXT="180 180 200"

# The panel positions the tests click, in Screen pixels.
ACC_ARMY_BUTTON="1150 547"
ACC_DONE_BUTTON="1150 660"

acc_log() { printf '[%s] %s\n' "$(date +%T.%N | cut -c1-12)" "$*"; }

acc_now_us() { echo "${EPOCHREALTIME/./}"; }

# Keeps what the failure can be studied with: the log, the game's output and the last shot.
acc_fail() {
  echo "FAIL: $*" >&2
  if [ -s "$ACC_DIR/shot.ppm" ]; then
    /usr/bin/convert "$ACC_DIR/shot.ppm" "$ACC_DIR/last-shot.png" 2>/dev/null
  fi
  exit 1
}

acc_pass() {
  ACC_PASSED=yes
  echo "PASS: $(basename "$0" .sh)"
  exit 0
}

acc_stop_process() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null
  for _ in $(seq 50); do
    acc_running "$pid" || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

acc_cleanup() {
  local pid
  for pid in "${ACC_HELPER_PIDS[@]}"; do acc_stop_process "$pid"; done
  acc_stop_process "$ACC_GAME_PID"
  acc_stop_process "$ACC_OPENBOX_PID"
  acc_stop_process "$ACC_XVFB_PID"
  # TERRANOX_KEEP_SHOTS=1 keeps the pictures of a passing run too.
  if [ -n "$ACC_PASSED" ] && [ -z "${TERRANOX_KEEP_SHOTS:-}" ]; then
    rm -rf "$ACC_DIR"
  else
    echo "pictures and logs: $ACC_DIR" >&2
  fi
}
trap acc_cleanup EXIT
trap 'exit 130' INT TERM

# True while the process exists and is no zombie: a finished child stays a
# zombie until it is waited for, and kill -0 would still find it.
acc_running() {
  local pid=$1 state
  [ -r "/proc/$pid/stat" ] || return 1
  read -r _ _ state _ <"/proc/$pid/stat" 2>/dev/null || return 1
  [ "$state" != Z ]
}

acc_game_alive() { [ -n "$ACC_GAME_PID" ] && acc_running "$ACC_GAME_PID"; }

# --- The X session.

# The first display number that no X server has locked. Two tests may pick the
# same number at once; the X server's own lock file then tells who won, and the
# loser tries the next number.
acc_start_session() {
  local number lock owner
  for number in $(seq 200 299); do
    lock="/tmp/.X${number}-lock"
    [ -e "$lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    # -bs: no backing store, so an uncovered window shows only what the game repaints.
    # -noreset: the server would otherwise reset when the probe below disconnects,
    # and refuse the window manager's connection meanwhile.
    Xvfb ":${number}" -screen 0 "${ACC_ROOT_W}x${ACC_ROOT_H}x24" -nolisten tcp -bs -noreset \
      >"$ACC_DIR/xvfb.log" 2>&1 &
    ACC_XVFB_PID=$!
    for _ in $(seq 100); do
      acc_running "$ACC_XVFB_PID" || break
      owner=$(tr -d ' ' 2>/dev/null <"$lock")
      if [ "$owner" = "$ACC_XVFB_PID" ] && DISPLAY=":${number}" xdpyinfo >/dev/null 2>&1; then
        ACC_DISPLAY_NUMBER=$number
        break
      fi
      sleep 0.1
    done
    [ -n "$ACC_DISPLAY_NUMBER" ] && break
    acc_stop_process "$ACC_XVFB_PID"
    ACC_XVFB_PID=""
  done
  [ -n "$ACC_DISPLAY_NUMBER" ] || acc_fail "no free display for Xvfb from :200 to :299"
  export DISPLAY=":${ACC_DISPLAY_NUMBER}"

  # openbox's home holds no settings of a user and is not shared between tests.
  mkdir -p "$ACC_DIR/home"
  HOME="$ACC_DIR/home" openbox >"$ACC_DIR/openbox.log" 2>&1 &
  ACC_OPENBOX_PID=$!
  for _ in $(seq 100); do
    # A window manager that has taken over announces itself on the root window.
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    acc_running "$ACC_OPENBOX_PID" || break
    sleep 0.1
  done
  acc_fail "openbox did not start on $DISPLAY"
}

# Starts the game and waits until its window is mapped and shows the first prompt.
acc_start_game() {
  "$ACC_GAME" >"$ACC_DIR/game.log" 2>&1 &
  ACC_GAME_PID=$!
  local deadline=$(($(acc_now_us) + 20000000))
  while [ -z "$ACC_WID" ]; do
    acc_game_alive || acc_fail "the game ended before its window appeared"
    [ "$(acc_now_us)" -lt "$deadline" ] || acc_fail "no window named TERRANOX within 20 s"
    ACC_WID=$(xdotool search --onlyvisible --name '^TERRANOX$' 2>/dev/null | head -n 1)
    [ -n "$ACC_WID" ] || sleep 0.1
  done
  acc_focus
}

# Keys go to the window that has the focus; another window may have taken it.
acc_focus() {
  timeout 5 xdotool windowactivate --sync "$ACC_WID" >/dev/null 2>&1 ||
    acc_fail "could not give the game window the focus"
}

# Sets ACC_X, ACC_Y (client origin on the root window) and ACC_W, ACC_H (client size).
acc_geometry() {
  local info
  info=$(xwininfo -id "$ACC_WID" 2>/dev/null) || return 1
  ACC_X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  ACC_Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  ACC_W=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
  ACC_H=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
}

# Starts a helper X client (a covering window, say) that cleanup ends.
acc_spawn() {
  "$@" >>"$ACC_DIR/helpers.log" 2>&1 &
  ACC_HELPER_PIDS+=("$!")
  ACC_LAST_HELPER=$!
}

# --- Input through XTEST.

acc_key() {
  xdotool key "$1" || acc_fail "xdotool could not send key $1"
}

# A click at client pixel (x, y); button 1 left, 3 right. The pause lets the game
# see the cursor at its new place before the press arrives.
acc_click() {
  local x=$1 y=$2 button=${3:-1}
  acc_geometry || acc_fail "the game window is gone"
  xdotool mousemove --sync $((ACC_X + x)) $((ACC_Y + y)) || acc_fail "xdotool mousemove failed"
  sleep 0.15
  xdotool click "$button" || acc_fail "xdotool click failed"
}

# A click at a Screen position, scaled to the client size as the window shows it.
acc_click_screen() {
  acc_geometry || acc_fail "the game window is gone"
  acc_to_client "$1" "$2"
  acc_click "$ACC_CX" "$ACC_CY" "${3:-1}"
}

# Sets ACC_CX, ACC_CY to the client pixel at the centre of Screen pixel (x, y)
# as the window stretches the Screen over its client area.
acc_to_client() {
  ACC_CX=$(((2 * $1 + 1) * ACC_W / 2560))
  ACC_CY=$(((2 * $2 + 1) * ACC_H / 1440))
}

# --- Screenshots and probes.

# Pixels read from the current shot, by client "x,y", as "r g b"; and pixels of
# the sea picture, by Screen "x,y". Reading many pixels one process at a time is
# slow, so the probes that scan the board fetch theirs in one go.
declare -A ACC_PIX=()
declare -A ACC_SEA=()

# Takes a shot of the root window into $ACC_DIR/shot.ppm and records the client
# geometry that goes with it.
acc_shot() { acc_try_shot || acc_fail "no screenshot of the game window"; }

# The same, false when the window has gone away in the meantime.
acc_try_shot() {
  acc_geometry || return 1
  /usr/bin/import -silent -window root -depth 8 "ppm:$ACC_DIR/shot.tmp.ppm" \
    2>>"$ACC_DIR/import.log" || return 1
  mv "$ACC_DIR/shot.tmp.ppm" "$ACC_DIR/shot.ppm"
  ACC_PIX=()
}

# Keeps the client area of the current shot as a PNG to look at.
acc_keep_shot() {
  /usr/bin/convert "$ACC_DIR/shot.ppm" -crop "${ACC_W}x${ACC_H}+${ACC_X}+${ACC_Y}" +repage \
    "$ACC_DIR/shot-$1.png"
}

# Reads the points "x,y" (offset by dx, dy in the picture) of a picture into the
# associative array named by store, with one run of convert.
acc_fetch() {
  local picture=$1 dx=$2 dy=$3
  local -n store=$4
  shift 4
  [ "$#" -gt 0 ] || return 0
  local format="" point
  for point in "$@"; do format+="%[hex:u.p{$((dx + ${point%,*})),$((dy + ${point#*,}))}]\n"; done
  local -a hexes
  mapfile -t hexes < <(/usr/bin/convert "$picture" -depth 8 -format "$format" info:)
  [ "${#hexes[@]}" -eq "$#" ] || acc_fail "could not read pixels of $picture"
  local i=0 h
  for point in "$@"; do
    h=${hexes[i]}
    store[$point]="$((16#${h:0:2})) $((16#${h:2:2})) $((16#${h:4:2}))"
    i=$((i + 1))
  done
}

# Sets ACC_RGB to "r g b" of client pixel (x, y) of the current shot.
acc_get() {
  local key="$1,$2"
  [ -n "${ACC_PIX[$key]:-}" ] || acc_fetch "$ACC_DIR/shot.ppm" "$ACC_X" "$ACC_Y" ACC_PIX "$key"
  ACC_RGB=${ACC_PIX[$key]}
}

acc_rgb() {
  acc_get "$1" "$2"
  echo "$ACC_RGB"
}

# Sets ACC_RGB to the sea picture's pixel under Screen pixel (x, y); the picture lies at (3, 3).
acc_sea_get() {
  local key="$1,$2"
  [ -n "${ACC_SEA[$key]:-}" ] ||
    acc_fetch "$ACC_SOURCE_DIR/assets/sea.jpg" -3 -3 ACC_SEA "$key"
  ACC_RGB=${ACC_SEA[$key]}
}

acc_sea_rgb() {
  acc_sea_get "$1" "$2"
  echo "$ACC_RGB"
}

# True when two "r g b" triples differ by at most tol in every channel.
acc_near() {
  local -a a=($1) b=($2)
  local tol=$3 i d
  for i in 0 1 2; do
    d=$((a[i] - b[i]))
    [ "${d#-}" -le "$tol" ] || return 1
  done
}

# Sets ACC_DISTANCE to the sum of the channel differences of two "r g b" triples.
acc_distance() {
  local -a a=($1) b=($2)
  local d0=$((a[0] - b[0])) d1=$((a[1] - b[1])) d2=$((a[2] - b[2]))
  ACC_DISTANCE=$((${d0#-} + ${d1#-} + ${d2#-}))
}

# True when client pixel (x, y) has the colour, within tol (default 3) per channel.
acc_is() {
  acc_get "$1" "$2"
  acc_near "$ACC_RGB" "$3" "${4:-3}"
}

# The same at a Screen position scaled to the client size.
acc_is_screen() {
  acc_to_client "$1" "$2"
  acc_is "$ACC_CX" "$ACC_CY" "$3" "${4:-3}"
}

# How many client pixels of the rectangle x, y, w, h have the colour within tol.
acc_count() {
  local x=$1 y=$2 w=$3 h=$4 colour=$5 tol=$6
  /usr/bin/convert "$ACC_DIR/shot.ppm" -crop "${w}x${h}+$((ACC_X + x))+$((ACC_Y + y))" +repage \
    -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk -v c="$colour" -v tol="$tol" '
      BEGIN { split(c, want, " ") }
      function off(a, b) { return a > b ? a - b : b - a }
      off($1, want[1]) <= tol && off($2, want[2]) <= tol && off($3, want[3]) <= tol { n++ }
      END { print n + 0 }'
}

# Writes the client rectangle x, y, w, h of the current shot to a PPM file.
acc_crop() {
  /usr/bin/convert "$ACC_DIR/shot.ppm" -crop "${3}x${4}+$((ACC_X + $1))+$((ACC_Y + $2))" +repage \
    -depth 8 "ppm:$5"
}

# How many pixels of two pictures of one size differ by more than the fuzz (percent).
acc_differing() {
  /usr/bin/compare -metric AE -fuzz "${3:-0}%" "$1" "$2" null: 2>&1 | awk '{printf "%d\n", $1}'
}

# --- The message line.

# Sets ACC_REFERENCE to the message line of the picture that render_message draws for the text.
acc_message_reference() {
  local name
  name=$(printf '%s' "$1" | md5sum | cut -c1-12)
  ACC_REFERENCE="$ACC_DIR/message-$name.ppm"
  [ -s "$ACC_REFERENCE" ] && return 0
  "$ACC_RENDER" "$1" "$ACC_DIR/message-$name.png" || acc_fail "render_message failed for '$1'"
  /usr/bin/convert "$ACC_DIR/message-$name.png" -crop 800x32+240+688 +repage -depth 8 \
    "ppm:$ACC_REFERENCE"
}

# True when the current shot's message line shows the text as the game draws it.
acc_message_is() {
  acc_message_reference "$1"
  acc_crop 240 688 800 32 "$ACC_DIR/message-now.ppm"
  [ "$(acc_differing "$ACC_REFERENCE" "$ACC_DIR/message-now.ppm")" -le "$ACC_MESSAGE_SLACK" ]
}

# --- Waiting.

# Polls: takes a shot and runs the check until it holds; false after the timeout
# (seconds). Fails at once when the game has ended.
acc_poll() {
  local timeout=$1
  shift
  local deadline=$(($(acc_now_us) + timeout * 1000000))
  while :; do
    acc_game_alive || acc_fail "the game ended unexpectedly while waiting for: $*"
    acc_shot
    "$@" && return 0
    [ "$(acc_now_us)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

acc_wait() {
  local timeout=$1 what=$2
  shift 2
  acc_poll "$timeout" "$@" || acc_fail "not within ${timeout} s: $what"
}

# Sets ACC_MESSAGE to the first of the texts that the message line shows; false when none.
acc_message_among() {
  acc_crop 240 688 800 32 "$ACC_DIR/message-now.ppm"
  for ACC_MESSAGE in "$@"; do
    acc_message_reference "$ACC_MESSAGE"
    [ "$(acc_differing "$ACC_REFERENCE" "$ACC_DIR/message-now.ppm")" -le "$ACC_MESSAGE_SLACK" ] &&
      return 0
  done
  ACC_MESSAGE=""
  return 1
}

acc_wait_message() {
  acc_wait "$2" "message '$1'" acc_message_is "$1"
}

# Waits for the end of the game process and sets ACC_EXIT to its exit code.
acc_wait_exit() {
  local deadline=$(($(acc_now_us) + $1 * 1000000))
  while acc_game_alive; do
    [ "$(acc_now_us)" -lt "$deadline" ] || acc_fail "the game did not end within $1 s"
    sleep 0.02
  done
  wait "$ACC_GAME_PID"
  ACC_EXIT=$?
  ACC_GAME_PID=""
}

# --- The board and the side panel, in Screen pixels.

# Points inside the opaque middle of a cell's tile that no mark covers, from its corner.
ACC_LAND_PROBES=("47 20" "47 47" "47 75" "20 20" "75 75" "20 75")
# Points of a mark box away from its letter, from the box's corner.
ACC_BOX_PROBES=("1 1" "23 1" "1 33" "23 33" "12 33")

# Fetches every pixel that the cell probes below read, for the whole board, in one go.
acc_prefetch_board() {
  local -a shot_points=() sea_points=()
  local i j p x y
  for i in $(seq 1 11); do
    for j in $(seq 1 7); do
      for p in "${ACC_LAND_PROBES[@]}"; do
        read -r x y <<<"$p"
        x=$((95 * i - 68 + x))
        y=$((95 * j - 83 + y))
        [ -n "${ACC_SEA[$x,$y]:-}" ] || sea_points+=("$x,$y")
        acc_to_client "$x" "$y"
        shot_points+=("$ACC_CX,$ACC_CY")
      done
      for p in "${ACC_BOX_PROBES[@]}"; do
        read -r x y <<<"$p"
        acc_to_client $((95 * i - 48 + x)) $((95 * j - 53 + y))
        shot_points+=("$ACC_CX,$ACC_CY")
        acc_to_client $((95 * i - 18 + x)) $((95 * j - 53 + y))
        shot_points+=("$ACC_CX,$ACC_CY")
      done
    done
  done
  acc_fetch "$ACC_SOURCE_DIR/assets/sea.jpg" -3 -3 ACC_SEA "${sea_points[@]}"
  acc_fetch "$ACC_DIR/shot.ppm" "$ACC_X" "$ACC_Y" ACC_PIX "${shot_points[@]}"
}

# True when cell (i, j) shows land: some probe differs clearly from the sea there.
acc_cell_is_land() {
  local x0=$((95 * $1 - 68)) y0=$((95 * $2 - 83)) p dx dy shown
  for p in "${ACC_LAND_PROBES[@]}"; do
    read -r dx dy <<<"$p"
    acc_to_client $((x0 + dx)) $((y0 + dy))
    acc_get "$ACC_CX" "$ACC_CY"
    shown=$ACC_RGB
    acc_sea_get $((x0 + dx)) $((y0 + dy))
    acc_distance "$shown" "$ACC_RGB"
    [ "$ACC_DISTANCE" -gt 40 ] && return 0
  done
  return 1
}

# Sets ACC_RGB to the colour of the left (side 0) or right (side 1) mark box of
# cell (i, j), read at the bottom corner of the box, away from its letter.
acc_box_get() {
  acc_to_client $((95 * $1 - 48 + 30 * $3 + 1)) $((95 * $2 - 53 + 33))
  acc_get "$ACC_CX" "$ACC_CY"
}

# True when the left box area of cell (i, j) shows neither a player colour nor
# the mark of a free gold mine at any of its probes.
acc_left_box_unmarked() {
  local bx=$((95 * $1 - 48)) by=$((95 * $2 - 53)) p dx dy colour
  for p in "${ACC_BOX_PROBES[@]}"; do
    read -r dx dy <<<"$p"
    acc_to_client $((bx + dx)) $((by + dy))
    acc_get "$ACC_CX" "$ACC_CY"
    for colour in "${ACC_PLAYER_COLOURS[@]:1}" "$ACC_LAVENDER"; do
      acc_near "$ACC_RGB" "$colour" 12 && return 1
    done
  done
  return 0
}

# Sets ACC_ROW to the side-panel row (1..4) whose box has the colour; false when none has.
acc_box_row() {
  for ACC_ROW in 1 2 3 4; do
    acc_is_screen 1105 $((50 * ACC_ROW - 40)) "$1" 6 && return 0
  done
  return 1
}

# How many pixels of a player box's text area have the colour (normal size only).
acc_box_text_count() {
  acc_count 1106 $((50 * $1 - 38)) 170 28 "$2" 40
}

# True while YOU's box shows its text in yellow, the look of the player whose turn it is.
acc_you_active() {
  acc_box_row "$ACC_YOU" || return 1
  [ "$(acc_box_text_count "$ACC_ROW" "$ACC_YELLOW")" -gt 20 ]
}

# The human turn has begun: YOU's box is active and the message line says so.
acc_human_turn_shown() { acc_you_active && acc_message_is "Du bist dran"; }

# --- Steps of a game.

acc_pass_information_prompt() {
  acc_wait_message "Information gewuenscht ? <j>/<n>" 20
  acc_key n
  acc_wait_message "Jetzt geht's los <Taste druecken>" 30
}

acc_begin_play() {
  acc_pass_information_prompt
  acc_key space
  acc_wait 10 "the start prompt answered by a key" acc_start_prompt_gone
}

acc_start_prompt_gone() { ! acc_message_is "Jetzt geht's los <Taste druecken>"; }

# Finds a cell of YOU and an unmarked land neighbour of it; sets ACC_TARGET to
# "i j" of the neighbour. False when YOU has no such neighbour.
acc_find_target() {
  local i j n ni nj
  acc_prefetch_board
  for i in $(seq 1 11); do
    for j in $(seq 1 7); do
      acc_box_get "$i" "$j" 0
      acc_near "$ACC_RGB" "$ACC_YOU" 6 || continue
      for n in "0 -1" "0 1" "-1 0" "1 0"; do
        read -r ni nj <<<"$n"
        ni=$((i + ni))
        nj=$((j + nj))
        [ "$ni" -ge 1 ] && [ "$ni" -le 11 ] && [ "$nj" -ge 1 ] && [ "$nj" -le 7 ] || continue
        acc_cell_is_land "$ni" "$nj" || continue
        acc_left_box_unmarked "$ni" "$nj" || continue
        ACC_TARGET="$ni $nj"
        return 0
      done
    done
  done
  return 1
}

# Ends the running game with Esc and starts the next one from the restart prompt.
acc_restart() {
  acc_focus
  acc_key Escape
  acc_wait_message "ABBRUCH - <Taste druecken>" 60
  acc_key space
  acc_wait_message "Neustart ? <J>/<N>" 10
  acc_key j
  acc_begin_play
}

# Plays games until the human turn comes with a target for an army attack; the
# human turn is then waiting, with ACC_TARGET set.
acc_reach_attack() {
  local game
  for game in 1 2 3 4 5; do
    if acc_poll 90 acc_human_turn_shown && acc_find_target; then return 0; fi
    acc_keep_shot "no-attack-$game"
    acc_log "game $game offers no attack for YOU; next game"
    acc_restart
  done
  acc_fail "five games without a cell that YOU could attack"
}
