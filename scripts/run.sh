#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window program. Arguments
# are passed on (a configuration file to open, for example); relative paths
# are taken from the directory the script was started in.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh" >&2
exec "$top/build/ui/window/halvex" "$@"
