#!/usr/bin/env bash
# Retakes the pictures in docs/screenshots on a virtual X display of a 1366x768 laptop.  Names of further windows
# (InventoryForm, FormClients...) may follow; their pictures go to docs/screenshots too.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target corvanta-screenshots
xvfb-run -a -s "-screen 0 1366x768x24" build/tests/gui/corvanta-screenshots docs/screenshots "$@"
