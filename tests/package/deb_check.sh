#!/usr/bin/env bash
# Checks the Debian package: lintian finds no error or warning in it, its desktop entries and
# AppStream metadata validate without a remark, it installs with apt, each program starts from a
# user's PATH to its menu in a tmux pane and from its desktop entry in a terminal on a virtual X
# display (desktop_launch.sh), and removing the package leaves none of its files behind.
# Installing needs root; elsewhere only the package's files are checked.
# Depends on: lintian, desktop-file-validate, appstreamcli, apt-get, dpkg, tmux.
#
#   tests/package/deb_check.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
package=$(dpkg-deb -f "$deb" Package)

report=$(lintian --fail-on error,warning "$deb" 2>&1) || { echo "$report" >&2; exit 1; }
grep -v "root privileges" <<<"$report" || true
echo "lintian: no errors or warnings in $(basename "$deb") ($(stat -c %s "$deb") bytes)"
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq)
work=$(mktemp -d) installed=false
cleanup() {
  for socket in "$work"/tmux-*; do tmux -S "$socket" kill-server 2>/dev/null || true; done
  if $installed && dpkg-query -W "$package" >/dev/null 2>&1; then
    "${apt[@]}" purge "$package" >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$work/files"
report=$(desktop-file-validate "$work"/files/usr/share/applications/*.desktop 2>&1 &&
  appstreamcli validate --pedantic --no-net "$work"/files/usr/share/metainfo/*.xml 2>&1) ||
  { echo "$report" >&2; exit 1; }
[ "$report" = "✔ Validation was successful." ] || { echo "$report" >&2; exit 1; }
echo "desktop-file-validate and appstreamcli validate --pedantic: no remarks"
[ "$(id -u)" -eq 0 ] || { echo "not installing $package: that needs root"; exit 0; }
! dpkg-query -W "$package" >/dev/null 2>&1 || { echo "remove $package first" >&2; exit 1; }
installed=true
"${apt[@]}" install "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }

# Debian's PATH for users; root's leaves out the games.
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
for entry in "marbek|=== Brumvoke ===" "tolvan|=== Skarnfell ===" "ziravo|=== Zorvel's Map ==="; do
  program=${entry%%|*} title=${entry#*|} top=""
  socket=$work/tmux-$program
  tmux -S "$socket" -f /dev/null new-session -d -x 120 -y 41 \
    "PATH=$user_path TERM=xterm-256color exec $program"
  for _ in $(seq 150); do
    top=$(tmux -S "$socket" capture-pane -p -t 0 | head -n 1)
    [ "$top" = "$title" ] && break
    sleep 0.1
  done
  tmux -S "$socket" kill-server
  [ "$top" = "$title" ] || { echo "$program from the PATH showed '$top', not its menu" >&2; exit 1; }
  echo "$program runs from the PATH to its menu: $top"
done
status=0
"$(dirname "$0")/desktop_launch.sh" || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit 1

"${apt[@]}" purge "$package" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
left=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' |
  while read -r file; do if [ -e "$file" ] || [ -L "$file" ]; then echo "$file"; fi; done)
if dpkg-query -W "$package" >/dev/null 2>&1 || [ -n "$left" ] || [ -e "/usr/share/doc/$package" ]; then
  echo "removing $package left it behind: ${left:-its record or documentation folder}" >&2
  exit 1
fi
echo "$package removed: none of its files is left"
