#!/usr/bin/env bash
# Builds the program and starts it on the demonstration folder demo/
# (created and filled with sample data on first start).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/construire.sh"
mkdir -p "$racine/demo"
exec "$racine/build/planning" --dossier "$racine/demo" --demo "$@"
