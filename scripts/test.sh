#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test: the normal build
# (unit, pixel and whole-program tests) and the AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
# A test that fails runs once more before it counts: a whole-program test can lose a click on a loaded machine.
# A real fault fails twice.
ctest --test-dir build --output-on-failure -j "$jobs" --repeat until-pass:2
# Native windows need an X display: their tests run once more, one at a time, on a virtual one.
xvfb-run -a ctest --test-dir build --output-on-failure -R 'SWinOnDisplay|UpdaterOnDisplay|ResolutionDialogTest'

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVI_SANITIZE=ON
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^program\.'
