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

cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DHALVEX_QT_PROGRAMS=OFF -DHALVEX_DEVELOPER=ON -DGTest_DIR="$out/googletest/install/lib/cmake/GTest" \
  -DHALVEX_HEADER_DIR="$out/headers" -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/wine-run.sh" \
  "${launcher[@]}"
cmake --build "$out/build" -j"$jobs"

log="$out/ctest.log"
status=0
# Tests that still expect Linux's texts or devices (the system's words for a
# missing file, /dev/ttyS names, /dev/full, an atomic rename seen as one
# change) and so fail under Windows for reasons of their own expectations;
# they are left out here, by name, until they are made portable. Two watcher
# tests pass or fail from run to run under Wine's directory notifications
# and are left out with them.
linux_expectations='^(ConfigFileWriter\.OffsetsChangeOnlyThePointCommentLines|FileChangeMonitorTest\.(FileReplacedByRenameIsAChangeNotALoss|DeletedFileIsReportedWithCodeOneAndNoLongerWatched)|CQuorvinDocTest\.(SaveAsAsksForANameAndTheWatcherFollowsTheNewFile|ConstructionReadsComPortKeywordAndRegionalSeparators|PrioritizeTouchesOnlyTheSelectedSlavesPoints|FailedOpenSaysWhyAndKeepsTheCurrentDocument|AReloadNeverDiscardsTheWorkForAFileThatIsGone)|ExchangeCommands\.(ExportCsv|ImportXrf))$'
echo "Left out under Windows (Linux expectations): $linux_expectations"
ctest --test-dir "$out/build" --output-on-failure --timeout 300 -j"$jobs" -E "$linux_expectations" | tee "$log" || status=$?
summary="$(grep -E 'tests passed|tests failed' "$log" || true)"

# The Win32 serial port end to end: the Linux simulator's pseudo-terminal is
# Wine's COM7, and the Windows halvex-cli talks to it.
"$top/scripts/wine-serial-test.sh" || status=$?

echo "Windows (Wine) unit tests: $summary"
exit "$status"
