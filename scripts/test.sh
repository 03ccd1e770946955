#!/usr/bin/env bash
# Builds Tavrel and runs every test: a formatting check, the Linux suite, the
# same suite under AddressSanitizer and UBSan, and the 32-bit Windows suite
# under Wine. Installs whatever is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/steps.sh

step "installing the build and test tools" scripts/install-deps.sh linux windows

jobs=$(nproc)

echo "== formatting"
check_formatting() {
  git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
}
step "the formatting check" check_formatting

run_suite() {
  local name=$1
  shift
  echo "== $name"
  step "configuring the $name build" \
    cmake -S . -B "build/$name" -DTAVREL_WARNINGS_AS_ERRORS=ON "$@"
  step "building the $name suite" cmake --build "build/$name" -j"$jobs"
  shown_step "the $name suite" \
    ctest --test-dir "build/$name" --output-on-failure
}

run_suite linux -DCMAKE_BUILD_TYPE=Release
run_suite sanitize -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON

source scripts/wine-session.sh
run_suite win32 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
echo "== all tests passed"
