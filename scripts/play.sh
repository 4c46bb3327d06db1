#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only the game and its data: tests and benchmarks are for scripts/test.sh.
cmake --build build --target Torvi_DX9 game_data track_check
exec ./build/Torvi_DX9 "$@"
