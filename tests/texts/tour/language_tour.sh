#!/usr/bin/env bash
# Screenshots of the product in one language after another, for a person to look at:
# the profile page with a button selected, the function chooser, a message box, the
# performance window, the macro editor and the tray menu. A private Xvfb with a window
# manager (openbox), a compositor and a tray host; the programs against pallix-vmouse
# in private folders, the language chosen through LANGUAGE. Not run by ctest.
#
#   tests/texts/tour/language_tour.sh [-b BUILD] [-o DIR] FILE...
#
# FILE is a language file (its name says the language: German.txt, Japanese.txt ...;
# a bare name is taken from resources/Languages)
# or "sample-ja" for the hand-made Japanese file of make_sample_japanese.py. The
# monitor's file of that name comes from resources/MonitorLanguages (or the sample's).
# Shots go to DIR/<file>/ (default screens/languages). A step that does not happen is
# reported and the tour goes on with the next language.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$root/build out=$root/screens/languages
while getopts b:o: opt; do
  case $opt in b) build=$OPTARG ;; o) out=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || { sed -n '2,16p' "$0" >&2; exit 2; }
for tool in Xvfb openbox xcompmgr trayer xdotool import python3; do
  command -v $tool >/dev/null || { echo "needs $tool (xvfb openbox xcompmgr trayer xdotool imagemagick)" >&2; exit 77; }
done
vmouse=$build/tools/vmouse/pallix-vmouse pallix=$build/app/Pallix monitor=$build/monitor/Qx7Monitor
pallixctl=$build/cli/pallixctl

declare -A locale=([TradionalChinese]=zh_TW [SimpleChinese]=zh_CN [Czech]=cs_CZ [German]=de_DE
  [Spanish]=es_ES [French]=fr_FR [Italian]=it_IT [Japanese]=ja_JP [Korean]=ko_KR [Polish]=pl_PL
  [Brasil]=pt_BR [Russian]=ru_RU [Thai]=th_TH [Turkish]=tr_TR [English]=en_US)

pids=()
stop_all() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; pids=(); }
trap 'stop_all; [ -n "${scratch:-}" ] && rm -rf "$scratch"' EXIT
scratch=$(mktemp -d /tmp/pallix-tour-XXXXXX)

disp=90
while [ -e "/tmp/.X11-unix/X$disp" ] || [ -e "/tmp/.X$disp-lock" ]; do disp=$((disp + 1)); done
Xvfb ":$disp" -noreset -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done
export DISPLAY=":$disp"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY LC_ALL LC_MESSAGES
export PALLIX_HID_BACKENDS=virtual LANG=C.UTF-8
openbox >/dev/null 2>&1 & desktop=($!)
xcompmgr -n >/dev/null 2>&1 & desktop+=($!)
trayer --edge top --align right --widthtype pixel --width 120 --height 32 --transparent false --tint 0x303030 \
  >/dev/null 2>&1 & desktop+=($!)
trap 'stop_all; kill "${desktop[@]}" $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$scratch"' EXIT
sleep 1

