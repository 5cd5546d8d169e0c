#!/usr/bin/env bash
# Configures and builds into ./build (shared by run.sh and test.sh) with JOBS parallel jobs, or
# one per core. Without the build tools it names what is missing and stops.
set -euo pipefail
# Builtins only until the check has run: where the tools are missing, more may be.
[[ $0 != */* ]] || cd "${0%/*}"
./tools/install-deps.sh --check
jobs=${JOBS:-$(nproc)}
echo "build.sh: building into build/ with $jobs jobs (JOBS sets the number)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$jobs"
echo "build.sh: build/ is up to date"
