#!/usr/bin/env bash
# Measures the program against a bare Qt Widgets window of the same size with a menu, side
# by side on this machine, under a private Xvfb: time to the first window on screen, peak
# memory, CPU while idle (before a game, paused, after a game), CPU during a game at level 1
# and at level 8, CPU during the game-over wait. Needs a build (./build.sh test or run),
# Xvfb and python3. With BASELINE set to an older build's program_probe, that one is measured
# alongside, in the same runs. SCALE runs every program at that desktop scale (Qt's
# QT_SCALE_FACTOR, 1.5 for 150 %).
#   [RUNS=5] [IDLE_SECONDS=10] [BASELINE=old/bench/program_probe] [SCALE=1.5] \
#     tools/perf/compare-with-bare-qt.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
PROBE=$BUILD/bench/program_probe
BARE=$BUILD/bench/bare_window
IDLE_SECONDS=${IDLE_SECONDS:-10}
HERE=$(dirname "$(realpath "$0")")
for tool in Xvfb python3; do
  command -v "$tool" >/dev/null || { echo "error: $tool is needed" >&2; exit 1; }
done
[ -x "$PROBE" ] && [ -x "$BARE" ] || { echo "error: build first ($PROBE, $BARE)" >&2; exit 1; }
PROBE=$(realpath "$PROBE")
BARE=$(realpath "$BARE")
if [ -n "${BASELINE:-}" ]; then
  [ -x "$BASELINE" ] || { echo "error: no program at BASELINE=$BASELINE" >&2; exit 1; }
  BASELINE=$(realpath "$BASELINE")
fi

WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null || true
  [ -f "$WORK/pids" ] && xargs -r kill <"$WORK/pids" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$WORK/display")"
export XDG_RUNTIME_DIR=$WORK SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
[ -n "${SCALE:-}" ] && export QT_SCALE_FACTOR=$SCALE
cd "$WORK"

now_ms() { date +%s%3N; }
# CPU time of every thread of a process so far, in nanoseconds (exact, unlike clock ticks).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%.0f", sum}'; }
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }
# CPU of a process over some seconds, in percent of one core; "ended" if it did not live
# through them.
cpu_percent() {
  local pid=$1 seconds=$2 before after
  before=$(cpu_ns "$pid")
  sleep "$seconds"
  after=$(cpu_ns "$pid")
  if ! kill -0 "$pid" 2>/dev/null || [ "$before" = 0 ]; then
    echo "ended"
    return
  fi
  awk -v d=$((after - before)) -v s="$seconds" 'BEGIN {printf "%.3f", 100 * d / 1e9 / s}'
}
# Starts a program; prints the milliseconds until its first window is mapped, and its pid.
# The program is not a child of this shell: stop it with stop.
start_program() {
  local line
  line=$(python3 "$HERE/first-window.py" "$@")
  echo "${line#* }" >>"$WORK/pids"
  echo "$line"
}
stop() {
  kill "$1" 2>/dev/null || true
  while kill -0 "$1" 2>/dev/null; do sleep 0.05; done
}

measure_start() {  # prints "ms peak_kb idle_cpu"
  local pid ms idle
  read -r ms pid < <(start_program "$@")
  sleep 1
  idle=$(cpu_percent "$pid" "$IDLE_SECONDS")
  echo "$ms $(peak_kb "$pid") $idle"
  stop "$pid"
}

# CPU of a program idle in some state: started with ARGS, left alone for SETTLE seconds
# (long enough for a sound device to be given back and its thread to end), then measured.
idle_cpu() {
  local settle=$1 pid cpu
  shift
  read -r _ pid < <(start_program "$@")
  sleep "$settle"
  cpu=$(cpu_percent "$pid" "$IDLE_SECONDS")
  stop "$pid"
  echo "$cpu"
}