# The UI string N of a language file (0: the dialogs' title, 11: the macro editor's), as
# an anchored pattern for xdotool.
ui_title() {
  python3 - "$1" "$2" <<'PY'
import re, sys
lines = open(sys.argv[1], "rb").read().decode("utf-16-le").lstrip("\ufeff").split("\r\n")
print("^" + re.sub(r"([.\[\]()*+?{}|^$\\])", r"\\\1", lines[29 + int(sys.argv[2])]) + "$")
PY
}
# The main window and the dialogs share one title: the dialogs are the other windows of it.
main=
others_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${main:-none}"; }
window_named() {
  local id
  for _ in $(seq 50); do
    id=$(others_named "$1" | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
window_gone() {
  for _ in $(seq 50); do
    [ -z "$(others_named "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}
click() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
  sleep 0.4
}
pick_entry() {
  local keys=(Home)
  for _ in $(seq "$1"); do keys+=(Down); done
  sleep 0.3
  xdotool key --delay 50 "${keys[@]}" Return
  sleep 0.3
}

tour() {  # tour LANGUAGE_FILE MONITOR_FILE|"" NAME [LABEL]
  local file=$1 tray_file=$2 name=$3 base=${3%.txt}
  local work=$scratch/${4:-$base} shots=$out/${4:-$base}
  mkdir -p "$work/run" "$work/config" "$work/home/Documents/PALLIX Ostrel" "$work/install/Languages" "$work/cwd" "$shots"
  chmod 700 "$work/run"
  rm -f "$shots"/*.png
  cp "$file" "$work/install/Languages/$name"
  [ -n "$tray_file" ] && cp "$tray_file" "$work/cwd/$name"
  printf '\x6d\x18\xa1\x0d\x00\x19\x01\x00\x00\x15\x01\x04\x95\x01\x08\x78\x01\x02\xf8\x01\x02\x7e' \
    >"$work/home/Documents/PALLIX Ostrel/Reload.Mac"
  (
    export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config HOME=$work/home LANGUAGE=${locale[$base]}
    skip() { echo "  $base: $*" >&2; stop_all; exit 1; }
    shot() { import -window root "$shots/$1.png" && echo "  $shots/$1.png"; }
    "$pallixctl" settings set Path "$work/install" --string >/dev/null || skip "cannot set Path"
    "$vmouse" --name tour >"$work/vmouse.log" 2>&1 & pids+=($!)
    for _ in $(seq 50); do "$vmouse" --name tour send status >/dev/null 2>&1 && break; sleep 0.1; done
    (cd "$work/cwd" && exec "$monitor" /Automation) >"$work/monitor.log" 2>&1 & pids+=($!)
    "$pallix" >"$work/pallix.log" 2>&1 & pids+=($!)
    local title editor_title chooser
    title=$(ui_title "$file" 0) editor_title=$(ui_title "$file" 11)
    main=
    main=$(window_named "$title") || skip "no main window"
    for _ in $(seq 100); do
      eval "$(xdotool getwindowgeometry --shell "$main")"
      [ "$WIDTH" -gt 100 ] && break
      sleep 0.1
    done
    [ "$WIDTH" -gt 100 ] || skip "the program did not load the mouse"
    sleep 0.5

    click "$main" 78 380                             # button 5 on the mouse picture
    shot 1-page3-button5
    click "$main" 605 273                            # FUNCTION
    chooser=$(window_named "$title") || skip "the function chooser did not open"
    click "$chooser" 90 101                          # its list
    sleep 0.3
    shot 2-function-chooser
    xdotool key Escape; sleep 0.3; xdotool key Escape
    window_gone "$title" || skip "the function chooser did not close"

    click "$main" 120 240                            # button 1: the left button
    click "$main" 605 273
    chooser=$(window_named "$title") || skip "the function chooser did not open for button 1"
    click "$chooser" 90 101
    pick_entry 3                                     # DOUBLE CLICK: refused for the left button
    xdotool key Return
    sleep 0.8
    shot 3-message
    xdotool key Return; sleep 0.5
    [ -n "$(others_named "$title")" ] && { xdotool key Escape; sleep 0.5; }

    click "$main" 420 427                            # PERFORMANCE
    window_named "$title" >/dev/null || skip "the performance window did not open"
    sleep 0.5
    shot 4-performance
    xdotool key Escape
    window_gone "$title" || skip "the performance window did not close"

    click "$main" 545 427                            # MACRO EDITOR
    editor=$(window_named "$editor_title") || skip "the macro editor did not open"
    sleep 0.3
    click "$editor" 113 81
    pick_entry 0
    shot 5-macro-editor
    click "$editor" 468 458
    window_gone "$editor_title" || skip "the macro editor did not close"

    local icon=
    for w in $(xdotool search --classname Qx7Monitor 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$Y" -lt 40 ] && [ "$WIDTH" -gt 4 ] && { icon=$w; break; }
    done
    if [ -n "$icon" ]; then
      xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
      sleep 0.8
      shot 6-tray-menu
      xdotool key Escape
    else
      echo "  $base: no tray icon" >&2
    fi
    "$vmouse" --name tour send quit >/dev/null 2>&1
    stop_all
  )
}

status=0
for arg in "$@"; do
  if [ "$arg" = sample-ja ]; then
    python3 "$root/tests/texts/tour/make_sample_japanese.py" "$root/resources/Languages/English.txt" "$scratch/sample"
    echo "sample Japanese:"
    tour "$scratch/sample/Japanese.txt" "$scratch/sample/monitor/Japanese.txt" Japanese.txt sample-ja || status=1
    continue
  fi
  [ -f "$arg" ] || arg=$root/resources/Languages/$arg
  name=$(basename "$arg")
  [ -f "$arg" ] || { echo "$name: no such file" >&2; status=1; continue; }
  [ -n "${locale[${name%.txt}]:-}" ] || { echo "$name: not a language file of the table" >&2; status=1; continue; }
  tray=$root/resources/MonitorLanguages/$name
  [ -f "$tray" ] || tray=
  echo "$name:"
  tour "$arg" "$tray" "$name" || status=1
done
exit $status
