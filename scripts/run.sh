#!/usr/bin/env bash
# Builds Corvanta and starts it on the default data directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target corvanta
exec build/src/gui/corvanta "$@"
