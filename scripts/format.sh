#!/usr/bin/env bash
# Formats the C++ sources of the product, the tools and the tests by .clang-format (clang-format 14,
# which scripts/setup.sh installs). With --check it changes nothing, names the files that differ and
# fails if there are any; the test command runs it so.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(find base tasklist ui taskmenu plugin tools tests -name '*.cpp' -o -name '*.h' | sort)

if [ "${1:-}" != --check ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
status=0
report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) || status=$?
((status == 0)) && exit 0
differing=$(sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if [ -z "$differing" ]; then
  printf '%s\n' "$report" >&2  # clang-format itself failed
else
  printf '[format] these files differ from .clang-format (bash scripts/format.sh formats them):\n' >&2
  printf '  %s\n' $differing >&2
fi
exit 1
