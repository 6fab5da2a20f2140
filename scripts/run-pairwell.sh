#!/usr/bin/env bash
# Installs what the project needs, builds it and starts Pairwell with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target pairwell catalogs
exec ./build/bin/pairwell "$@"
