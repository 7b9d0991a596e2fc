#!/usr/bin/env bash
# Builds one fuzz target with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-fuzz/) and runs it for a given time.
#
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#
# TARGET is one of: config_reader xrf_import slave_template device_replies
# spa_address serial_link. The seed corpus fuzz/corpus/TARGET is read; what
# the run finds goes to build-fuzz/corpus/TARGET, a crash or broken invariant
# to build-fuzz/findings/TARGET/ (add it to the seed corpus once fixed). Needs
# clang-14 and libclang-rt-14-dev (not needed for the normal build and tests,
# which replay the corpora with g++).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -lt 2 ]; then
  sed -n '2,12p' "$0" >&2
  exit 2
fi
target="$1"
seconds="$2"
shift 2
if [ ! -f "$top/fuzz/$target.cpp" ]; then
  echo "fuzz.sh: no fuzz target $target" >&2
  exit 2
fi
build="$top/build-fuzz"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DHALVEX_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "fuzz_$target"
mkdir -p "$build/corpus/$target" "$build/findings/$target"
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
  -dict="$top/fuzz/dict/$target.dict" -artifact_prefix="$build/findings/$target/" "$@" \
  "$build/corpus/$target" "$top/fuzz/corpus/$target"
