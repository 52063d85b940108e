#!/usr/bin/env bash
# Runs every benchmark and writes one table, with the machine and the date, to docs/performance.md.
#
# usage: run_bench.sh BUILD_DIR OUTPUT_FILE
# BUILD_DIR holds a Release build with the targets terranox and bench_programs.
set -euo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 BUILD_DIR OUTPUT_FILE" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
output=$2
game="$build/terranox"
bench="$build/bench"
for program in "$game" "$bench/drawing_bench" "$bench/window_bench" "$bench/x_timing"; do
  [ -x "$program" ] || { echo "missing $program: build the bench_programs target first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
openbox_pid=""
game_pid=""
stop() {
  if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}
cleanup() {
  stop "$game_pid"
  stop "$openbox_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- An X server of our own: the first free display from :141 on, and openbox on it.
display=""
for number in $(seq 141 240); do
  if [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; then continue; fi
  Xvfb ":${number}" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 300); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    if DISPLAY=":${number}" xdpyinfo >/dev/null 2>&1; then display=":${number}"; break; fi
    sleep 0.1
  done
  # Another run may have taken the same number at the same moment: the lock names the winner.
  if [ -n "$display" ] && [ "$(tr -d ' \n' <"/tmp/.X${number}-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
    break
  fi
  stop "$xvfb_pid"
  xvfb_pid=""
  display=""
done
[ -n "$display" ] || { echo "no free X display from :141 to :240" >&2; exit 1; }
export DISPLAY=$display
mkdir -p "$work/home"
HOME="$work/home" openbox >/dev/null 2>&1 &
openbox_pid=$!
for _ in $(seq 300); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

results="$work/results"
: >"$results"
note() { echo "$1 $2" >>"$results"; }
value() { awk -v k="$1" '$1 == k { print $2; exit }' "$results"; }

ticks_per_second=$(getconf CLK_TCK)
# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Percent of one core that a process used over the given seconds.
idle_cpu() {
  local pid=$1 seconds=$2 before after
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  awk -v d=$((after - before)) -v t="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "%.2f", 100 * d / t / s }'
}
focus_game() {
  local window
  window=$(xdotool search --sync --name '^TERRANOX$' | head -1)
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"
  echo "$window"
}

echo "start-up, 11 runs" >&2
"$bench/x_timing" startup 11 "$game" >>"$results"

echo "idle CPU at the information prompt and in the human turn, peak memory" >&2
"$game" &
game_pid=$!
"$bench/x_timing" wait-pixel 300 700 b90f00 20000
sleep 1
note idle_prompt_pct "$(idle_cpu "$game_pid" 10)"
note idle_prompt_xserver_pct "$(idle_cpu "$xvfb_pid" 10)"
window=$(focus_game)
xdotool key n
# The board builds up; the start prompt turns the message line red again.
"$bench/x_timing" wait-pixel 300 700 5a640a 20000
"$bench/x_timing" wait-pixel 300 700 b90f00 30000
xdotool key space
"$bench/x_timing" wait-turn 180000
sleep 1
note idle_turn_pct "$(idle_cpu "$game_pid" 10)"
note idle_turn_xserver_pct "$(idle_cpu "$xvfb_pid" 10)"
# Another round of play, with the computers' moves and an accounting, before the peak is read;
# the human may lose his land meanwhile, so the wait may end without his turn coming back.
xdotool mousemove --window "$window" 1150 660 click 1
sleep 2
"$bench/x_timing" wait-turn 90000 || true
note peak_rss_kb "$(awk '/^VmHWM:/ { print $2 }' "/proc/$game_pid/status")"
stop "$game_pid"
game_pid=""

echo "pacing and present cost in the window" >&2
"$bench/window_bench" >>"$results"

echo "drawing and rules on the headless back end" >&2
"$bench/drawing_bench" --benchmark_format=json --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true >"$work/drawing.json"
# Median CPU time in microseconds, and a counter of the same benchmark.
cpu_us() {
  jq -r --arg n "$1" '.benchmarks[] | select(.run_name == $n and .aggregate_name == "median") |
    .cpu_time * (if .time_unit == "ms" then 1000 elif .time_unit == "ns" then 0.001 else 1 end)' \
    "$work/drawing.json"
}
counter() {
  jq -r --arg n "$1" --arg c "$2" \
    '.benchmarks[] | select(.run_name == $n and .aggregate_name == "median") | .[$c]' \
    "$work/drawing.json"
}

# --- The table.
fmt() { awk -v v="$1" -v d="$2" 'BEGIN { printf "%." d "f", v }'; }
verdict() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { print (v >= lo && v <= hi) ? "yes" : "**no**" }'; }

cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cores=$(grep -c '^processor' /proc/cpuinfo)
memory_mb=$(awk '/^MemTotal:/ { printf "%d", $2 / 1024 }' /proc/meminfo)
load=$(cut -d' ' -f1-3 /proc/loadavg)

newgame_rate=$(value newgame_paced_rate)
blink_rate=$(value blink_paced_rate)
accounting_ms=$(value accounting_wall_ms)
accounting_ratio=$(awk -v a="$accounting_ms" -v n="$(value accounting_nominal_ms)" 'BEGIN { print a / n }')
accounting_hold=$(value accounting_sleep_ms)
accounting_present=$(value accounting_present_ms)
# The hold plus one frame (1/51 s) for every present that had to wait for the one before it.
accounting_paced_nominal=$(awk -v h="$(value accounting_nominal_ms)" -v g="$(value accounting_paced_gaps)" \
  -v r="$(value accounting_runs)" 'BEGIN { print h + g / r * 1000 / 51 }')
accounting_rest=$(awk -v a="$accounting_ms" -v h="$accounting_hold" -v p="$accounting_present" \
  'BEGIN { print a - h - p }')
move_us=$(cpu_us BM_computerMoveChoice)
peak_mb=$(awk -v k="$(value peak_rss_kb)" 'BEGIN { print k / 1024 }')
first_picture=$(value startup_picture_ms)

{
  echo "# Performance"
  echo
  echo "Measured by \`make bench\` (bench/run_bench.sh) on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo "Machine: $cpu_model, $cores cores, $memory_mb MB memory; load average at the end: $load."
  echo "Window figures under Xvfb ($display) with openbox; SDL video driver $(value video_driver),"
  echo "renderer $(awk '$1 == "renderer" { print $2; exit }' "$results")."
  echo
  echo "| What | Measured | Target | Met |"
  echo "|---|---|---|---|"
  echo "| Start-up: process start to window mapped (median of $(value startup_runs)) | $(fmt "$(value startup_mapped_ms)" 1) ms | - | - |"
  echo "| Start-up: process start to first picture (median of $(value startup_runs)) | $(fmt "$first_picture" 1) ms | below 150 ms | $(verdict "$first_picture" 0 150) |"
  echo "| Start-up: process start to information prompt (median; slowest) | $(fmt "$(value startup_prompt_ms)" 1) ms; $(fmt "$(value startup_prompt_max_ms)" 1) ms | - | - |"
  steps=""
  for step in fonts display input window screen images backdrop; do
    steps="$steps${steps:+, }$step $(fmt "$(value "startup_${step}_ms")" 1) ($(fmt "$(value "startup_${step}_cpu_ms")" 1); $(value "startup_${step}_faults"))"
  done
  echo "| Start-up steps inside the program, real ms (CPU ms; page faults): $steps | - | - | - |"
  echo "| Decoding the built-in pictures, headless, CPU: backdrop JPEG; tile sheet PNG; sea JPEG; whole prepareImages | $(fmt "$(cpu_us BM_decodePicture/0)" 0) µs; $(fmt "$(cpu_us BM_decodePicture/1)" 0) µs; $(fmt "$(cpu_us BM_decodePicture/2)" 0) µs; $(fmt "$(cpu_us BM_prepareImages)" 0) µs | - | - |"
  echo "| Idle CPU, information prompt, 10 s (game; X server) | $(value idle_prompt_pct) %; $(value idle_prompt_xserver_pct) % | game below 1 % | $(verdict "$(value idle_prompt_pct)" 0 0.999) |"
  echo "| Idle CPU, human turn, 10 s (game; X server) | $(value idle_turn_pct) %; $(value idle_turn_xserver_pct) % | game below 1 % | $(verdict "$(value idle_turn_pct)" 0 0.999) |"
  echo "| One idle pass in the window: pollEvent finding nothing; sleepMs(5) (its real length) | $(value idle_poll_cpu_us) µs; $(value idle_sleep_cpu_us) µs CPU ($(value idle_sleep_wall_ms) ms) | - | - |"
  echo "| Presents per second, board build-up ($(value newgame_runs) boards, $(value newgame_presents) presents; $(value newgame_presents_from_tables) by the tables) | $(fmt "$newgame_rate" 2) /s (gaps $(fmt "$(value newgame_gap_min_ms)" 2)..$(fmt "$(value newgame_gap_max_ms)" 2) ms) | 49..51 /s | $(verdict "$newgame_rate" 49 51) |"
  echo "| Presents per second within blinkCell (paced pairs; whole flash $(fmt "$(value blink_wall_ms)" 1) ms, of it $(fmt "$(value blink_sleep_ms)" 1) ms pauses) | $(fmt "$blink_rate" 2) /s (gaps $(fmt "$(value blink_gap_min_ms)" 2)..$(fmt "$(value blink_gap_max_ms)" 2) ms) | 49..51 /s | $(verdict "$blink_rate" 49 51) |"
  echo "| Accounting without events: real time / nominal 1250 ms | $(fmt "$accounting_ms" 1) ms = $(fmt "$accounting_ratio" 3) | 0.95..1.05 | $(verdict "$accounting_ratio" 0.95 1.05) |"
  echo "| Accounting without events against hold + its paced frames ($(fmt "$accounting_paced_nominal" 1) ms) | $(fmt "$(awk -v a="$accounting_ms" -v n="$accounting_paced_nominal" 'BEGIN { print a / n }')" 3) | - | - |"
  echo "| ... of it: the hold; paced presents ($(( $(value accounting_presents) / $(value accounting_runs) )) each); the rest | $(fmt "$accounting_hold" 1) ms; $(fmt "$accounting_present" 1) ms; $(fmt "$accounting_rest" 1) ms | - | - |"
  echo "| view::drawCell (city and fort), headless, CPU | $(fmt "$(cpu_us BM_drawCell)" 2) µs | - | - |"
  echo "| view::showMessage (long message), headless, CPU | $(fmt "$(cpu_us BM_showMessage)" 2) µs | - | - |"
  echo "| view::drawPlayerBox, headless, CPU | $(fmt "$(cpu_us BM_drawPlayerBox)" 2) µs | - | - |"
  for change in none cell whole; do
    case $change in
      none) label="nothing changed" ;;
      cell) label="one cell changed" ;;
      whole) label="whole Screen changed" ;;
    esac
    cpu=$(value "present_${change}_cpu_ms")
    echo "| SDL present, $label: CPU per present (wall) | $(fmt "$cpu" 3) ms ($(fmt "$(value "present_${change}_wall_ms")" 3) ms) | below 2 ms | $(verdict "$cpu" 0 1.999) |"
  done
  echo "| Computer move: scoreMoves + chooseMove, mid-game board ($(fmt "$(counter BM_computerMoveChoice land)" 0) land cells, $(fmt "$(counter BM_computerMoveChoice candidates)" 0) candidates), CPU | $(fmt "$move_us" 2) µs | below 50 µs | $(verdict "$move_us" 0 49.999) |"
  echo "| runAccounting, mid-game board, headless (holds virtual, on average $(fmt "$(counter BM_runAccounting virtual_ms)" 0) ms), CPU | $(fmt "$(cpu_us BM_runAccounting)" 1) µs | - | - |"
  echo "| Whole headless game, Done in every human turn (20 seeds: $(fmt "$(counter BM_wholeGame/iterations:20 rounds)" 1) rounds, $(fmt "$(counter BM_wholeGame/iterations:20 virtual_min)" 1) virtual minutes on average), CPU | $(fmt "$(awk -v u="$(cpu_us BM_wholeGame/iterations:20)" 'BEGIN { print u / 1000 }')" 1) ms | - | - |"
  echo "| Peak resident memory (VmHWM) of terranox: start-up, board, a round and more of play | $(fmt "$peak_mb" 1) MB | below 64 MB | $(verdict "$peak_mb" 0 63.999) |"
  echo
  echo "Headless figures are the median of three repetitions of Google Benchmark; the headless present"
  echo "and sleeps cost nothing, so they time the drawing and the rules alone. Present costs are taken"
  echo "with the frame pacing off, as process CPU time (all threads) of drawing and presenting less that"
  echo "of the same drawing alone. The first picture is the first non-black pixel at the Screen's"
  echo "centre (the backdrop); the prompt is the message line's pixel (300, 700) turning (185, 15, 0)."
} >"$output"
cat "$output"
