#!/usr/bin/env bash
# Usage: install_test.sh BUILD_DIR
# Installs BUILD_DIR with DESTDIR into a scratch root and checks every
# installed file: present, valid for the desktop tools, the MIME type found
# by name and by content, man pages that render cleanly, and the completion.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/dest/usr
id=com.vantrelsubstation.halvex
for program in halvex halvex-cli halvex-gateway-sim; do
  [ -x "$usr/bin/$program" ] || fail "bin/$program missing"
  [ -f "$usr/share/man/man1/$program.1.gz" ] || fail "man page of $program missing"
done
for file in applications/$id.desktop metainfo/$id.metainfo.xml mime/packages/halvex.xml \
  icons/hicolor/scalable/apps/$id.svg icons/hicolor/scalable/mimetypes/application-x-halvex-configuration.svg \
  bash-completion/completions/halvex-cli doc/halvex/copyright doc/halvex/changelog.gz; do
  [ -f "$usr/share/$file" ] || fail "share/$file missing"
done

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"

# The MIME database of the installed package alone; xdg-mime asked outside
# any desktop session, so it uses File::MimeInfo on that database.
mkdir -p "$root/data/mime" "$root/home"
cp -r "$usr/share/mime/packages" "$root/data/mime/"
XDG_DATA_DIRS="$root/data" update-mime-database "$root/data/mime"
printf '[HEADER]\r\nIDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1\r\n' >"$root/station.hxc"
cp "$root/station.hxc" "$root/station-without-extension"
printf 'not a configuration\n' >"$root/notes"
query() {
  env -i PATH="$PATH" HOME="$root/home" XDG_DATA_HOME="$root/home" XDG_DATA_DIRS="$root/data" \
    xdg-mime query filetype "$1"
}
for file in station.hxc station-without-extension; do
  [ "$(query "$root/$file")" = application/x-halvex-configuration ] || fail "xdg-mime $file: $(query "$root/$file")"
done
[ "$(query "$root/notes")" = text/plain ] || fail "xdg-mime notes: $(query "$root/notes")"

for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
  MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^NAME' || fail "man $(basename "$page") renders no NAME"
done

# Completes LINE (the cursor at its end) as bash would and prints the
# candidates sorted, one line.
complete_line() {
  (cd "$root/files" && bash --norc --noprofile -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    COMP_LINE=$2 COMP_POINT=${#2}
    read -ra COMP_WORDS <<<"$2"
    [[ $2 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    "$(complete -p halvex-cli | sed "s/.*-F \([^ ]*\) .*/\1/")" halvex-cli
    printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' _ "$usr/share/bash-completion/completions/halvex-cli" "$1")
}
mkdir -p "$root/files/plants"
touch "$root/files/"{station.hxc,OLD.HXC,units.xrf,notes.txt}
while IFS='|' read -r line expected; do
  actual=$(complete_line "$line")
  [ "$actual" = "$expected" ] || fail "completion of '$line': '$actual', not '$expected'"
done <<'CASES'
halvex-cli dow|download
halvex-cli archive-|archive-download archive-upload
halvex-cli show |OLD.HXC plants station.hxc
halvex-cli import-xrf |plants units.xrf
halvex-cli download --port COM1 --l|--layout
halvex-cli download station.hxc --port C|COM1 COM2 COM3 COM4
halvex-cli firmware --port r|rfc2217://
halvex-cli firmware --port socket://gw|
halvex-cli image station.hxc out --layout |1.02 2.00
halvex-cli firmware |--help --json --port --trace --yes
halvex-cli firmware --trace n|notes.txt
halvex-cli archive-upload --trace t --port COM1 s|station.hxc
halvex-cli ver|verify
halvex-cli po|ports
halvex-cli ports |--help --json --yes
CASES

[ "$failures" -eq 0 ] && echo "install and desktop integration: all checks passed"
exit $((failures > 0))
