#!/usr/bin/env bash
# The main job: builds the 32-bit product and shows the task list it sees, with a few sample
# application windows open, under Wine.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
cd "$SWIVO_ROOT"
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j "$(nproc)"

wine() { env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" "$@"; }
bin=build/i686/bin
wineserver -p 2>/dev/null || true
trap 'kill "$samples" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
wine "$bin/swivo-fixture.exe" "app:Sample editor" "modal:Sample with a dialog" "minimized:Sample minimised" \
  "owned:Sample with a palette" &
samples=$!
sleep 8  # a 32-bit process takes a few seconds to start under qemu
wine "$bin/swivo-tasks.exe" "$@"
