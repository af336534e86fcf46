#!/usr/bin/env bash
# End to end: two copies of the sample road on the command line open in their order (both to the recent
# list); the open dialog of Ctrl+L (otworz.png) closes with Escape; the first copy, removed, chosen from
# "Pliki" -> "Ostatnio otwierane": an error box (ostatni.png) and the list drops it.
# Usage: otwieranie.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
PLIK="$(cd "$1" && pwd)/Przyklady/Droga.tro"
[ -f "$PLIK" ] || { echo "brak pliku $PLIK"; exit 1; }
KOPIA_KAT=$(mktemp -d)
KOPIA="$KOPIA_KAT/Kopia drogi.tro"
cp "$PLIK" "$KOPIA"
ARGUMENTY=("$KOPIA" "$PLIK")
TYTUL_OKNA="^${PLIK//./\\.}\$"
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"
trap 'sprzataj; rm -rf "$KOPIA_KAT"' EXIT

okna() {  # okna: the number of the program's visible windows (menus are windows of their own)
  xdotool search --onlyvisible --pid "$PPID_PROG" 2>/dev/null | wc -l
}
czekaj_na_okna() {  # czekaj_na_okna <count>: until the program shows at least that many windows
  for _ in $(seq 50); do [ "$(okna)" -ge "$1" ] && return 0; sleep 0.1; done
  return 1
}
ustalone() {  # ustalone <window>: waits until its geometry stays put for a moment (mapped and laid out)
  local poprz="" geo
  for _ in $(seq 30); do
    geo=$(xdotool getwindowgeometry "$1" 2>/dev/null || true)
    [ -n "$geo" ] && [ "$geo" = "$poprz" ] && return 0
    poprz=$geo
    sleep 0.2
  done
}
USTAWIENIA="$XDG_CONFIG_HOME/Orvany/Orvany3D.conf"
rm -rf "$KOPIA_KAT"  # the first file goes away while the program runs
sprawdz "oba pliki na liście ostatnio otwieranych, ostatni pierwszy" \
  grep -qF "OstatnioOtwierane=$PLIK, $KOPIA" "$USTAWIENIA"

DLG=$(otworz_dialog) || DLG=""
sprawdz "okno dialogowe Otwórz" [ -n "$DLG" ]
if [ -n "$DLG" ]; then
  ustalone "$DLG"
  /usr/bin/import -window root "$ZRZUTY/otworz.png"
  xdotool windowfocus --sync "$DLG" key Escape || true
  zamkniety=0
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Otwórz$' >/dev/null 2>&1 || { zamkniety=1; break; }
    sleep 0.1
  done
  sprawdz "Escape zamyka okno dialogowe" [ "$zamkniety" = 1 ]
fi

# "Pliki" (on the menu bar's left end) -> "Ostatnio otwierane" -> its second item, the removed copy.
xdotool windowfocus --sync "$WID" || true
n=$(okna)
xdotool mousemove --window "$WID" 20 10 click 1
czekaj_na_okna $((n + 1)) || echo "menu Pliki się nie otworzyło"
xdotool key Down Down Right
czekaj_na_okna $((n + 2)) || echo "lista ostatnio otwieranych się nie otworzyła"
/usr/bin/import -window root "$ZRZUTY/pliki_ostatnie.png"
xdotool key Down Return
BLAD=$(czekaj_na_okno '^Błąd$' 50) || BLAD=""
sprawdz "okno błędu o zniknięciu pliku" [ -n "$BLAD" ]
if [ -n "$BLAD" ]; then
  ustalone "$BLAD"
  /usr/bin/import -window root "$ZRZUTY/ostatni.png"
  xdotool windowfocus --sync "$BLAD" key Return || true
fi
sprawdz "zniknięty plik usunięty z listy" grep -qx "OstatnioOtwierane=$PLIK" "$USTAWIENIA"
sprawdz "obraz został przy drodze" [ -n "$(xdotool search --name "^${PLIK//./\\.}\$" 2>/dev/null)" ]
exit $blad
