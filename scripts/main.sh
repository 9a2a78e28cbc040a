#!/usr/bin/env bash
# The main job: builds the 32-bit product into dist/ with its release archive swivo_p-<version>.zip
# (the DLL, the sample settings, swivo-tasks and the Japanese readme), loads it in the stand-in host
# under Wine with a few sample application windows open on a virtual desktop, pops up the task menu
# with accelerator letters on and saves a picture of the screen as build/task-menu.png. With a
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

cleanup() {
  [ -n "${samples:-}" ] && kill "$samples" 2>/dev/null
  WINEPREFIX=$SWIVO_X11_PREFIX wineserver -k 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  true
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
printf '[GLOBAL]\r\nAutoHotKey=1\r\n' >"$demo/swivo_p.ini"

# Windows of another program; the host opens the ones whose icons and Japanese captions show, since
# Wine draws no other process's icons and passes command lines in ASCII only.
wine "$bin/swivo-fixture.exe" "modal:Report" "minimized:Minimised viewer" \
  "owned:Paint" "app:Terminal" &
samples=$!
sleep 6  # a 32-bit process takes a few seconds to start under qemu

if $interactive; then
  echo "[main] the host is open: click its button or press Ctrl+Alt+T; close it to end"
  wine "$bin/swivo-host.exe" "$demo/swivo_p.dll" --hotkey --sample-windows
else
  rm -f build/task-menu.png build/host.log
  wine "$bin/swivo-host.exe" "$demo/swivo_p.dll" --execute-after 1000 --hold-menu 4000 --quit-after 60000 \
    --sample-windows >build/host.log &
  host=$!
  for _ in $(seq 600); do grep -q '^menu open' build/host.log && break; sleep 0.1; done
  sleep 1  # the menu highlights the previous task once it first waits for input
  # The X server's picture: Wine's own screen copy leaves out the window frames of a virtual desktop.
  import -window root build/task-menu.png
  wait "$host"
  cat build/host.log
  [ -s build/task-menu.png ] && grep -q '^menu open' build/host.log
  echo "[main] screenshot: build/task-menu.png"
fi
