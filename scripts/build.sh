#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything in build/.
# Where ccache is installed it is used, so that rebuilds in several checkouts
# share their compiled objects.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build build