runs=${RUNS:-5}
echo "measuring start-up, memory and idle CPU over ${IDLE_SECONDS} s ($runs runs each)..."
for i in $(seq $runs); do
  read -r b_ms b_kb b_idle < <(measure_start "$BARE")
  read -r p_ms p_kb p_idle < <(measure_start "$PROBE")
  line="  run $i: bare ${b_ms} ms ${b_kb} kB ${b_idle}%   program ${p_ms} ms ${p_kb} kB ${p_idle}%"
  if [ -n "${BASELINE:-}" ]; then
    read -r o_ms o_kb o_idle < <(measure_start "$BASELINE")
    line+="   baseline ${o_ms} ms ${o_kb} kB ${o_idle}%"
    echo "$o_ms $o_kb $o_idle" >>"$WORK/baseline-runs"
  fi
  echo "$line"
  echo "$b_ms $b_kb $b_idle $p_ms $p_kb $p_idle" >>"$WORK/runs"
done

echo "measuring idle CPU while paused and after a game (${IDLE_SECONDS} s each)..."
timer=$(idle_cpu 2 "$BARE" --timer 100)
paused=$(idle_cpu 10 "$PROBE" --paused)
after_game=$(idle_cpu 10 "$PROBE" --after-game)
if [ -n "${BASELINE:-}" ]; then
  o_paused=$(idle_cpu 10 "$BASELINE" --paused)
  o_after=$(idle_cpu 10 "$BASELINE" --after-game)
fi

play_cpu() {
  local level=$1 pid cpu
  read -r _ pid < <(start_program "$PROBE" --play "$level")
  sleep 2
  cpu=$(cpu_percent "$pid" 10)
  stop "$pid"
  echo "$cpu"
}
echo "measuring a game at level 1 and at level 8 (10 s each)..."
level1=$(play_cpu 1)
level8=$(play_cpu 8)

echo "measuring the game-over wait..."
mkfifo "$WORK/probe-out"
"$PROBE" --game-over >"$WORK/probe-out" 2>/dev/null &
probe=$!
exec 4<"$WORK/probe-out"
read -r line <&4  # "game-over": the wait begins
before=$(cpu_ns "$probe")
t0=$(now_ms)
read -r line <&4  # "done"
after=$(cpu_ns "$probe")
t1=$(now_ms)
wait_cpu=$(awk -v d=$((after - before)) -v ms=$((t1 - t0)) 'BEGIN {printf "%.3f", 100 * d / 1e9 / (ms / 1000)}')
kill "$probe" 2>/dev/null || true
wait "$probe" 2>/dev/null || true

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
col() { awk -v c="$1" '{print $c}' "$WORK/runs" | median; }
b_ms=$(col 1); b_kb=$(col 2); b_idle=$(col 3); p_ms=$(col 4); p_kb=$(col 5); p_idle=$(col 6)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo
echo "| measure (median of $runs, scale ${QT_SCALE_FACTOR:-1}) | bare Qt window | zonkymosaro | ratio |"
echo "|---|---|---|---|"
echo "| start to first window | ${b_ms} ms | ${p_ms} ms | $(ratio "$p_ms" "$b_ms") |"
echo "| peak memory (VmHWM) | ${b_kb} kB | ${p_kb} kB | $(ratio "$p_kb" "$b_kb") |"
echo "| CPU idle before a game | ${b_idle} % | ${p_idle} % | |"
echo "| CPU idle, bare window with an empty 100 ms timer (one run) | ${timer} % | | |"
echo "| CPU idle, game paused (one run) | | ${paused} % | |"
echo "| CPU idle after a game (one run) | | ${after_game} % | |"
echo "| CPU during a game, level 1 | | ${level1} % | |"
echo "| CPU during a game, level 8 | | ${level8} % | |"
echo "| CPU during the game-over wait ($((t1 - t0)) ms) | | ${wait_cpu} % | |"
if [ -n "${BASELINE:-}" ]; then
  bcol() { awk -v c="$1" '{print $c}' "$WORK/baseline-runs" | median; }
  echo
  echo "baseline ($BASELINE), same runs:"
  echo "| start to first window | ${b_ms} ms | $(bcol 1) ms | $(ratio "$(bcol 1)" "$b_ms") |"
  echo "| peak memory (VmHWM) | ${b_kb} kB | $(bcol 2) kB | $(ratio "$(bcol 2)" "$b_kb") |"
  echo "| CPU idle before a game | ${b_idle} % | $(bcol 3) % | |"
  echo "| CPU idle, game paused (one run) | | ${o_paused} % | |"
  echo "| CPU idle after a game (one run) | | ${o_after} % | |"
fi
