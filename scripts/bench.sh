#!/usr/bin/env bash
# Benchmark of the task menu, outside the test command's pass/fail: builds the 32-bit programs in
# build/bench/i686 and runs swivo-bench under Wine. It prints a table and writes build/bench.csv.
# Arguments go to swivo-bench: --repeats R (default 7), --sizes N:K,... (default 50:5,200:20,1000:50).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
cd "$SWIVO_ROOT"

build=build/bench/i686
cmake -S . -B "$build" --toolchain cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target swivo-bench swivo-fixture
env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" "$build/bin/swivo-bench.exe" --csv "Z:$SWIVO_ROOT/build/bench.csv" "$@"
