#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's environment; ctest's emulator for both widths.
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
exec env LC_ALL=ja_JP.UTF-8 "$SWIVO_WINE" "$@"
