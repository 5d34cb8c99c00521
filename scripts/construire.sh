#!/usr/bin/env bash
# Configures (once) and builds everything into build/.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/installer.sh"
if [ ! -f "$racine/build/build.ninja" ]; then
    cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$racine/build" -j "$(nproc)"
