#!/usr/bin/env bash
# Runs the 64-bit Windows build under wine for the checks. Owns: the test build's wine prefix,
# the start-up check of a program in a tmux pane, and the comparison of the Windows replay's
# frames with the Linux replay's. Depends on: wine64 and its wineserver, tmux, diff.
#
#   wine_check.sh WINE PREFIX prefix
#   wine_check.sh WINE PREFIX menu PROGRAM.exe TITLE
#   wine_check.sh WINE PREFIX replay REPLAY.exe LINUX_REPLAY RAND_GUARD.so SCRIPT [REPLAY ARGS...]
#
# Every wait is bounded, and whatever a check starts is ended however the check ends.
set -euo pipefail

wine=$1
prefix=$2
check=$3
shift 3

wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# Quiet, headless and self-contained: no debug chatter, no runtime installers, no menu entries
# written into the user's home, no window system.
export WINEPREFIX=$prefix WINELOADER=$wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

create_prefix() {
  # A prefix is only trusted once its creation finished; an interrupted one is made afresh.
  [ -f "$prefix/.complete" ] && return
  rm -rf "$prefix"
  mkdir -p "$prefix"
  timeout 180 "$wine" wineboot --init
  # The registry reaches the disk when the server leaves.
  timeout 60 "$wineserver" --wait
  touch "$prefix/.complete"
  echo "wine prefix ready at $prefix"
}

check_menu() {
  local program=$1 title=$2
  # Global, for the exit trap: a private tmux server that takes the program with it.
  socket="windows-check-$$"
  trap 'tmux -L "$socket" kill-server 2>/dev/null || true' EXIT
  tmux -L "$socket" -f /dev/null new-session -d -x 120 -y 41 \
    "'$wine' '$program'; echo \"[the program ended with status \$?]\"; sleep 120"
  local screen=""
  for _ in $(seq 1 600); do
    screen=$(tmux -L "$socket" capture-pane -p -t 0 | sed 's/ *$//')
    if [ "$(sed -n 1p <<<"$screen")" = "$title" ] &&
      [ "$(sed -n 3p <<<"$screen")" = "Run DEMO  <--" ] &&
      [ "$(sed -n 5p <<<"$screen")" = "Settings" ]; then
      echo "$(basename "$program") shows its menu under wine:"
      sed -n 1,5p <<<"$screen"
      return 0
    fi
    grep -q '^\[the program ended' <<<"$screen" && break
    sleep 0.1
  done
  echo "$(basename "$program") did not show its menu; the pane held:" >&2
  echo "$screen" >&2
  return 1
}

check_replay() {
  local windows_replay=$1 linux_replay=$2 rand_guard=$3 script=$4
  shift 4
  # Global, for the exit trap.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # The guard stops the Linux run at the first random number: the two C runtimes draw different
  # sequences, so only scripts that draw none can be compared frame for frame.
  LD_PRELOAD=$rand_guard "$linux_replay" "$@" --print all --script "$script" >"$work/linux.txt"
  timeout 120 "$wine" "$windows_replay" "$@" --print all --script - <"$script" |
    sed 's/\r$//' >"$work/windows.txt"
  local frames
  frames=$(grep -c '^frame ' "$work/linux.txt" || true)
  if [ "$frames" -eq 0 ] || ! grep -q '^state ' "$work/linux.txt"; then
    echo "the Linux replay printed no frames" >&2
    return 1
  fi
  if ! cmp -s "$work/linux.txt" "$work/windows.txt"; then
    echo "the Windows replay differs from the Linux replay (< Linux, > Windows):" >&2
    diff "$work/linux.txt" "$work/windows.txt" | head -40 >&2
    return 1
  fi
  echo "$(basename "$script"): $frames frames identical; $(tail -n 1 "$work/linux.txt")"
}

require_built() {
  [ -f "$1" ] || {
    echo "$1 is missing: tools/windows_build.sh builds the Windows programs" >&2
    exit 1
  }
}

case $check in
  prefix) create_prefix ;;
  menu) require_built "$1"; check_menu "$@" ;;
  replay) require_built "$1"; check_replay "$@" ;;
  *) echo "unknown check: $check" >&2 && exit 2 ;;
esac
