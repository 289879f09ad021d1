#!/usr/bin/env bash
# Installs the Debian 12 packages Corvanta builds and tests with, if any are missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libsqlite3-dev sqlite3 libpq-dev postgresql qt6-base-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang-format poppler-utils
          xvfb xauth imagemagick openbox xdotool nlohmann-json3-dev pxlib-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
