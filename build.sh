#!/usr/bin/env bash
# Configures and builds into ./build (shared by run.sh and test.sh).
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$(nproc)"
