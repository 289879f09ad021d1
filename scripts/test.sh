#!/usr/bin/env bash
# Builds everything and runs every test: the release build, then the sanitizer build
# (set CORVANTA_SKIP_ASAN=1 to run the release build only).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default -j2
if [ "${CORVANTA_SKIP_ASAN:-0}" != "1" ]; then
  cmake --preset asan
  cmake --build --preset asan
  ctest --preset asan -j2
fi
