#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test: the normal build
# (unit, pixel and whole-program tests) and the AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
# A test that fails runs once more before it counts: LeakSanitizer's tracer now and then dies scanning the
# GL driver's memory, and a whole-program test can lose a click on a loaded machine. A real fault fails twice.
retry=(--repeat until-pass:2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" "${retry[@]}"
# Native windows need an X display: their tests run once more, one at a time, on a virtual one.
xvfb-run -a ctest --test-dir build --output-on-failure -R 'SWinOnDisplay|UpdaterOnDisplay|ResolutionDialogTest'

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVI_SANITIZE=ON
cmake --build build-asan -j "$jobs"
# LeakSanitizer's tracer crashes at the exit of one pixel test when ctest starts it (never when it runs by
# itself); that test runs in the normal build.
ctest --test-dir build-asan --output-on-failure -j "$jobs" "${retry[@]}" \
    -E '^program\.|^ButtonPixels\.StatePartDrawsTintedInsideItsAreaAndNeedsAPart$'
