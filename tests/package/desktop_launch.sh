#!/usr/bin/env bash
# Starts each installed program from its desktop entry as a GTK desktop does (gtk-launch, which
# opens a terminal for Terminal=true entries) on a virtual X display, and reads from the
# terminal's log that the program shows its menu there. Exits 77 when X or the launcher is
# missing. Depends on: Xvfb, xterm, xdotool, gtk-launch (libgtk-3-bin), the installed package.
set -euo pipefail
for tool in Xvfb xterm xdotool gtk-launch; do
  command -v "$tool" >/dev/null || { echo "desktop launch: skipped: no $tool"; exit 77; }
done

work=$(mktemp -d)
display_pid="" terminal_pid=""
cleanup() {
  for pid in $terminal_pid $display_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
display_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "desktop launch: skipped: Xvfb did not start"; exit 77; }

# GLib opens the first terminal of its own list found on the PATH: a PATH with xterm as the only
# one makes that xterm, whatever else is installed. No session bus: nothing is activated on one.
# xterm reads its log file's name from the resources XENVIRONMENT names.
mkdir "$work/terminal" "$work/home"
ln -s "$(command -v xterm)" "$work/terminal/xterm"
printf 'XTerm*logging: true\nXTerm*logFile: %s/xterm.log\n' "$work" >"$work/resources"
export DISPLAY=:$(cat "$work/display")
session=(env -i "DISPLAY=$DISPLAY" "HOME=$work/home" LANG=C.UTF-8
         "PATH=$work/terminal:/usr/local/games:/usr/games" "XENVIRONMENT=$work/resources"
         DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1)

for entry in "marbek|=== Brumvoke ===" "tolvan|=== Skarnfell ===" "ziravo|=== Zorvel's Map ==="; do
  program=${entry%%|*} title=${entry#*|} window=""
  rm -f "$work/xterm.log"
  "${session[@]}" "$(command -v gtk-launch)" "org.example.tolmarzi.$program"
  for _ in $(seq 100); do
    window=$(xdotool search --name "^$program\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && grep -qaF "$title" "$work/xterm.log" 2>/dev/null &&
      grep -qaF "Run DEMO  <--" "$work/xterm.log" && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "$program's entry opened no terminal window" >&2; exit 1; }
  terminal_pid=$(xdotool getwindowpid "$window")
  grep -qaF "$title" "$work/xterm.log" && grep -qaF "Run DEMO  <--" "$work/xterm.log" ||
    { echo "$program's entry opened a terminal without its menu" >&2; exit 1; }
  echo "$program's desktop entry opens $(readlink "/proc/$terminal_pid/exe") with its menu: $title"
  kill "$terminal_pid"
  terminal_pid=""
done
