#!/usr/bin/env bash
# End to end under Xvfb: an elevation grid under the sample road (generuj_nmt --z-pliku, every 4 m, with a pond
# without data) opened with Ctrl+L after the road: the dialog "Numeryczny model terenu" (nmt_dialog.png), the
# progress window, the thinned terrain under the road (nmt.png); then a sheet of 2,300 x 2,300 nodes opened and
# its progress window's "Przerwij" pressed (nmt_przerwij.png): the picture and the caption stay those of the grid.
# Usage: siatka_nmt.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
BIN_KAT="$(cd "$1" && pwd)"
PLIK="$BIN_KAT/Przyklady/Droga.tro"
[ -f "$PLIK" ] || { echo "brak pliku $PLIK"; exit 1; }
[ -x "$BIN_KAT/generuj_nmt" ] || { echo "brak $BIN_KAT/generuj_nmt"; exit 1; }
SIATKI=$(mktemp -d)
"$BIN_KAT/generuj_nmt" --z-pliku "$PLIK" "$SIATKI/pod_droga.asc" 4 >/dev/null
"$BIN_KAT/generuj_nmt" "$SIATKI" 2300 >/dev/null
ARGUMENTY=("$PLIK")
TYTUL_OKNA="^${PLIK//./\\.}\$"
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"
trap 'sprzataj; rm -rf "$SIATKI"' EXIT
zrzut droga

otworz_siatke() {  # otworz_siatke <file>: Ctrl+L, the path typed, and the grid's dialog: its id
  local dlg
  dlg=$(otworz_dialog) || { echo "BŁĄD: brak okna Otwórz"; zrzut_ekranu blad; return 1; }
  xdotool windowfocus --sync "$dlg" 2>/dev/null || true
  xdotool type --delay 15 "$1"
  xdotool key Return
  czekaj_na_okno '^Numeryczny model terenu$' 100
}

NMT_DLG=$(otworz_siatke "$SIATKI/pod_droga.asc") || NMT_DLG=""
sprawdz "okno Numeryczny model terenu" [ -n "$NMT_DLG" ]
if [ -n "$NMT_DLG" ]; then
  sleep 0.5
  zrzut_ekranu nmt_dialog
  xdotool windowfocus --sync "$NMT_DLG" key Return || true
  czekaj_na_okno 'pod_droga\.asc$' 600 >/dev/null || { echo "BŁĄD: siatka się nie wczytała"; zrzut_ekranu blad; }
  zrzut nmt droga
  sprawdz "teren z siatki zmienił obraz drogi" [ "$(rozne droga nmt)" -gt 5000 ]
fi

# The large sheet: "Przerwij" as soon as its progress window shows.
NMT_DLG=$(otworz_siatke "$SIATKI/nmt.asc") || NMT_DLG=""
sprawdz "okno Numeryczny model terenu dla arkusza" [ -n "$NMT_DLG" ]
if [ -n "$NMT_DLG" ]; then
  xdotool windowfocus --sync "$NMT_DLG" key Return || true
  POSTEP=""
  for _ in $(seq 100); do
    POSTEP=$(xdotool search --onlyvisible --pid "$PPID_PROG" --name '^Orvany3D$' 2>/dev/null | grep -vx "$WID" |
      head -n1 || true)
    [ -n "$POSTEP" ] && break
    sleep 0.05
  done
  sprawdz "okno postępu wczytywania siatki" [ -n "$POSTEP" ]
  if [ -n "$POSTEP" ]; then
    zrzut_ekranu nmt_postep
    # "Przerwij" sits in the window's lower right corner (no window manager here to take a key's focus).
    eval "$(xdotool getwindowgeometry --shell "$POSTEP")"
    xdotool mousemove --window "$POSTEP" $((WIDTH - 50)) $((HEIGHT - 20)) click 1
    for _ in $(seq 300); do
      xdotool search --onlyvisible --pid "$PPID_PROG" --name '^Orvany3D$' 2>/dev/null | grep -vqx "$WID" || break
      sleep 0.1
    done
  fi
  zrzut nmt_przerwij
  sprawdz "po przerwaniu obraz jak przed nim" [ "$(rozne nmt nmt_przerwij)" = 0 ]
  sprawdz "po przerwaniu tytuł okna bez zmian" \
    [ -n "$(xdotool search --name 'pod_droga\.asc$' 2>/dev/null)" ]
fi
exit $blad
