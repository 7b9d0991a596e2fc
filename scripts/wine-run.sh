#!/usr/bin/env bash
# Runs a Windows program under Wine with the private prefix of the Windows
# build (build-windows/wine, or $WINEPREFIX), no X display and no Wine
# diagnostics. CMake runs the test programs through it.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$top/build-windows/wine}"
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null 2>&1 && wine="$(command -v wine64)"
exec "$wine" "$@"
