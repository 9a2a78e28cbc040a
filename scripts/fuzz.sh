#!/usr/bin/env bash
# Builds the settings-file fuzz target natively on Linux (clang with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) into build/fuzz and runs it a fixed number of times, starting
# from our seeds in fuzz/corpus and what earlier runs kept in build/fuzz/corpus.
# Usage: scripts/fuzz.sh [runs]. Exits non-zero on a finding and leaves the input in build/fuzz.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-600000}  # about 35 s on an idle two-core machine
out=$root/build/fuzz
target=$out/ini_fuzz
sources=("$root/plugin/IniInteger.cpp" "$root/plugin/IniSections.cpp" "$root/plugin/SettingsText.cpp"
         "$root/tasklist/ExcludeRules.cpp" "$root/fuzz/ini_fuzz.cpp")

mkdir -p "$out/corpus"
if [ ! -x "$target" ] || [ -n "$(find "${sources[@]}" "$root"/plugin/{IniInteger,IniSections,SettingsTable,SettingsText}.h \
    "$root"/tasklist/{ExcludeRules,TaskListOptions}.h "$root"/taskmenu/MenuSettings.h "$root"/ui/ThemeSetting.h \
    "$root"/base/AsciiText.h -newer "$target")" ]; then
  echo "[fuzz] building $target"
  clang++ -std=c++17 -O2 -g -Wall -Wextra -Wpedantic -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I"$root" "${sources[@]}" -o "$target"
fi

start=$(date +%s%N)
if ! "$target" -runs="$runs" -artifact_prefix="$out/" "$out/corpus" "$root/fuzz/corpus" 2>"$out/run.log"; then
  tail -n 30 "$out/run.log" >&2
  echo "[fuzz] FINDING: see $out/run.log and the crash-* file in $out" >&2
  exit 1
fi
executions=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$out/run.log")
ms=$((($(date +%s%N) - start) / 1000000))
printf '[fuzz] %s executions in %d.%03d s, no finding\n' "$executions" $((ms / 1000)) $((ms % 1000))
