#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/construire.sh"
cd "$racine/build"
# The tests labelled "postgresql" run against a throwaway server that
# pg_virtualenv starts (and removes) around the whole run; without one they
# are skipped, each saying why.
# A run killed earlier (Ctrl+C, a closed pipe) can leave pg_virtualenv's
# cluster behind, and pg_virtualenv then refuses to start: it is removed.
if command -v pg_lsclusters >/dev/null; then
    pg_lsclusters -h 2>/dev/null | awk '$2 == "regress" {print $1}' | while read -r version; do
        pg_dropcluster --stop "$version" regress || true
    done
fi
if command -v pg_virtualenv >/dev/null && pg_virtualenv true >/dev/null 2>&1; then
    pg_virtualenv env QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
else
    echo "pg_virtualenv ne démarre pas de serveur PostgreSQL : les tests « postgresql: » seront ignorés." >&2
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
fi
