# Environment for every Wine command of the project; sourced by the scripts and the emulator wrapper.
_swivo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export SWIVO_ROOT=$_swivo_root
export SWIVO_PREFIX=${SWIVO_PREFIX:-$_swivo_root/build/wineprefix}
export SWIVO_X11_PREFIX=${SWIVO_X11_PREFIX:-$_swivo_root/build/wineprefix-x11}
export WINEPREFIX=$SWIVO_PREFIX
export WINEDEBUG=-all
export SWIVO_WINE=/usr/lib/wine/wine64
export WINEDLLOVERRIDES="mscoree,mshtml="
# Start-up of a 32-bit process takes ~3 s with this reservation instead of ~60 s without.
export QEMU_RESERVED_VA=0x81000000
export QEMU_GUEST_BASE=0
# Wine commands also get LC_ALL=ja_JP.UTF-8 (cmake/wine-run.sh), which makes the ANSI code page 932.
unset _swivo_root
