#!/usr/bin/env bash
# Runs a Windows build under wine for the checks: the 32-bit one under the 32-bit loader (wine),
# the 64-bit one under wine64. Owns: the test build's wine prefixes, the checks of a program in a
# tmux pane (its menu, then a game's first frame, equal to the Linux replay's, in its colours),
# and the comparison of the Windows replay's frames with the Linux replay's. Exits 77, reported
# as skipped, when the Windows build is absent or the loader cannot run here.
# Depends on: wine and its wineserver, tmux, diff.
#
#   wine_check.sh WINE PREFIX prefix
#   wine_check.sh WINE PREFIX menu PROGRAM.exe TITLE
#   wine_check.sh WINE PREFIX play PROGRAM.exe TITLE PRESS_KEYS.exe LINUX_REPLAY VARIANT
#   wine_check.sh WINE PREFIX replay REPLAY.exe LINUX_REPLAY SCRIPT [REPLAY ARGS...]
#
# Every wait is bounded, and whatever a check starts is ended however the check ends.
set -euo pipefail

wine=$1 prefix=$2 check=$3
shift 3

if ! "$wine" --version >/dev/null 2>&1; then
  echo "skipped: $wine cannot run here (the 32-bit loader needs wine32:i386 and a kernel that" \
    "runs 32-bit programs)"
  exit 77
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
arch=win32
[ "$(basename "$wine")" = wine64 ] && arch=win64

# Quiet, headless and self-contained: no debug chatter, no runtime installers, no menu entries
# written into the user's home, no window system.
export WINEPREFIX=$prefix WINEARCH=$arch WINELOADER=$wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

# Globals, for the exit trap.
socket="" work=$(mktemp -d)
cleanup() {
  [ -n "$socket" ] && tmux -S "$socket" kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

require_built() {
  [ -f "$1" ] || { echo "skipped: $1 is missing; tools/windows_build.sh builds them"; exit 77; }
}

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

# A private tmux server, its socket in the work directory, sized like the program's start-up
# frame plus a line; killing it at the end takes the program with it.
start_in_pane() {
  socket=$work/tmux
  tmux -S "$socket" -f /dev/null new-session -d -x 120 -y 41 \
    "'$wine' '$1'; echo \"[the program ended with status \$?]\"; sleep 120"
}

# The pane as text: trailing blanks dropped, the full block shown as '#' like the replay does.
pane_text() {
  tmux -S "$socket" capture-pane -p -t 0 | sed 's/ *$//; s/█/#/g'
}

# Polls the pane for at most 60 s until its first lines equal the expected file's.
wait_for_pane() {
  local expected=$1 screen="" deadline=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$deadline" ]; do
    screen=$(pane_text)
    [ "$(head -n "$(wc -l <"$expected")" <<<"$screen")" = "$(cat "$expected")" ] && return 0
    grep -q '^\[the program ended' <<<"$screen" && break
    sleep 0.1
  done
  echo "gave up waiting for $expected; the pane held:" >&2
  echo "$screen" >&2
  return 1
}

check_menu() {
  local program=$1
  printf '%s\n\nRun DEMO  <--\n\nSettings\n' "$2" >"$work/menu.txt"
  start_in_pane "$program"
  wait_for_pane "$work/menu.txt"
  echo "$(basename "$program") shows its menu under $arch wine: $2"
}

# Enter on "Run DEMO" starts a game whose frames, with no key held and no enemy in sight, stay
# those of the Linux replay's first frame, drawn in bright white on aqua.
check_play() {
  local program=$1 press_keys=$3 linux_replay=$4 variant=$5
  "$linux_replay" "$variant" --frames 1 --print last | sed -n 2,41p | sed 's/ *$//' \
    >"$work/frame.txt"
  check_menu "$program" "$2"
  timeout 30 "$wine" "$press_keys" 0D:200
  wait_for_pane "$work/frame.txt"
  local top_row
  top_row=$(tmux -S "$socket" capture-pane -p -e -t 0 | head -n 1)
  if ! grep -Eq $'\e\\[([0-9;]*;)?46(;[0-9;]*)?m' <<<"$top_row" ||
    ! grep -Eq $'\e\\[([0-9;]*;)?97(;[0-9;]*)?m' <<<"$top_row"; then
    echo "the frame is not bright white on aqua; its top row came as:" >&2
    cat -v <<<"$top_row" >&2
    return 1
  fi
  echo "$(basename "$program") plays under $arch wine; its frame equals the Linux replay's:"
  pane_text | head -n 1
}

check_replay() {
  local windows_replay=$1 linux_replay=$2 script=$3
  shift 3
  "$linux_replay" "$@" --print all --script "$script" >"$work/linux.txt"
  timeout 120 "$wine" "$windows_replay" "$@" --print all --script - <"$script" |
    sed 's/\r$//' >"$work/windows.txt"
  local frames
  frames=$(grep -c '^frame ' "$work/linux.txt" || true)
  [ "$frames" -gt 0 ] || { echo "the Linux replay printed no frames" >&2; return 1; }
  if ! cmp -s "$work/linux.txt" "$work/windows.txt"; then
    echo "the Windows replay differs from the Linux replay (< Linux, > Windows):" >&2
    diff "$work/linux.txt" "$work/windows.txt" | head -40 >&2
    return 1
  fi
  echo "$(basename "$script") ($arch): $frames frames identical; $(tail -n 1 "$work/linux.txt")"
}

case $check in
  prefix) create_prefix ;;
  menu) require_built "$1"; check_menu "$@" ;;
  play) require_built "$1"; check_play "$@" ;;
  replay) require_built "$1"; check_replay "$@" ;;
  *) echo "unknown check: $check" >&2 && exit 2 ;;
esac
