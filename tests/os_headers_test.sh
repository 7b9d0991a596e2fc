#!/usr/bin/env bash
# Fails when a folder above platform/ includes an operating-system header:
# every system service is reached through platform/, which has one
# implementation per system. The simulator's pseudo-terminal and its POSIX
# side (signals, the terminal's link) are the one exception; its server and
# main are the same on every system.
set -euo pipefail
top="$1"
folders=(model configfile device exchange commissioning sim ui cli)
allowed='^sim/(PseudoTerminal|TerminalLine|SimSystemPosix)\.cpp:'
pattern='#include *<(unistd|termios|poll|fcntl|dirent|pwd|grp|pty|dlfcn|signal|locale|xlocale|windows|winsock2?|ws2tcpip|setupapi|io|direct)\.h>|#include *<(sys|linux|X11|netinet|arpa)/|#include *<csignal>|\bsigaction\b|\binotify_|\bstatx\b|\bnewlocale\b|\b(strtod|strftime|strtol|snprintf)_l\b|\b(localtime|gmtime)_r\b|\btimegm\b|\bsetenv\b'
cd "$top"
found=$(grep -rnE "$pattern" --include='*.cpp' --include='*.h' "${folders[@]}" | grep -vE "$allowed" || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "An operating-system header or call appears outside platform/ (above)" >&2
  exit 1
fi
