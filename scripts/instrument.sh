#!/usr/bin/env bash
# Builds one of the 32-bit instruments under bench/ in build/bench/i686, with the targets it needs,
# and runs it under Wine, outside the test command's pass/fail:
#   instrument.sh PROGRAM [TARGET ...] -- [ARGUMENT ...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
cd "$SWIVO_ROOT"

program=$1
shift
targets=("$program")
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  targets+=("$1")
  shift
done
[ $# -gt 0 ] && shift

build=build/bench/i686
cmake -S . -B "$build" --toolchain cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" "$build/bin/$program.exe" "$@"
