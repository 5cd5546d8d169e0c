#!/usr/bin/env bash
# Installs what is missing, builds and runs every test with JOBS parallel jobs, or one per core;
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./build.sh
cd build
ctest --output-on-failure --no-tests=error --parallel "${JOBS:-$(nproc)}"
