#!/usr/bin/env bash
# Builds the Debian package from an existing build tree, unpacks it into a
# scratch root and checks what an owner gets: the files where the menu entry
# and the manual page say, a valid menu entry, a manual page that renders
# without warnings, the dependencies of what the executable really links.
# Usage: verifier_paquet.sh BUILD_DIR
set -uo pipefail
build="$(cd "${1:?dossier de compilation attendu}" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
echecs=0
echec() { echo "ÉCHEC : $*" >&2; echecs=$((echecs + 1)); }
ok() { echo "ok : $*"; }

for outil in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate man objdump; do
    command -v "$outil" >/dev/null || { echo "Outil absent : $outil (bash scripts/installer.sh l'installe)" >&2; exit 1; }
done

brouillon="$(mktemp -d)"
trap 'rm -rf "$brouillon"' EXIT

# The package, written outside the build tree so that a run of
# scripts/paquet.sh at the same time is not disturbed.
if ! (cd "$build" && cpack -G DEB -B "$brouillon/sortie") >"$brouillon/cpack.log" 2>&1; then
    cat "$brouillon/cpack.log" >&2
    echo "ÉCHEC : cpack n'a pas construit le paquet" >&2
    exit 1
fi
debs=("$brouillon"/sortie/orvane-planning_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "ÉCHEC : pas de orvane-planning_*.deb" >&2; exit 1; }
deb="${debs[0]}"
ok "paquet $(basename "$deb")"

racine="$brouillon/racine"
dpkg -x "$deb" "$racine"

# The executable, its version and its help, without a display.
programme="$racine/usr/bin/planning"
[ -x "$programme" ] || echec "usr/bin/planning absent ou non exécutable"
version="$(dpkg-deb -f "$deb" Version)"
annonce="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programme" --version 2>&1)"
[ "$annonce" = "Orvane Planning $version" ] || echec "--version dit « $annonce », le paquet est en version $version"
aide="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programme" --help 2>&1)" || echec "--help a échoué : $aide"
grep -q "^Options :" <<<"$aide" || echec "--help n'est pas en français : $aide"

# The menu entry: valid, and its program and icon are in the package.
entree="$racine/usr/share/applications/orvane-planning.desktop"
if [ -f "$entree" ]; then
    validation="$(desktop-file-validate "$entree" 2>&1)" && [ -z "$validation" ] \
        && ok "desktop-file-validate" || echec "desktop-file-validate : $validation"
    grep -qx "Categories=Office;" "$entree" || echec "la catégorie du menu n'est pas Office"
    exec_="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entree")"
    [ -x "$racine/usr/bin/$exec_" ] || echec "Exec=$exec_ ne désigne pas un programme de usr/bin"
    icone="$(sed -n 's/^Icon=//p' "$entree")"
    [ -f "$racine/usr/share/icons/hicolor/scalable/apps/$icone.svg" ] || echec "icône $icone.svg absente"
    for taille in 48 256; do
        png="$racine/usr/share/icons/hicolor/${taille}x${taille}/apps/$icone.png"
        if [ -f "$png" ]; then
            # Width and height are the big-endian words at bytes 16 and 20.
            dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
            [ "$dims" = "${taille}x${taille}" ] || echec "$icone.png de ${taille} px mesure $dims"
        else
            echec "icône ${taille}x${taille}/apps/$icone.png absente"
        fi
    done
    ok "entrée de menu : Exec=$exec_, Icon=$icone"
else
    echec "usr/share/applications/orvane-planning.desktop absent"
fi

# The manual page: renders without a warning, documents every option of
# --help, and the files it names under /usr are in the package.
manuel="$racine/usr/share/man/man1/planning.1.gz"
if [ -f "$manuel" ]; then
    avertissements="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manuel" 2>&1 >/dev/null)"
    [ -z "$avertissements" ] && ok "man -l sans avertissement" || echec "man -l : $avertissements"
    source_man="$(zcat "$manuel")"
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$aide" | sort -u); do
        grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" <<<"$source_man" || echec "option $option absente du manuel"
    done
    for chemin in $(grep -o '/usr/[^ ]*[a-z]' <<<"$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$manuel" 2>/dev/null)" | sort -u); do
        case "$chemin" in
            /usr/bin/planning|/usr/share/*) [ -e "$racine$chemin" ] || echec "le manuel cite $chemin, absent du paquet" ;;
        esac
    done
    ok "manuel"
else
    echec "usr/share/man/man1/planning.1.gz absent"
fi
[ -f "$racine/usr/share/doc/orvane-planning/lanceftp.sh.exemple" ] || echec "lanceftp.sh.exemple absent de usr/share/doc/orvane-planning"

# Dependencies: the package of every library the executable links, the
# SQLite driver and xdg-utils; poppler-utils only serves the tests.
dependances="$(dpkg-deb -f "$deb" Depends)"
liste="$(tr ',' '\n' <<<"$dependances" | sed 's/^ *//; s/ .*//')"
for bibliotheque in $(objdump -p "$programme" | awk '/NEEDED/ {print $2}'); do
    chemin="$(ldconfig -p | awk -v b="$bibliotheque" '$1 == b {print $NF; exit}')"
    # dpkg knows a file under the path its package gave it: with or without
    # the /usr of a merged system, before or after its symbolic links.
    paquet=""
    for essai in "$chemin" "$(readlink -f "$chemin")" "${chemin#/usr}" "/usr$chemin"; do
        paquet="$(dpkg -S "$essai" 2>/dev/null | head -1 | cut -d: -f1)"
        [ -n "$paquet" ] && break
    done
    [ -n "$paquet" ] || { echec "paquet de $bibliotheque introuvable"; continue; }
    grep -qx "$paquet" <<<"$liste" || echec "$bibliotheque ($paquet) manque aux dépendances : $dependances"
done
for requis in libqt6sql6-sqlite xdg-utils; do
    grep -qx "$requis" <<<"$liste" || echec "$requis manque aux dépendances : $dependances"
done
! grep -qx "poppler-utils" <<<"$liste" || echec "poppler-utils n'est pas utile à l'exécution"
# A server's desks: Qt's PostgreSQL driver, recommended (one desk does without).
grep -q "libqt6sql6-psql" <<<"$(dpkg-deb -f "$deb" Recommends)" || echec "libqt6sql6-psql manque aux recommandations"
ok "dépendances : $dependances"

[ "$echecs" -eq 0 ] || { echo "$echecs vérification(s) en échec" >&2; exit 1; }
echo "Le paquet est complet."
