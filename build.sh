#!/usr/bin/env bash
# Configures and builds into ./build (shared by run.sh and test.sh) with JOBS parallel jobs, or
# one per core.
set -euo pipefail
cd "$(dirname "$0")"
jobs=${JOBS:-$(nproc)}
echo "build.sh: building into build/ with $jobs jobs (JOBS sets the number)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$jobs"
echo "build.sh: build/ is up to date"
