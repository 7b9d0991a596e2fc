#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (headless); then
# builds the Qt-free core and its tests with AddressSanitizer,
# UndefinedBehaviorSanitizer and the developer warnings as errors, and runs
# those tests too (halvex-cli's own tests, a thin layer over that core, run
# in the first build and under Wine only, for the time of the whole run).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 300 -j2

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Unoptimised with line tables: with UndefinedBehaviorSanitizer GCC takes
# three times as long to compile at -O1 as at -O0, and the tests run quickly
# either way.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 -g1 -DNDEBUG" \
  -DHALVEX_QT_PROGRAMS=OFF -DHALVEX_CLI=OFF -DHALVEX_SANITIZE=ON -DHALVEX_DEVELOPER=ON "${launcher[@]}"
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure --timeout 300 -j2

# The Qt-free core, its tests and halvex-cli for Windows, under Wine.
./scripts/test-windows.sh
