#!/usr/bin/env bash
# The Windows halvex-cli (build-windows/) under Wine against the Linux
# halvex-gateway-sim (build/): Wine's COM7 is linked to the simulator's
# pseudo-terminal, so every byte goes through the Win32 serial port code.
# Firmware, download with verify, upload, a 65275-byte archive both ways, a
# silent gateway's time-out and Ctrl-C; then the time of a 38400-baud archive
# download against its wire time and the protocol's pauses.
set -uo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cli="$top/build-windows/build/cli/halvex-cli.exe"
sim="$top/build/sim/halvex-gateway-sim"
[ -x "$sim" ] || cmake --build "$top/build" --target halvex-gateway-sim >/dev/null
# shellcheck source=wine-test-common.sh
. "$top/scripts/wine-test-common.sh"
sim_pid=""

start_sim() {
  stop_sim
  "$sim" "$@" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
  done
  ln -sfn "$(head -n1 "$work/sim.out")" "$WINEPREFIX/dosdevices/com7"
}
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=""
  fi
}
cli() { wine_run "$cli" "$@"; }
stop_all() { stop_sim; }

config="$(w "$top/fuzz/corpus/config_reader/written.hxc")"
head -c 65275 /dev/urandom >"$work/site.zip"

start_sim
check "firmware over COM7" expect "Firmware version : 1.05 build 12" 0 cli firmware --port COM7
check "download and verify" expect "Configuration download OK" 0 cli download "$config" --port COM7 --verify
check "upload gives the configuration back" expect "Configuration upload OK!" 0 cli upload "$(w "$work/uploaded.hxc")" --port COM7
check "uploaded file holds the downloaded configuration" cli diff "$config" "$(w "$work/uploaded.hxc")"
check "65275-byte archive download" expect "Archive download OK!" 0 cli archive-download "$(w "$work/site.zip")" --port COM7
check "archive upload" expect "Archive upload OK!" 0 cli archive-upload "$(w "$work/back.zip")" --port COM7
check "archive came back byte for byte" cmp "$work/site.zip" "$work/back.zip"
check "a port that is not there" expect "Unable to open COM Port" 1 cli firmware --port COM9

start_sim --fault silence:100
check "a silent gateway times out" expect "" 1 cli firmware --port COM7

cancel() {
  # With job control on, the background program gets SIGINT as from a
  # terminal (a non-interactive shell's background jobs ignore it).
  set -m
  # Wine itself (wine-run.sh execs it), not a shell around it, gets the signal.
  "$top/scripts/wine-run.sh" "$cli" archive-download "$(w "$work/site.zip")" --port COM7 >"$work/out" 2>&1 &
  local pid=$!
  set +m
  # Wine drops a SIGINT that comes while it is still starting the program
  # (before the console's Ctrl-C handler is there), so Ctrl-C is pressed
  # again each second until the program ends; more Ctrl-Cs while it cancels
  # change nothing.
  sleep 3
  for _ in $(seq 20); do
    kill -INT "$pid" 2>/dev/null || break
    sleep 1
  done
  local got=0
  wait "$pid" || got=$?
  cat "$work/out"
  [ "$got" -eq 1 ] && grep -qF "Operation cancelled" "$work/out"
}
start_sim --line-rate 9600
check "Ctrl-C cancels a transfer" cancel

# The benchmark: wall time of the transfer (from the trace, which starts when
# the port is opened) against the wire time of every frame at 10 bits a byte
# plus the 500 ms settling pause and 5 ms per frame. Three downloads, each
# shown, and their median: one download on a shared machine can catch a
# busy moment of the scheduler.
start_sim --line-rate 38400
traces=()
for run in 1 2 3; do
  if cli archive-download "$(w "$work/site.zip")" --port COM7 --trace "$(w "$work/trace$run.txt")" >"$work/bench.out" 2>&1; then
    traces+=("$work/trace$run.txt")
  else
    echo "benchmark download $run failed, left out:"
    sed 's/^/    /' "$work/bench.out"
  fi
done
stop_sim
awk -F'\t' '
  FNR == 1 && NR > 1 { Finish() }
  $2 == "TX" || $2 == "RX" { bytes += split($3, b, " "); if ($2 == "TX") frames++ }
  { last = $1 }
  function Finish() {
    wire = bytes * 10 * 1000 / 38400; expected = wire + 500 + 5 * frames
    runs[++count] = 100 * (last - expected) / expected
    printf "  run %d: %.0f ms, wire and pauses %.0f ms (%d frames, %d bytes): %+.2f %%\n", count, last, expected, frames, bytes, runs[count]
    bytes = 0; frames = 0
  }
  END {
    if (NR == 0) exit
    Finish()
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (runs[j] < runs[i]) { t = runs[i]; runs[i] = runs[j]; runs[j] = t }
    printf "Win32 serial port under Wine, 65275-byte archive download at 38400 baud, median of %d: %+.2f %% over wire and pauses\n", count, runs[int((count + 1) / 2)]
  }' "${traces[@]}"

echo "Win32 serial port end to end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
