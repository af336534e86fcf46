#!/usr/bin/env bash
# End to end: the program in a real X window under Xvfb. Checks the frame box and the sky of the
# start picture, turns the parameters on with Ctrl+I and finds their yellow text, then ends the
# program through the menu.
# Usage: start.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"

sprawdz "okno ma 958 pikseli szerokości" [ "$("$CONVERT" "$ZRZUTY/start.png" -format "%w" info:)" = 958 ]
# The sky: the middle of the far wall is blue (blue well above red).
# Eye (479, -700, 500), H 637: the far wall at depth 500 spans rows ~ 219 .. 584.
niebo=$(piksel start 479 $((Y0 + 300)))
IFS=, read -r r g b <<<"$niebo" || true
sprawdz "niebo na tylnej ścianie ($niebo)" [ "$b" -gt $((r + 30)) ]
# The floor grid: grey 0xA0A0A0; the cross line at depth 50 lies on row
# trunc(637 - (500 - 700 * 500 / 750)) = 603.
linia=$(piksel start 300 $((Y0 + 603)))
sprawdz "linia siatki podłogi ($linia)" [ "$linia" = "160,160,160" ]
# The side walls' black edges from the near bottom corner towards the far wall.
kraw=$("$CONVERT" "$ZRZUTY/start.png" -crop "40x1+0+$((Y0 + 600))" -format "%c" histogram:info: | grep -c "#000000" || true)
sprawdz "krawędź lewej ściany" [ "$kraw" -ge 1 ]

# Ctrl+I: the parameters in black on yellow at (200, 300) of the paint area.
zolte() {
  "$CONVERT" "$ZRZUTY/$1.png" -crop "300x84+200+$((Y0 + 300))" -fill black +opaque "#FFFF00" \
    -fill white -opaque "#FFFF00" -format "%[fx:int(mean*w*h)]" info:
}
xdotool windowfocus --sync "$WID" key ctrl+i
zrzut parametry start
echo "żółtych pikseli: $(zolte parametry)"
sprawdz "żółty tekst parametrów" [ "$(zolte parametry)" -gt 2000 ]
sprawdz "przed Ctrl+I nie było parametrów" [ "$(zolte start)" -lt 100 ]

# End through the menu: the menu "Pliki" is clicked at its place on the menu bar, then its last
# item "Koniec" is chosen.
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
