#!/usr/bin/env bash
# Installs what the project needs, builds it and starts Pairwell with the given arguments.
exec "$(dirname "$0")/build-and-start.sh" pairwell "$@"
