#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window program. Arguments
# are passed on (a configuration file to open, for example).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
exec build/ui/window/halvex "$@"
