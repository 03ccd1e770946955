#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# the machine lacks. Usage: scripts/install-deps.sh [linux] [windows]
set -euo pipefail

want_windows=false
for target in "$@"; do
  [[ $target == windows ]] && want_windows=true
done

missing=()
command -v cmake >/dev/null || missing+=(cmake)
command -v g++ >/dev/null || missing+=(g++)
command -v make >/dev/null || missing+=(make)
command -v clang-format >/dev/null || missing+=(clang-format)
[[ -f /usr/src/googletest/googletest/CMakeLists.txt ]] || missing+=(googletest)
[[ -f /usr/share/publicsuffix/public_suffix_list.dat ]] || missing+=(publicsuffix)
command -v valgrind >/dev/null || missing+=(valgrind)
# clang with libFuzzer and ThreadSanitizer, for the fuzz and thread runs
command -v clang++-14 >/dev/null || missing+=(clang-14)
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || missing+=(libclang-rt-14-dev)

if $want_windows; then
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686)
  command -v wine >/dev/null || missing+=(wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
fi

[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
if $want_windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
