#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package of the three
# programs and their desktop files: build/halvex_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cmake --build build --target package
