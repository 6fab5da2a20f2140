#!/usr/bin/env bash
# Installs what the project needs, builds it and starts a program with the given arguments.
#   scripts/build-and-start.sh pairwell|mirrowen [ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$1
shift

./scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target "$program" catalogs
exec "./build/bin/$program" "$@"
