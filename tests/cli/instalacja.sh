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

# The installed tool, called through bin/ from elsewhere, on the installed project.
cd "$KAT"
export PATH="$ROOT/bin:$PATH"
LC_ALL=C orvany3d-cli raport "$PROG/Przyklady/Droga.tro" >raport.txt
sprawdz "raport trasy" grep -q "Pik.  (min,max)  = (0.00 ; 2900.44)" raport.txt
LC_ALL=C orvany3d-cli pikiety "$PROG/Przyklady/Droga.tro" --krok 500 >pikiety.csv 2>/dev/null
sprawdz "tabela pikiet" [ "$(head -n1 pikiety.csv)" = "pikieta;X;Y;kierunek" -a "$(wc -l <pikiety.csv)" = 8 ]
# The sky comes from the program's own directory: no complaint about a missing file.
orvany3d-cli obraz "$PROG/Przyklady/Droga.tro" widok.png --pikieta 100 2>obraz.err
sprawdz "obraz PNG" [ "$(head -c 8 widok.png | tail -c 7)" = "$(printf 'PNG\r\n\032\n')" ]
sprawdz "niebo znalezione obok programu" [ ! -s obraz.err ]
# Conversion through the installed tool gives the same file as the build's tool.
orvany3d-cli przepisz "$PROG/Model/Droga.mtp" zainst.tro
"$BUILD/bin/orvany3d-cli" przepisz "$BUILD/bin/Model/Droga.mtp" build.tro
sprawdz "przepisz" cmp -s zainst.tro build.tro
exit $blad
