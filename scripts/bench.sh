#!/usr/bin/env bash
# Benchmark of the task menu, outside the test command's pass/fail: builds the 32-bit programs in
# build/bench/i686 and runs swivo-bench under Wine. It prints a table and writes build/bench.csv.
# Arguments go to swivo-bench: --repeats R (default 7), --sizes N:K,... (default 50:5,200:20,1000:50).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
exec bash "$here/instrument.sh" swivo-bench swivo-fixture -- --csv "Z:$root/build/bench.csv" "$@"
