#!/usr/bin/env bash
# Cross-builds the Qt-free libraries, their tests and halvex-cli for 64-bit
# Windows with MinGW-w64 in build-windows/, and runs the tests under Wine
# with a private prefix (build-windows/wine) and no display.
set -euo pipefail
cd "$(dirname "$0")/.."
top="$(pwd)"
./scripts/setup.sh --windows

jobs="${HALVEX_JOBS:-2}"
toolchain="$top/cmake/mingw-w64-x86_64.cmake"
out="$top/build-windows"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# GoogleTest from Debian's sources, built once with the same compiler.
if [ ! -f "$out/googletest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$out/googletest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$out/googletest/install" \
    -Dgtest_disable_pthreads=OFF "${launcher[@]}" >/dev/null
  cmake --build "$out/googletest/build" -j"$jobs"
  cmake --install "$out/googletest/build" >/dev/null
fi

# The header-only libraries of halvex-cli, without the rest of /usr/include.
mkdir -p "$out/headers"
ln -sfn /usr/include/CLI "$out/headers/CLI"
ln -sfn /usr/include/nlohmann "$out/headers/nlohmann"

# A private Wine prefix, made once, without a display.
export WINEPREFIX="$out/wine"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=-all DISPLAY= "$top/scripts/wine-run.sh" wineboot -i >/dev/null 2>&1 || true
fi

# Optimised as a release, without debug information (which under MinGW makes
# large objects and slow links, and which Wine's runs do not use).
cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DHALVEX_QT_PROGRAMS=OFF -DHALVEX_DEVELOPER=ON -DGTest_DIR="$out/googletest/install/lib/cmake/GTest" \
  -DHALVEX_HEADER_DIR="$out/headers" -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/wine-run.sh" \
  "${launcher[@]}"
cmake --build "$out/build" -j"$jobs"

# One Wine server for the whole run, kept alive (-p) until the end, in a
# session of its own (no signal of the tests reaches it) and with its output
# in a file: a test program started while the server of the previous one is
# shutting down fails with "wine client error: recvmsg: Connection reset by
# peer". wineboot then starts Wine's services once, before the tests start
# two programs at a time.
wineserver=/usr/lib/wine/wineserver64
command -v wineserver >/dev/null 2>&1 && wineserver="$(command -v wineserver)"
"$wineserver" -k >/dev/null 2>&1 || true
setsid "$wineserver" -p >"$out/wineserver.log" 2>&1 </dev/null
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$top/scripts/wine-run.sh" wineboot >/dev/null 2>&1 || true

log="$out/ctest.log"
status=0
ctest --test-dir "$out/build" --output-on-failure --timeout 300 -j"$jobs" | tee "$log" || status=$?
summary="$(grep -E 'tests passed|tests failed' "$log" || true)"

# The Win32 serial port end to end: the Linux simulator's pseudo-terminal is
# Wine's COM7, and the Windows halvex-cli talks to it.
"$top/scripts/wine-serial-test.sh" || status=$?
# The network ports under Wine: the Windows halvex-cli against the Linux
# simulator's listener and ser2net, the Windows simulator against the Linux
# halvex-cli.
"$top/scripts/wine-network-test.sh" || status=$?

echo "Windows (Wine) unit tests: $summary"
exit "$status"
