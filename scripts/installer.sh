#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test.
# Does nothing when they are all present.
set -euo pipefail
paquets=(cmake ninja-build g++ ccache qt6-base-dev libqt6sql6-sqlite libgl-dev
         libgtest-dev fonts-dejavu-core qt6-translations-l10n
         poppler-utils librsvg2-bin dpkg-dev desktop-file-utils man-db
         libical-dev pkg-config qt6-charts-dev libqt6opengl6-dev
         libqt6sql6-psql postgresql)
manquants=()
for p in "${paquets[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
    echo "Installation de : ${manquants[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${manquants[@]}"
fi
