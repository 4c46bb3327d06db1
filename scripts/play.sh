#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
exec ./build/Torvi_DX9 "$@"
