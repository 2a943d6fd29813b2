#!/usr/bin/env bash
# Screenshots of every display picture and of the tray menu, for a person to look at:
# a private Xvfb with a compositor (xcompmgr) and a tray host (trayer), the monitor
# against pallix-vmouse in private folders. Pictures go to screens/ (not in git).
#   tests/monitor/screenshots.sh [build-dir] [language id, e.g. 0x0407: German menu]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build}
out=$root/screens
mkdir -p "$out"
for tool in Xvfb xcompmgr trayer xdotool import; do
  command -v $tool >/dev/null || { echo "needs $tool (xvfb xcompmgr trayer xdotool imagemagick)" >&2; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/run" "$work/config" "$work/home" && chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config HOME=$work/home PALLIX_HID_BACKENDS=virtual
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

display=:$((90 + RANDOM % 100))
Xvfb $display -noreset -screen 0 1280x800x24 >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xcompmgr -n >/dev/null 2>&1 & pids+=($!)
trayer --edge top --align right --widthtype pixel --width 120 --height 32 --transparent false --tint 0x303030 \
  >/dev/null 2>&1 & pids+=($!)
sleep 1

[ -n "${2:-}" ] && "$build/cli/pallixctl" settings set Language $(( $2 )) --dword >/dev/null
"$build/tools/vmouse/pallix-vmouse" --name shots >/dev/null 2>&1 & pids+=($!)
sleep 0.5
"$build/monitor/Qx7Monitor" /Automation >"$work/monitor.log" 2>&1 & pids+=($!)
sleep 2
send() { "$build/tools/vmouse/pallix-vmouse" --name shots send "$@" >/dev/null; }
settle() { sleep 0.4; }
shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }

send profile 2; settle; shot osd-profile
send level 3; settle; shot osd-level
send lock on; settle; shot osd-lock
send lock off; settle; shot osd-unlock
send rate 500; settle; shot osd-rate
send side 4; settle; shot osd-side-left
send side 5; settle; shot osd-side-right
# NORMAL and BATTLE come from the configuration program: post them as it does.
post_osd() {
  python3 - "$1" "$2" <<'PY'
import os, socket, sqlite3, struct, sys
db = os.path.join(os.environ["XDG_CONFIG_HOME"], "pallix-ostrel", "settings.sqlite3")
handle = sqlite3.connect(db).execute("select data from settings where name = 'OSD Handle'").fetchone()[0]
path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "pallix-ostrel", "wnd-%08x" % handle)
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.sendto(struct.pack("=6I", 0x4D584C50, 1, 0, 0x9100, int(sys.argv[1]), int(sys.argv[2])), path)
PY
}
post_osd 9 0; settle; shot osd-normal
post_osd 9 1; settle; shot osd-battle
sleep 3.2; shot osd-hidden

# The tray icon sits in trayer at the top right; open its menu with a right click.
# The monitor's windows are the display and the icon; the icon is the one in the panel.
icon=
for w in $(xdotool search --classname Qx7Monitor 2>/dev/null || true); do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$Y" -lt 40 ] && { icon=$w; break; }
done
if [ -n "$icon" ]; then
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
  sleep 0.7
  shot tray-menu
  xdotool key Escape
else
  echo "no tray icon window found" >&2
fi
