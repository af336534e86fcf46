#!/usr/bin/env bash
# End to end under Xvfb: the start picture, Przyklady/Droga.tro opened through the real file dialog,
# the chainage panel (found as what its menu item hides), the slider clicked and moved with the keys,
# Ctrl+I, and the end through the menu.
# Usage: jazda.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
PLIK="$(cd "$1" && pwd)/Przyklady/Droga.tro"
[ -f "$PLIK" ] || { echo "brak pliku $PLIK"; exit 1; }
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"

# The start picture: the far wall (rows ~ 219 .. 584) shows the sky read beside the program, blue well above
# red (the backdrop's lines are checked exactly by the drawing tests).
sprawdz "okno ma 958 pikseli szerokości" [ "$("$CONVERT" "$ZRZUTY/start.png" -format "%w" info:)" = 958 ]
IFS=, read -r r g b <<<"$(piksel start 479 $((Y0 + 300)))" || true
sprawdz "niebo na tylnej ścianie ($r,$g,$b)" [ "$b" -gt $((r + 30)) ]

# Ctrl+L: the open dialog; the path is typed into its name field.
DLG=$(otworz_dialog) || { echo "BŁĄD: brak okna Otwórz"; zrzut_ekranu blad; cat "$KAT/prog.log"; exit 1; }
zrzut_ekranu dialog
xdotool windowfocus --sync "$DLG" 2>/dev/null || true
xdotool type --delay 15 "$PLIK"
xdotool key Return
czekaj_na_okno 'Droga\.tro$' 300 >/dev/null || { echo "BŁĄD: plik się nie wczytał"; zrzut_ekranu blad; exit 1; }
zrzut droga start
sprawdz "droga widoczna (obraz inny niż pusta scena)" [ "$(rozne start droga)" -gt 20000 ]

przelacz_panel() {  # "Pokaż pikietaż", the first item of the picture's menu
  xdotool mousemove --window "$WID" 700 $((Y0 + 400)) click 3
  czekaj_na_menu
  xdotool key Down Return
}
przelacz_panel
zrzut bez_panelu droga
PANEL=$(obszar_roznic droga bez_panelu)
przelacz_panel
zrzut droga2 bez_panelu
IFS='x+' read -r PW PH PX PY <<<"$PANEL"
sprawdz "panel pikietażu pokazany w lewym górnym rogu" [ "$PW" -gt 300 -a "$PH" -gt 30 -a "$PX" -lt 50 -a "$PY" -lt $((Y0 + 50)) ]
sprawdz "panel pokazany znów" [ "$(rozne droga droga2)" -eq 0 ]
TLO=$(piksel droga $((PX + 2)) $((PY + PH - 2)))
# The last pixel along a line of the panel that is not its background: kraniec <geometry WxH+X+Y> <x|y>
kraniec() {
  "$CONVERT" "$ZRZUTY/droga.png" -crop "$1" +repage -depth 8 txt:- |
    awk -v tlo="$TLO" -v os="$2" 'NR > 1 { split($0, a, /[()]/); split(a[2], c, ","); split($1, p, /[,:]/)
      if (c[1] "," c[2] "," c[3] != tlo) n = (os == "x") ? p[1] : p[2] } END { print n + 0 }'
}
# The slider is the lowest control in the column near the panel's right edge (the profile button stands left of it);
# the general view button its top-right one.
SY=$((PY + $(kraniec "1x${PH}+$((PX + PW - 14))+$PY" y) - 6))
SX=$((PX + $(kraniec "${PW}x1+$PX+$SY" x) - 6))
BY=$((PY + 18))  # the middle of the panel's first row (the button stands 5 to 32 pixels from its top)
BX=$((PX + $(kraniec "${PW}x1+$PX+$BY" x) - 20))

# Click the slider's right arrow: one metre on, and the slider holds the keys from now on.
xdotool mousemove --window "$WID" "$SX" "$SY" click 1
zrzut pik1 droga
sprawdz "klik suwaka ustawia widok na trasie" [ "$(rozne droga pik1)" -gt 20000 ]

# Page Down 20 times: 200 m along the road.
xdotool key --delay 100 $(printf 'Next %.0s' $(seq 20))
zrzut pik201 pik1
sprawdz "Page Down jedzie dalej wzdłuż drogi" [ "$(rozne pik1 pik201)" -gt 5000 ]

# Right arrow 5 times: 5 m on. The arrows go to the slider, not to the eye: the status bar stays.
xdotool key --delay 100 Right Right Right Right Right
zrzut pik206 pik201
sprawdz "strzałka w prawo przesuwa pikietę" [ "$(rozne pik201 pik206)" -gt 500 ]
"$CONVERT" "$ZRZUTY/pik201.png" -gravity southwest -crop 400x20+0+0 +repage "$ZRZUTY/pasek1.png"
"$CONVERT" "$ZRZUTY/pik206.png" -gravity southwest -crop 400x20+0+0 +repage "$ZRZUTY/pasek2.png"
sprawdz "pasek stanu bez zmian (oko stoi)" [ "$(rozne pasek1 pasek2)" -eq 0 ]
# Left arrow 5 times: back at 201, the same picture as before.
xdotool key --delay 100 Left Left Left Left Left
zrzut pik201b pik206
sprawdz "strzałka w lewo wraca do tej samej pikiety" [ "$(rozne pik201 pik201b)" -lt 200 ]

xdotool mousemove --window "$WID" "$BX" "$BY" click 1
zrzut ogolny pik201b
sprawdz "widok ogólny wraca do obrazu całej drogi" [ "$(rozne droga ogolny)" -lt 20000 ]

# Ctrl+I: the parameters in black on yellow at (200, 300) of the paint area.
zolte() {
  "$CONVERT" "$ZRZUTY/$1.png" -crop "300x84+200+$((Y0 + 300))" -fill black +opaque "#FFFF00" \
    -fill white -opaque "#FFFF00" -format "%[fx:int(mean*w*h)]" info:
}
xdotool key ctrl+i
zrzut parametry ogolny
sprawdz "żółty tekst parametrów ($(zolte parametry))" [ "$(zolte parametry)" -gt 2000 -a "$(zolte ogolny)" -lt 100 ]

# End through the menu: "Pliki" clicked at its place on the menu bar, then its last item "Koniec".
xdotool mousemove --window "$WID" 20 $((Y0 / 2)) click 1
czekaj_na_menu
zrzut_ekranu menu_pliki
xdotool key Up Return
for _ in $(seq 50); do kill -0 "$PPID_PROG" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PPID_PROG" 2>/dev/null; then
  echo "BŁĄD: program nie zakończył się po Pliki / Koniec"; blad=1
else
  wait "$PPID_PROG" && kod=0 || kod=$?
  PPID_PROG=""
  sprawdz "program zakończony z kodem 0 ($kod)" [ "$kod" = 0 ]
fi
exit $blad
