#!/usr/bin/env bash
# Network ports under Wine, end to end, between the Windows programs
# (build-windows/) and the Linux ones (build/): the Windows halvex-cli against
# the Linux halvex-gateway-sim over socket:// (its own --listen) and
# rfc2217:// (ser2net in front of its pseudo-terminal); the Windows
# halvex-gateway-sim --listen against the Linux halvex-cli, then stopped by
# Ctrl-C; and a refused connection, which must fail at once and say why.
set -uo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
win_cli="$top/build-windows/build/cli/halvex-cli.exe"
win_sim="$top/build-windows/build/sim/halvex-gateway-sim.exe"
sim="$top/build/sim/halvex-gateway-sim"
linux_cli="$top/build/cli/halvex-cli"
[ -x "$sim" ] && [ -x "$linux_cli" ] || cmake --build "$top/build" --target halvex-gateway-sim halvex-cli >/dev/null
# shellcheck source=wine-test-common.sh
. "$top/scripts/wine-test-common.sh"
pids=()

stop_all() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  pids=()
}
# Starts a program in the background with its output in the named file and
# waits until it has printed a line holding the text.
start() {  # output file, text, program and arguments...
  local out="$1" text="$2"
  shift 2
  "$@" >"$out" 2>&1 &
  pids+=($!)
  for _ in $(seq 400); do
    grep -qF -- "$text" "$out" && return 0
    sleep 0.05
  done
  echo "no \"$text\" from $*:" >&2
  cat "$out" >&2
  return 1
}
# A TCP port nobody listens on: one the Linux simulator was given and let go.
free_port() {
  "$sim" --listen 127.0.0.1:0 --no-pty >"$work/free" 2>&1 &
  local pid=$!
  for _ in $(seq 100); do
    [ -s "$work/free" ] && break
    sleep 0.05
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  sed -n 's/^socket:\/\/127\.0\.0\.1://p' "$work/free"
}

config="$top/fuzz/corpus/config_reader/written.hxc"

# The Windows halvex-cli over the port: a download with verify, an upload,
# and the uploaded file against the one sent.
windows_cli_round_trip() {  # port, a name for its kind
  local port="$1" uploaded="$work/uploaded-$2.hxc"
  check "Windows cli, download and verify over $port" \
    expect "Configuration download OK" 0 wine_run "$win_cli" download "$(w "$config")" --port "$port" --verify
  check "Windows cli, upload over $port" \
    expect "Configuration upload OK!" 0 wine_run "$win_cli" upload "$(w "$uploaded")" --port "$port"
  check "uploaded file holds the downloaded configuration ($2)" "$linux_cli" diff "$config" "$uploaded"
}

# 1. The Windows halvex-cli against the Linux simulator.
if start "$work/sim.out" socket:// "$sim" --listen 127.0.0.1:0 --no-pty; then
  port="$(head -n1 "$work/sim.out")"
  check "Windows cli, firmware over $port" expect "Firmware version : 1.05 build 12" 0 wine_run "$win_cli" firmware --port "$port"
  windows_cli_round_trip "$port" socket
else
  check "Linux simulator listens" false
fi
stop_all

ser2net_port="$(free_port)"
if start "$work/sim.out" /dev/ "$sim" && [ -n "$ser2net_port" ]; then
  printf '%%YAML 1.1\n---\nconnection: &gateway\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,38400n81,local\n  options:\n    chardelay: false\n' \
    "$ser2net_port" "$(head -n1 "$work/sim.out")" >"$work/ser2net.yaml"
  ser2net -n -d -c "$work/ser2net.yaml" >"$work/ser2net.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 200); do
    ss -ltnH "sport = :$ser2net_port" | grep -q . && break
    sleep 0.05
  done
  port="rfc2217://127.0.0.1:$ser2net_port"
  windows_cli_round_trip "$port" rfc2217
else
  check "Linux simulator and ser2net start" false
fi
stop_all

# 2. The Windows simulator under Wine against the Linux halvex-cli: a
# damaged reply (--fault), paced like a 38400-baud line, the configuration
# kept in --state and still there after a restart. With job control on, the
# background program gets SIGINT as from a terminal (a non-interactive
# shell's background jobs ignore it), which Wine hands to the console's
# Ctrl-C handler.
start_win_sim() {
  local started=0
  set -m
  start "$work/winsim.out" socket:// "$top/scripts/wine-run.sh" "$win_sim" --listen 127.0.0.1:0 --state "$(w "$work/state")" "$@" &&
    started=1
  set +m
  port="$(grep -m1 socket:// "$work/winsim.out" | tr -d '\r')"
  [ "$started" -eq 1 ]
}
ctrl_c() {
  local pid="${pids[-1]}" got=0
  kill -INT "$pid"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "still running 5 s after Ctrl-C"
    return 1
  fi
  wait "$pid" || got=$?
  unset 'pids[-1]'
  echo "exit status $got"
  [ "$got" -eq 0 ]
}
check "Windows simulator needs --listen" expect "--listen HOST:PORT is required" 2 wine_run "$win_sim" --fault silence
if start_win_sim --fault bad-crc --line-rate 38400; then
  check "Linux cli, firmware from the Windows simulator at $port after a damaged reply" \
    expect "Firmware version : 1.05 build 12" 0 "$linux_cli" firmware --port "$port" --trace "$work/trace.txt"
  check "the damaged reply was seen and asked again" grep -q crc-bad "$work/trace.txt"
  check "Linux cli, download and verify to the Windows simulator" \
    expect "Configuration download OK" 0 "$linux_cli" download "$config" --port "$port" --verify
  check "Ctrl-C stops the Windows simulator" ctrl_c
else
  check "Windows simulator listens" false
fi
stop_all
if start_win_sim; then
  check "the restarted Windows simulator holds the configuration from its --state" \
    expect "Configuration verify OK!" 0 "$linux_cli" verify "$config" --port "$port"
else
  check "Windows simulator listens again" false
fi
stop_all

# 3. A refused connection: a closed port fails at once (well within the
# 5-second connect time-out) and names the address and the reason.
refused() {
  local port start elapsed
  port="$(free_port)"
  start=$(date +%s%N)
  expect "Unable to open COM Port" 1 wine_run "$win_cli" firmware --port "socket://127.0.0.1:$port" || return 1
  elapsed=$((($(date +%s%N) - start) / 1000000))
  echo "took $elapsed ms"
  grep -qxF "socket://127.0.0.1:$port: connection refused" <(tr -d '\r' <"$work/out") && [ "$elapsed" -lt 4000 ]
}
check "a refused connection says so at once" refused

echo "Network ports under Wine end to end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
