#!/usr/bin/env bash
# The main job: builds the 32-bit product into dist/ with its release archive swivo_p-<version>.zip
# (the DLL, the sample settings, swivo-tasks and the Japanese readme), loads it in the stand-in host
# under Wine with a few sample application windows open on a virtual desktop, pops up the task menu
# with accelerator letters on and saves a picture of the screen as build/task-menu.png, and one of
# the dark menu at 150 % as build/task-menu-dark-150.png, and one of the menu finding a kana
# caption by its romaji as build/task-menu-find.png. With a
# display (DISPLAY set, or --interactive) the host stays open instead: its button or Ctrl+Alt+T pops
# up the menu.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
cd "$SWIVO_ROOT"

cmake --preset i686 >/dev/null
cmake --build --preset i686 -j "$(nproc)" --target swivo_p swivo-host swivo-fixture swivo-tasks swivo_release
mkdir -p dist
cp build/i686/release/stage/swivo_p.dll dist/  # as in the archive: without debug information
[ -f plugin/swivo_p.ini ] && cp plugin/swivo_p.ini dist/
rm -f dist/swivo_p-*.zip
cp build/i686/release/swivo_p-*.zip dist/  # the build keeps only the current version's archive
echo "[main] dist/swivo_p.dll and dist/$(cd dist && ls swivo_p-*.zip) built"

interactive=false
if [ "${1:-}" = --interactive ] || { [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; }; then interactive=true; fi

# Each may be gone already: the DPI reset at the end restarts the prefix's server.
cleanup() {
  [ -z "${samples:-}" ] || kill "$samples" 2>/dev/null || true
  WINEPREFIX=$SWIVO_X11_PREFIX wineserver -k 2>/dev/null || true
  [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

if ! $interactive; then
  display=:91
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
fi
bash "$here/setup.sh" --display
export WINEPREFIX=$SWIVO_X11_PREFIX
wine() { env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" "$@"; }
bin=build/i686/bin

# The demo's plug-in reads settings of its own beside it: accelerator letters in the first style.
demo=build/demo
mkdir -p "$demo"
cp dist/swivo_p.dll "$demo/"

# Windows of another program; the host opens the ones whose icons and Japanese captions show, since
# Wine draws no other process's icons and passes command lines in ASCII only.
open_samples() {
  wine "$bin/swivo-fixture.exe" "modal:Report" "minimized:Minimised viewer" \
    "owned:Paint" "app:Terminal" &
  samples=$!
  sleep 6  # a 32-bit process takes a few seconds to start under qemu
}

# Pops the menu up in the stand-in host with the settings $2, types $3 into it if given, and saves the X server's picture as $1
# (Wine's own screen copy leaves out the window frames of a virtual desktop).
take_picture() {
  printf '[GLOBAL]\r\nAutoHotKey=1\r\n%b' "$2" >"$demo/swivo_p.ini"
  rm -f "$1" build/host.log
  wine "$bin/swivo-host.exe" "$demo/swivo_p.dll" --execute-after 1000 --hold-menu 4000 --quit-after 60000 \
    --sample-windows ${3:+--type "$3"} >build/host.log &
  host=$!
  for _ in $(seq 600); do grep -q '^menu open' build/host.log && break; sleep 0.1; done
  sleep 1  # the menu highlights the previous task once it first waits for input
  import -window root "$1"
  wait "$host"
  cat build/host.log
  [ -s "$1" ] && grep -q '^menu open' build/host.log
  echo "[main] screenshot: $1"
}

# The prefix's DPI is read when its server starts: 144 is a screen at 150 %.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  kill "$samples" 2>/dev/null || true
  samples=
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

printf '[GLOBAL]\r\nAutoHotKey=1\r\n' >"$demo/swivo_p.ini"
open_samples
if $interactive; then
  echo "[main] the host is open: click its button or press Ctrl+Alt+T; close it to end"
  wine "$bin/swivo-host.exe" "$demo/swivo_p.dll" --hotkey --sample-windows
else
  take_picture build/task-menu.png ""
  # The same menu on a dark desktop at 150 %.
  set_dpi 144
  open_samples
  take_picture build/task-menu-dark-150.png "Theme=2\r\n"
  set_dpi 96
  # "memo" is the reading of the kana of "議事録.txt - メモ帳".
  open_samples
  take_picture build/task-menu-find.png "" "/memo"
fi
