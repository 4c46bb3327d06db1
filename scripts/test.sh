#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test: the normal build
# (unit, pixel and whole-program tests) and the AddressSanitizer/UBSan build. Both halves
# run even when the first fails; the exit code says whether any test failed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

# A second run, or a clone elsewhere, compiles only what changed.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

status=0
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache[@]}"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" || status=1

# The sanitizer build makes only the test programs it runs; the whole-program tests use the normal build.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVI_SANITIZE=ON "${cache[@]}"
cmake --build build-asan -j "$jobs" --target unit_tests
ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
exit "$status"
