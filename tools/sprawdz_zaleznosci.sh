#!/usr/bin/env bash
# Checks the one-way graph of the program's folders: a file may include its
# own folder and the folders below its level, never a folder on its level or
# above it. The core (common, model, route, render, analiza, generators,
# wymiana, nmt, scena) uses no Qt; render/qt is the Qt canvas at the renderer's level.
# scena/ sits above wymiana/ because its one open flow reads LandXML too.
#
#   main.cpp                   60
#   shell/, cli/               50
#   dialogs/                   40
#   scena/                     35
#   generators/, wymiana/, nmt/ 30  (wymiana: LandXML and glTF; nmt: elevation grids to a TIN)
#   analiza/                   25  (surface heights, profiles, the driver's eye, sight distance)
#   route/, render/, render/qt 20  (render/qt may include render/)
#   model/                     10
#   common/                    0
#
# Usage: tools/sprawdz_zaleznosci.sh [source directory]; exit 1 on a violation.
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2

poziom() {
    case "$1" in
        common) echo 0 ;;
        model) echo 10 ;;
        route | render | render/qt) echo 20 ;;
        analiza) echo 25 ;;
        generators | wymiana | nmt) echo 30 ;;
        scena) echo 35 ;;
        dialogs) echo 40 ;;
        shell | cli) echo 50 ;;
        .) echo 60 ;;
        *) echo -1 ;;
    esac
}

bledy=0
for plik in main.cpp common/* model/* route/* render/* render/qt/* analiza/* generators/* wymiana/* nmt/* scena/* dialogs/* shell/* cli/*; do
    [ -f "$plik" ] || continue
    case "$plik" in *.h | *.cpp) ;; *) continue ;; esac
    folder=$(dirname "$plik")
    p=$(poziom "$folder")
    while IFS= read -r linia; do
        cel=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$linia")
        celFolder=$(dirname "$cel")
        [ "$celFolder" = "$folder" ] && continue
        [ "$folder" = render/qt ] && [ "$celFolder" = render ] && continue
        q=$(poziom "$celFolder")
        if [ "$q" -lt 0 ] || [ "$q" -ge "$p" ]; then
            echo "$plik: #include \"$cel\" (poziom $q) nie jest poniżej folderu $folder (poziom $p)"
            bledy=$((bledy + 1))
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$plik")
    # The core has no Qt.
    if [ "$p" -le 35 ] && [ "$folder" != render/qt ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$plik"; then
        echo "$plik: rdzeń programu nie może używać Qt"
        bledy=$((bledy + 1))
    fi
done
# The analyses, the exchange formats and the command-line tool take the
# project (or its parts) as parameters: they name neither the window's project
# (ProjektOkna) nor the references into it (model/Zmienne.h). Comments and
# texts are left out, and so are members (after '.', '->' or '::', a member's
# declaration, an initialiser, an enumerator).
globalne='TEREN|PROJ|Trasa|ParametryProjektowe|ProjektOkna|KomunikatyTrasy'
for plik in analiza/* wymiana/* cli/*; do
    case "$plik" in *.h | *.cpp) ;; *) continue ;; esac
    while IFS= read -r linia; do
        echo "$plik:$linia: używa projektu okna; przekaż projekt albo jego część jako parametr"
        bledy=$((bledy + 1))
    done < <(perl -0777 -pe 's{R"\((.*?)\)"}{"\"\"" . ("\n" x ($1 =~ tr/\n//))}gse;
                            s{'"'"'(?:[^'"'"'\\\n]|\\.)'"'"'}{0}g; s{"(?:[^"\\\n]|\\.)*"}{""}g; s{//[^\n]*}{}g' "$plik" |
        grep -nE "(^|[^.>:[:alnum:]_])($globalne)([^[:alnum:]_(]|\$)" |
        grep -vE "^[0-9]+:[[:space:]]*(enum |(const )?[[:alnum:]_:<>, ]+[&*]? +($globalne)[[:space:]]*(=[^;]*)?;[[:space:]]*\$)")
done

if [ "$bledy" -gt 0 ]; then
    echo "naruszenia kierunku zależności: $bledy"
    exit 1
fi
echo "zależności folderów jednokierunkowe"
