#!/usr/bin/env bash
# Builds Tavrel and runs every test: a formatting check, the Linux suite, the
# same suite under AddressSanitizer and UBSan, the threads test under
# ThreadSanitizer, a short fuzzing run of the route index, and the 32-bit
# Windows suite under Wine. Installs whatever is missing.
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

# run_suite NAME TARGET TESTS CMAKE-ARGS...: builds TARGET (all) in
# build/NAME and runs the tests matching TESTS (all: .).
run_suite() {
  local name=$1 target=$2 tests=$3
  shift 3
  echo "== $name"
  step "configuring the $name build" \
    cmake -S . -B "build/$name" -DTAVREL_WARNINGS_AS_ERRORS=ON "$@"
  step "building the $name suite" \
    cmake --build "build/$name" -j"$jobs" --target "$target"
  shown_step "the $name suite" \
    ctest --test-dir "build/$name" --output-on-failure -R "$tests"
}

run_suite linux all . -DCMAKE_BUILD_TYPE=Release
run_suite sanitize all . -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON
run_suite tsan tavrel_threads_tests '^threads$' -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVREL_TSAN=ON
run_suite fuzz tavrel_route_fuzzer '^fuzz_' -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVREL_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14

source scripts/wine-session.sh
run_suite win32 all . -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
echo "== all tests passed"
