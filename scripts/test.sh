#!/usr/bin/env bash
# The test command: sets up what is missing, builds both widths and runs both suites under Wine.
# The 32-bit suite is the one that counts; the 64-bit one is the fast check of the same sources.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
cd "$SWIVO_ROOT"

# Formatting first: it takes a second or two, and names the files that differ from .clang-format.
bash "$here/format.sh" --check

# A short native fuzz run of the settings-file parser; a finding fails the test command.
bash "$here/fuzz.sh" 100000

# Both widths are built before either suite runs: each suite starts the other width's fixture.
for width in i686 x86_64; do
  echo "[test] building $width"
  cmake --preset "$width" >/dev/null
  cmake --build --preset "$width" -j "$(nproc)"
done

# One Wine server for the whole run saves its start-up for every test program.
wineserver -p >/dev/null 2>&1 || true
# Wine's desktop and services start with the first program and outlive it. Started here with
# their output discarded, they cannot hold ctest's output pipe open until its time-out.
env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" wineboot </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true' EXIT

status=0
for width in i686 x86_64; do
  echo "[test] running the $width suite"
  start=$SECONDS
  ctest --preset "$width" || status=1
  echo "[test] $width suite: $((SECONDS - start)) s"
done
exit $status
