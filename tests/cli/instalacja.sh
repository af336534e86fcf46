#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed orvany3d-cli through bin/.
# Usage: instalacja.sh <build directory>
set -euo pipefail
BUILD=$(cd "$1" && pwd)
KAT=$(mktemp -d)
trap 'rm -rf "$KAT"' EXIT
PREFIX=/opt/orvany-test
DEST="$KAT/dest"
blad=0
sprawdz() {  # sprawdz <description> <condition...>
  local opis=$1; shift
  if "$@"; then echo "ok: $opis"; else echo "BŁĄD: $opis"; blad=1; fi
}

DESTDIR="$DEST" cmake --install "$BUILD" --prefix "$PREFIX" >"$KAT/install.log" 2>&1 || {
  cat "$KAT/install.log"; exit 1; }
ROOT="$DEST$PREFIX"
PROG="$ROOT/lib/orvany3d"

for p in orvany3d orvany3d-cli Przyklady/Droga.tro Przyklady/Sky02.bmp Model/Droga.mtp Przyklady/OpisOrvan.pdf; do
  sprawdz "zainstalowany $p" [ -s "$PROG/$p" ]
done
sprawdz "dowiązania w bin/ są względne" [ "$(readlink "$ROOT/bin/orvany3d-cli")" = "../lib/orvany3d/orvany3d-cli" ]
sprawdz "dowiązanie programu okienkowego" [ -x "$ROOT/bin/orvany3d" -a -x "$PROG/orvany3d" -a -x "$PROG/orvany3d-cli" ]
DESK="$ROOT/share/applications/orvany3d.desktop"
sprawdz "wpis pulpitu wskazuje program i przekazuje mu pliki" grep -qx "Exec=$PREFIX/bin/orvany3d %F" "$DESK"
sprawdz "wpis pulpitu zna pliki .tro" grep -qx "MimeType=application/x-orvany3d-tro;" "$DESK"
sprawdz "rodzaj pliku .tro" grep -q '<glob pattern="\*.tro"/>' "$ROOT/share/mime/packages/orvany3d.xml"
sprawdz "ikona" [ -f "$ROOT/share/icons/hicolor/scalable/apps/orvany3d.svg" ]
sprawdz "DESTDIR nie wycieka poza katalog" [ ! -e "$PREFIX" ]

# The installed tool, called through bin/ from elsewhere, on the installed project (what its commands print:
# the tool's tests); the sky comes from the program's own directory: no complaint about a missing file.
cd "$KAT"
export PATH="$ROOT/bin:$PATH"
orvany3d-cli obraz "$PROG/Przyklady/Droga.tro" widok.png --pikieta 100 2>obraz.err
sprawdz "obraz PNG" [ "$(head -c 8 widok.png | tail -c 7)" = "$(printf 'PNG\r\n\032\n')" ]
sprawdz "niebo znalezione obok programu" [ ! -s obraz.err ]
sprawdz "zainstalowana droga taka jak w budowie" cmp -s "$PROG/Przyklady/Droga.tro" "$BUILD/bin/Przyklady/Droga.tro"
exit $blad
