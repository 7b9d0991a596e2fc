#!/usr/bin/env bash
# Runs PAIRS pairs of simultaneous `halvex-cli download` runs of two different
# configuration files to two gateway simulators, as one user with one private
# temporary directory, and checks after every pair that each gateway holds the
# text of the file that was sent to it. The files change places every pair, so
# a gateway that kept an older text is caught too.
#
#   scripts/download-pairs.sh [PAIRS] [BUILD_DIR]     (default 100, build)
#
# Prints one line per mismatch and a summary; exit status 1 when any pair
# failed. Needs a built halvex-cli and halvex-gateway-sim.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
pairs="${1:-100}"
build="${2:-$top/build}"
cli="$build/cli/halvex-cli"
sim="$build/sim/halvex-gateway-sim"

work="$(mktemp -d)"
simulators=()
cleanup() {
  for pid in "${simulators[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Two configurations of one slave each, with a text long enough to take many
# frames: 100 analog inputs whose descriptions differ from file to file.
make_configuration() {
  local name="$1" slave="$2"
  {
    printf '[HEADER]\r\nIDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1\r\nVERSION = 2.00\r\n'
    printf '[CONFIGURATION]\r\nSPA_TEMPLATE = %s\r\n[ANALOG_INPUT]\r\n' "$name"
    for i in $(seq 1 100); do
      printf '1,\tN,\t"%s point %03d %s",\t%d,\t0I%d,\t1.000000,\t16\r\n' \
        "$name" "$i" "$(printf '%*s' 120 '' | tr ' ' "${name:0:1}")" "$slave" "$i"
    done
  } >"$work/$name.hxc"
  # What a download sends: the file text as a save writes it.
  "$cli" convert "$work/$name.hxc" "$work/$name.expected"
}
make_configuration alpha 3
make_configuration bravo 7

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
for gateway in 1 2; do
  mkdir "$work/state$gateway"
  "$sim" --link "$work/gw$gateway" --state "$work/state$gateway" >/dev/null &
  simulators+=("$!")
done
for gateway in 1 2; do
  for _ in $(seq 1 100); do [ -L "$work/gw$gateway" ] && break; sleep 0.05; done
done

failed=0
for pair in $(seq 1 "$pairs"); do
  if [ $((pair % 2)) -eq 1 ]; then first=alpha; second=bravo; else first=bravo; second=alpha; fi
  "$cli" download "$work/$first.hxc" --port "$work/gw1" >"$work/out1" 2>&1 &
  one=$!
  "$cli" download "$work/$second.hxc" --port "$work/gw2" >"$work/out2" 2>&1 &
  two=$!
  status1=0; status2=0
  wait "$one" || status1=$?
  wait "$two" || status2=$?
  for gateway in 1 2; do
    if [ "$gateway" -eq 1 ]; then sent=$first; status=$status1; else sent=$second; status=$status2; fi
    if [ "$status" -ne 0 ]; then
      echo "pair $pair: download to gateway $gateway failed: $(cat "$work/out$gateway")"
      failed=$((failed + 1))
    elif ! cmp -s "$work/state$gateway/configuration.hxc" "$work/$sent.expected"; then
      echo "pair $pair: gateway $gateway does not hold $sent.hxc ($(cat "$work/out$gateway"))"
      failed=$((failed + 1))
    fi
  done
done

left=$(find "$XDG_RUNTIME_DIR" -type f | wc -l)
echo "$pairs pairs, $((2 * pairs)) downloads: $((2 * pairs - failed)) gateways hold their own file, $failed do not;" \
     "$left temporary files left"
[ "$failed" -eq 0 ] && [ "$left" -eq 0 ]
