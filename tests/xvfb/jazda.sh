#!/usr/bin/env bash
# End to end: drive along the sample road in a real X window under Xvfb.
# Opens Przyklady/Droga.tro through the real file dialog (Ctrl+L, the path
# typed, Enter), checks that the road is drawn and the chainage panel shown,
# clicks the slider and moves it with the keys, and checks that every move
# gives a new picture along the road while the eye keys stay with the slider.
# Usage: jazda.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
COMPARE=/usr/bin/compare
PLIK="$(cd "$1" && pwd)/Przyklady/Droga.tro"
[ -f "$PLIK" ] || { echo "brak pliku $PLIK"; exit 1; }
source "$(dirname "$0")/wspolne/start_programu.bash" "$1" "$COMPARE"

czekaj_na_okno() {  # czekaj_na_okno <regex of the title> [tenths of a second]: prints the window id
  local w=""
  for _ in $(seq "${2:-100}"); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

WID=$(czekaj_na_okno '^Orvany3D$') || { echo "okno się nie pojawiło"; cat "$KAT/prog.log"; exit 1; }
sleep 1

zrzut() { /usr/bin/import -window "$WID" "$ZRZUTY/$1.png"; }
rozne() {  # rozne <a> <b>: number of pixels that differ
  "$COMPARE" -metric AE "$ZRZUTY/$1.png" "$ZRZUTY/$2.png" null: 2>&1 || true
}
wycinek() {  # wycinek <png> <geometry> <out>: a part of a screenshot
  "$CONVERT" "$ZRZUTY/$1.png" -crop "$2" +repage "$ZRZUTY/$3.png"
}
blad=0
sprawdz() {
  local opis=$1; shift
  if "$@"; then echo "ok: $opis"; else echo "BŁĄD: $opis"; blad=1; fi
}

zrzut pusta
# The paint area begins below the menu bar, at its black frame line.
Y0=""
for y in $(seq 0 60); do
  if [ "$("$CONVERT" "$ZRZUTY/pusta.png" -format "%[fx:int(255*p{479,$y}.r)],%[fx:int(255*p{479,$y}.g)],%[fx:int(255*p{479,$y}.b)]" info:)" = "0,0,0" ]; then
    Y0=$y; break
  fi
done
Y0=${Y0:-0}
echo "obszar rysunku od y = $Y0"

# Ctrl+L: the open dialog; the path is typed into its name field.
# A busy machine may still be settling the window's focus: the key is sent again
# when no dialog came.
DLG=""
for _ in 1 2 3; do
  xdotool windowfocus --sync "$WID" || true
  sleep 0.3
  xdotool key ctrl+l
  DLG=$(czekaj_na_okno '^Otwórz$' 50) && break
done
[ -n "$DLG" ] || { echo "BŁĄD: brak okna Otwórz"; /usr/bin/import -window root "$ZRZUTY/blad.png"; cat "$KAT/prog.log"; exit 1; }
sleep 0.5
/usr/bin/import -window root "$ZRZUTY/dialog.png"
xdotool windowfocus --sync "$DLG" 2>/dev/null || true
xdotool type --delay 15 "$PLIK"
sleep 0.3
xdotool key Return
# The caption becomes the file's path once the file is read.
if czekaj_na_okno 'Droga\.tro$' 300 >/dev/null; then
  echo "ok: tytuł okna to ścieżka pliku"
else
  echo "BŁĄD: plik się nie wczytał"; /usr/bin/import -window root "$ZRZUTY/blad.png"; blad=1
fi
# Another key press closes a completion list if the dialog left one.
sleep 1
zrzut droga
echo "różnica pusta/droga: $(rozne pusta droga)"
sprawdz "droga widoczna (obraz inny niż pusta scena)" [ "$(rozne pusta droga)" -gt 20000 ]
# The chainage panel over the top-left corner: 561 x 65 at (8, 8) of the paint area.
wycinek pusta "561x65+8+$((Y0 + 8))" panel_przed
wycinek droga "561x65+8+$((Y0 + 8))" panel_po
sprawdz "panel pikietażu pokazany" [ "$(rozne panel_przed panel_po)" -gt 1000 ]

# Click the slider's right arrow (the slider: 545 x 19 at (8, 38) of the panel):
# one metre on, and the slider holds the keys from now on.
SX=$((8 + 8 + 545 - 6)); SY=$((Y0 + 8 + 38 + 9))
xdotool mousemove --window "$WID" "$SX" "$SY" click 1
sleep 1
zrzut pik1
sprawdz "klik suwaka ustawia widok na trasie" [ "$(rozne droga pik1)" -gt 20000 ]

# Page Down 20 times: 200 m along the road.
for _ in $(seq 20); do xdotool key Next; sleep 0.15; done
sleep 2
zrzut pik201
echo "różnica pik1/pik201: $(rozne pik1 pik201)"
sprawdz "Page Down jedzie dalej wzdłuż drogi" [ "$(rozne pik1 pik201)" -gt 5000 ]

# Right arrow 5 times: 5 m on. The arrows go to the slider, not to the eye.
for _ in $(seq 5); do xdotool key Right; sleep 0.15; done
sleep 2
zrzut pik206
sprawdz "strzałka w prawo przesuwa pikietę" [ "$(rozne pik201 pik206)" -gt 500 ]
wycinek pik201 "400x200+0+$((Y0 + 637 + 2))" pasek1
wycinek pik206 "400x200+0+$((Y0 + 637 + 2))" pasek2
sprawdz "pasek stanu bez zmian (oko stoi)" [ "$(rozne pasek1 pasek2)" -eq 0 ]
# Left arrow 5 times: back at 201, the same picture as before.
for _ in $(seq 5); do xdotool key Left; sleep 0.15; done
sleep 2
zrzut pik201b
sprawdz "strzałka w lewo wraca do tej samej pikiety" [ "$(rozne pik201 pik201b)" -lt 200 ]

# Further along: 40 more pages, for whoever looks at the screenshots.
for _ in $(seq 40); do xdotool key Next; sleep 0.1; done
sleep 1
zrzut pik601

# The general view button.
xdotool mousemove --window "$WID" $((8 + 440 + 50)) $((Y0 + 8 + 5 + 13)) click 1
sleep 1
zrzut ogolny
sprawdz "widok ogólny wraca do obrazu całej drogi" [ "$(rozne droga ogolny)" -lt 20000 ]

kill "$PPID_PROG" 2>/dev/null || true
wait "$PPID_PROG" 2>/dev/null || true
PPID_PROG=""
exit $blad
