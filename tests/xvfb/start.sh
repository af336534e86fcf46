#!/usr/bin/env bash
# End to end: the program in a real X window under Xvfb. Takes a screenshot,
# checks the frame box and the sky, turns the parameters on with Ctrl+I and
# finds their yellow text, then ends the program through the menu.
# Usage: start.sh <build/bin>   (SCREENSHOT_DIR=dir keeps the screenshots)
set -euo pipefail
source "$(dirname "$0")/wspolne/start_programu.bash" "$1"

WID=""
for _ in $(seq 100); do
  WID=$(xdotool search --name '^Orvany3D$' 2>/dev/null | head -n1 || true)
  [ -n "$WID" ] && break
  sleep 0.1
done
[ -n "$WID" ] || { echo "okno się nie pojawiło"; cat "$KAT/prog.log"; exit 1; }
sleep 1

zrzut() {  # zrzut <name>: the whole window as PNG
  /usr/bin/import -window "$WID" "$ZRZUTY/$1.png"
}
zrzut_ekranu() {  # zrzut_ekranu <name>: the whole screen (open menus are windows of their own)
  /usr/bin/import -window root "$ZRZUTY/$1.png"
}
piksel() {  # piksel <png> <x> <y>: "r,g,b"
  "$CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
blad=0
sprawdz() {  # sprawdz <description> <condition...>
  local opis=$1; shift
  if "$@"; then echo "ok: $opis"; else echo "BŁĄD: $opis"; blad=1; fi
}

zrzut start
SZER=$("$CONVERT" "$ZRZUTY/start.png" -format "%w" info:)
WYS=$("$CONVERT" "$ZRZUTY/start.png" -format "%h" info:)
echo "okno $SZER x $WYS"
sprawdz "okno ma 958 pikseli szerokości" [ "$SZER" = 958 ]

# The paint area starts below the menu bar: find its black top frame line in
# the middle column (the first black pixel from the top).
Y0=""
for y in $(seq 0 60); do
  if [ "$(piksel "$ZRZUTY/start.png" 479 "$y")" = "0,0,0" ]; then Y0=$y; break; fi
done
sprawdz "czarna ramka obszaru rysunku pod menu" [ -n "$Y0" ]
Y0=${Y0:-0}
echo "obszar rysunku od y = $Y0"

# The sky: the middle of the far wall is blue (blue well above red).
# Eye (479, -700, 500), H 637: the far wall at depth 500 spans rows ~ 219 .. 584.
niebo=$(piksel "$ZRZUTY/start.png" 479 $((Y0 + 300)))
IFS=, read -r r g b <<<"$niebo" || true
sprawdz "niebo na tylnej ścianie ($niebo)" [ "$b" -gt $((r + 30)) ]
# The floor grid: grey 0xA0A0A0; the cross line at depth 50 lies on row
# trunc(637 - (500 - 700 * 500 / 750)) = 603.
linia=$(piksel "$ZRZUTY/start.png" 300 $((Y0 + 603)))
sprawdz "linia siatki podłogi ($linia)" [ "$linia" = "160,160,160" ]
# The side walls' black edges from the near bottom corner towards the far wall.
kraw=$("$CONVERT" "$ZRZUTY/start.png" -crop "40x1+0+$((Y0 + 600))" -format "%c" histogram:info: | grep -c "#000000" || true)
sprawdz "krawędź lewej ściany" [ "$kraw" -ge 1 ]

# Ctrl+I: the parameters in black on yellow at (200, 300) of the paint area.
xdotool windowfocus --sync "$WID" key ctrl+i
sleep 0.7
zrzut parametry
zolte=$("$CONVERT" "$ZRZUTY/parametry.png" -crop "300x84+200+$((Y0 + 300))" -fill black +opaque "#FFFF00" \
        -fill white -opaque "#FFFF00" -format "%[fx:int(mean*w*h)]" info:)
echo "żółtych pikseli: $zolte"
sprawdz "żółty tekst parametrów" [ "$zolte" -gt 2000 ]
przed=$("$CONVERT" "$ZRZUTY/start.png" -crop "300x84+200+$((Y0 + 300))" -fill black +opaque "#FFFF00" \
        -fill white -opaque "#FFFF00" -format "%[fx:int(mean*w*h)]" info:)
sprawdz "przed Ctrl+I nie było parametrów" [ "$przed" -lt 100 ]

# The menu "Pokaż" with its check marks, for whoever looks at the screenshots.
xdotool mousemove --window "$WID" 66 $((Y0 / 2)) click 1
sleep 0.7
zrzut_ekranu menu_pokaz
xdotool key Escape
sleep 0.3

# End through the menu: the menu "Pliki" is clicked at its place on the menu
# bar, then its last item "Koniec" is chosen.
xdotool mousemove --window "$WID" 20 $((Y0 / 2)) click 1
sleep 0.7
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
