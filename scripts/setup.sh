#!/usr/bin/env bash
# Brings a machine of this kind to a state where the Windows builds compile and run under Wine.
# Idempotent: every step checks first and does only what is missing. Source scripts/env.sh afterwards
# (the other scripts do) for the environment that every Wine command needs.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

say()  { printf '[setup] %s\n' "$*"; }
fail() { printf '[setup] FAILED: %s\n' "$*" >&2; exit 1; }

packages=(wine wine64 wine32:i386 qemu-user-static g++-mingw-w64-i686 g++-mingw-w64-x86-64
          xvfb xauth cmake make googletest clang clang-format imagemagick
          libclang-rt-14-dev)  # libFuzzer and the sanitizers, only recommended by clang
# The main job's picture: a font for the Japanese captions.
if [ "${1:-}" = --display ]; then packages+=(fonts-ipafont-gothic); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding the i386 architecture"
    dpkg --add-architecture i386
  fi
  say "installing: ${missing[*]}"
  apt-get update -qq || fail "apt-get update"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || fail "apt-get install ${missing[*]}"
fi

# 32-bit Linux executables (the 32-bit Wine loader) run through qemu-user on this kernel.
if ! mountpoint -q /proc/sys/fs/binfmt_misc; then
  say "mounting binfmt_misc"
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || fail "mount binfmt_misc"
fi
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  say "registering qemu-i386 for 32-bit executables"
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    > /proc/sys/fs/binfmt_misc/register || fail "binfmt registration"
fi
# Reading another 32-bit process's memory needs every emulated process at guest base 0.
if [ "$(sysctl -n vm.mmap_min_addr)" != 65536 ]; then
  say "setting vm.mmap_min_addr=65536"
  sysctl -qw vm.mmap_min_addr=65536 || fail "sysctl vm.mmap_min_addr"
fi

make_prefix() { # $1 = prefix folder, $2 = graphics driver ("null" or "x11")
  local prefix=$1 driver=$2
  [ -f "$prefix/.swivo-ready-$driver" ] && return 0
  say "creating the Wine prefix $prefix ($driver graphics)"
  mkdir -p "$prefix"
  WINEPREFIX=$prefix "$SWIVO_WINE" wineboot -i >/dev/null 2>&1 || fail "wineboot in $prefix"
  if [ "$driver" = null ]; then
    WINEPREFIX=$prefix "$SWIVO_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 \
      || fail "selecting the null graphics driver"
  fi
  WINEPREFIX=$prefix wineserver -w
  [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ] || fail "the 32-bit half of $prefix is empty"
  touch "$prefix/.swivo-ready-$driver"
}
make_prefix "$SWIVO_PREFIX" null
if [ "${1:-}" = --display ]; then
  make_prefix "$SWIVO_X11_PREFIX" x11
  # Every program on one virtual desktop: Wine then draws the windows' frames and title bars itself.
  if [ ! -f "$SWIVO_X11_PREFIX/.swivo-desktop" ]; then
    for key in 'HKCU\Software\Wine\Explorer /v Desktop /d Default' \
               'HKCU\Software\Wine\Explorer\Desktops /v Default /d 1024x768'; do
      # shellcheck disable=SC2086  # the key and its value are separate words
      WINEPREFIX=$SWIVO_X11_PREFIX "$SWIVO_WINE" reg add $key /f >/dev/null 2>&1 || fail "setting up the virtual desktop"
    done
    WINEPREFIX=$SWIVO_X11_PREFIX wineserver -w
    touch "$SWIVO_X11_PREFIX/.swivo-desktop"
  fi
fi
say "ready"
