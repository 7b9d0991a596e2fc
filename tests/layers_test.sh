#!/usr/bin/env bash
# Fails when a folder of the Qt-free core includes a Qt header or names a Qt
# library in its build file.
set -euo pipefail
top="$1"
core=(platform model configfile device exchange commissioning sim ui/document fuzz)
found=0
for folder in "${core[@]}"; do
  if grep -rnE '#include *<Q|#include *"Q[A-Z]|Qt6::|find_package\(Qt' "$top/$folder"; then
    found=1
  fi
done
if [ "$found" -ne 0 ]; then
  echo "Qt appears in the Qt-free core (above)" >&2
  exit 1
fi
