#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/construire.sh"
cd "$racine/build"
# The tests labelled "postgresql" run against a throwaway server that
# pg_virtualenv starts (and removes) around the whole run; without one they
# are skipped, each saying why.
if command -v pg_virtualenv >/dev/null && pg_virtualenv true >/dev/null 2>&1; then
    pg_virtualenv env QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
else
    echo "pg_virtualenv ne démarre pas de serveur PostgreSQL : les tests « postgresql: » seront ignorés." >&2
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
fi
