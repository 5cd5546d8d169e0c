#!/usr/bin/env bash
# Installs what is missing, builds and starts the application.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./build.sh
exec ./build/app/vantora-direct "$@"
