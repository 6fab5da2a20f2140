#!/usr/bin/env bash
# Installs what the project needs, builds it with warnings as errors and runs every test.
#   scripts/test.sh             optimised build with debug information, in build/
#   scripts/test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/
#   scripts/test.sh --release   the release configuration a packager builds, in build-release/
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build
options=(-DPAIRWELL_WERROR=ON)
case "${1:-}" in
  --sanitize)
    build=build-sanitize
    options+=(-DPAIRWELL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    ;;
  --release)
    build=build-release
    options+=(-DCMAKE_BUILD_TYPE=Release)
    ;;
esac

cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"
# Window tests need no display.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
