#!/usr/bin/env bash
# Soak run of the 32-bit plug-in in a stand-in host under Wine, outside the test command's
# pass/fail: 10,000 trigger–dismiss and 1,000 trigger–choose cycles by default, counting every
# handle the plug-in creates and destroys and the host's private memory. Exit code 0 when no
# handle is left and memory grew by at most 1 MiB. Arguments go to swivo-soak: --dismiss N,
# --choose M (a cycle takes about 0.13 s on a quiet desktop under qemu).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exec bash "$here/instrument.sh" swivo-soak swivo_p -- "$@"
