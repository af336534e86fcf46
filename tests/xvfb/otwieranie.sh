#!/usr/bin/env bash
# End to end: the sample road named on the command line opens at start (the
# caption is its path and it goes to the recent list); the open dialog of
# Ctrl+L speaks Polish (screenshot otworz.png) and closes with Escape.
# Usage: otwieranie.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
PLIK="$(cd "$1" && pwd)/Przyklady/Droga.tro"
[ -f "$PLIK" ] || { echo "brak pliku $PLIK"; exit 1; }
ARGUMENTY=("$PLIK")
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"

czekaj_na_okno() {  # czekaj_na_okno <regex of the title> [tenths of a second]: prints the window id
  local w=""
  for _ in $(seq "${2:-100}"); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
blad=0
sprawdz() {
  local opis=$1; shift
  if "$@"; then echo "ok: $opis"; else echo "BŁĄD: $opis"; blad=1; fi
}

# The caption becomes the file's full path once the load has ended.
WID=$(czekaj_na_okno "^${PLIK//./\\.}\$" 300) || { echo "plik z wiersza poleceń nie został otwarty"; cat "$KAT/prog.log"; exit 1; }
echo "ok: plik z wiersza poleceń otwarty ($PLIK)"
USTAWIENIA="$XDG_CONFIG_HOME/Orvany/Orvany3D.conf"
sprawdz "plik na liście ostatnio otwieranych" grep -qF "$PLIK" "$USTAWIENIA"

# Ctrl+L: the open dialog. A busy machine may still be settling the focus:
# the key is sent again when no dialog came.
DLG=""
for _ in 1 2 3; do
  xdotool windowfocus --sync "$WID" || true
  xdotool key ctrl+l
  DLG=$(czekaj_na_okno '^Otwórz$' 50) && break
done
sprawdz "okno dialogowe Otwórz" [ -n "$DLG" ]
if [ -n "$DLG" ]; then
  # The dialog has painted once its geometry stays put for a moment.
  poprz=""
  for _ in $(seq 30); do
    geo=$(xdotool getwindowgeometry "$DLG" 2>/dev/null || true)
    [ -n "$geo" ] && [ "$geo" = "$poprz" ] && break
    poprz=$geo
    sleep 0.2
  done
  /usr/bin/import -window root "$ZRZUTY/otworz.png"
  xdotool windowfocus --sync "$DLG" key Escape || true
  zamkniety=0
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Otwórz$' >/dev/null 2>&1 || { zamkniety=1; break; }
    sleep 0.1
  done
  sprawdz "Escape zamyka okno dialogowe" [ "$zamkniety" = 1 ]
fi
exit $blad
