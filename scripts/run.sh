#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments are
# passed on (a configuration file to open, for example).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
if [ -x build/ui/halvex ]; then
  exec build/ui/halvex "$@"
fi
exec build/cli/halvex-cli --help
