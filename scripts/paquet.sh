#!/usr/bin/env bash
# Builds the Debian package orvane-planning_<version>_<arch>.deb into build/.
# Install it with: apt install ./build/orvane-planning_*.deb
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/installer.sh"
if [ ! -f "$racine/build/build.ninja" ]; then
    cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
# Only what the package holds: the program, its icons and its manual page.
cmake --build "$racine/build" -j "$(nproc)" --target planning icones manuel
cd "$racine/build"
cpack -G DEB
ls -1 "$racine"/build/orvane-planning_*.deb
