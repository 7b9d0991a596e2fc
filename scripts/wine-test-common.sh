# What the end-to-end scripts under Wine share (sourced, not run): the
# prefix, a work folder removed at the end, the PASS/FAIL count, and the
# Windows programs' view of the Linux file system. The script that sources
# it sets top and may define stop_all, which runs on the way out.
export WINEPREFIX="${WINEPREFIX:-$top/build-windows/wine}"
work="$(mktemp -d)"
passed=0
failed=0
trap 'declare -F stop_all >/dev/null && stop_all; [ -n "${HALVEX_KEEP:-}" ] || rm -rf "$work"' EXIT

check() {  # name, then a command that must succeed
  local name="$1"
  shift
  if "$@" >"$work/check.out" 2>&1; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    sed 's/^/    /' "$work/check.out"
  fi
}
expect() {  # text the output must hold, exit status, program and arguments...
  local text="$1" want="$2"
  shift 2
  local got=0
  "$@" >"$work/out" 2>&1 || got=$?
  cat "$work/out"
  [ "$got" -eq "$want" ] && grep -qF -- "$text" "$work/out"
}
wine_run() { "$top/scripts/wine-run.sh" "$@"; }

# The Windows program sees the Linux file system as drive Z:.
w() { echo "Z:$1"; }
