# What the end-to-end scripts share: a private Xvfb with the program in it, and helpers to find windows,
# take settled screenshots, read pixels and report checks. Sourced: source .../start_programu.bash <build/bin>.
# ARGUMENTY (set before) holds the program's arguments, TYTUL_OKNA the regex of the caption to wait for.
# Sets BIN, CONVERT, KAT (scratch, removed at exit), ZRZUTY (SCREENSHOT_DIR or KAT), DISPLAY, PPID_PROG,
# WID (the main window) and Y0 (the paint area's top row in a screenshot); `blad` is 1 once a check failed.
BIN=$(cd "$1" && pwd)
shift
CONVERT=/usr/bin/convert COMPARE=/usr/bin/compare
for p in Xvfb xdotool /usr/bin/import "$CONVERT" "$COMPARE" "$@"; do
  command -v "$p" >/dev/null || { echo "brak programu: $p"; exit 1; }
done

KAT=$(mktemp -d)
ZRZUTY=${SCREENSHOT_DIR:-$KAT}
mkdir -p "$ZRZUTY"
XPID=""; PPID_PROG=""; blad=0
sprzataj() {
  [ -n "$PPID_PROG" ] && kill "$PPID_PROG" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$KAT"
}
trap sprzataj EXIT

# A free display number: Xvfb writes the one it took (-displayfd).
exec 3>"$KAT/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$KAT/xvfb.log" 2>&1 &
XPID=$!
for _ in $(seq 100); do
  [ -s "$KAT/display" ] && break
  kill -0 "$XPID" 2>/dev/null || break
  sleep 0.1
done
if ! [ -s "$KAT/display" ] || ! kill -0 "$XPID" 2>/dev/null; then
  echo "BŁĄD: Xvfb się nie uruchomił"; cat "$KAT/xvfb.log"; exit 1
fi
export DISPLAY=":$(head -n1 "$KAT/display")"
export QT_QPA_PLATFORM=xcb
# The program's settings (the recent files) stay in the scratch folder.
export XDG_CONFIG_HOME="$KAT/ustawienia"

sprawdz() {  # sprawdz <description> <condition...>
  local opis=$1; shift
  if "$@"; then echo "ok: $opis"; else echo "BŁĄD: $opis"; blad=1; fi
}
czekaj_na_okno() {  # czekaj_na_okno <regex of the title> [tenths of a second]: prints the window id
  local w=""
  for _ in $(seq "${2:-100}"); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
czekaj_na_menu() {  # an open menu is a window of the program's own beside the main one
  for _ in $(seq 50); do
    [ -n "$(xdotool search --onlyvisible --pid "$PPID_PROG" 2>/dev/null | grep -vx "$WID" || true)" ] && return 0
    sleep 0.1
  done
  echo "BŁĄD: menu się nie otworzyło"; blad=1
}
rozne() {  # rozne <a> <b>: the number of pixels that differ between two screenshots
  "$COMPARE" -metric AE "$ZRZUTY/$1.png" "$ZRZUTY/$2.png" null: 2>&1 || true
}
zrzut() {  # zrzut <name> [other]: the window once it stands still (and, given other, differs from it)
  local i
  /usr/bin/import -window "$WID" "$ZRZUTY/$1.png"
  for i in $(seq 50); do
    sleep 0.2
    /usr/bin/import -window "$WID" "$ZRZUTY/_$1.png"
    if [ "$(rozne "$1" "_$1")" = 0 ] && { [ -z "${2:-}" ] || [ "$(rozne "$1" "$2")" != 0 ]; }; then
      rm -f "$ZRZUTY/_$1.png"; return 0
    fi
    mv "$ZRZUTY/_$1.png" "$ZRZUTY/$1.png"
  done
  echo "uwaga: obraz $1 się nie ustalił"
}
otworz_dialog() {  # Ctrl+L until the open dialog shows (the focus may still be settling): its id
  local d
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$WID" key ctrl+l || true
    d=$(czekaj_na_okno '^Otwórz$' 50) && { echo "$d"; return 0; }
  done
  return 1
}
zrzut_ekranu() { /usr/bin/import -window root "$ZRZUTY/$1.png"; }  # open menus are windows of their own
piksel() {  # piksel <name> <x> <y>: "r,g,b"
  "$CONVERT" "$ZRZUTY/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
obszar_roznic() {  # obszar_roznic <a> <b>: "WxH+X+Y", the box around the pixels that differ
  "$CONVERT" "$ZRZUTY/$1.png" "$ZRZUTY/$2.png" -compose difference -composite -threshold 0 -format "%@" info:
}
gorna_krawedz() {  # gorna_krawedz <name>: the row of the paint area's black top frame line, below the menu
  local y
  for y in $(seq 0 60); do
    [ "$(piksel "$1" 479 "$y")" = "0,0,0" ] && { echo "$y"; return 0; }
  done
  return 1
}

"$BIN/orvany3d" ${ARGUMENTY[@]+"${ARGUMENTY[@]}"} >"$KAT/prog.log" 2>&1 &
PPID_PROG=$!
WID=$(czekaj_na_okno "${TYTUL_OKNA:-^Orvany3D\$}" 300) || { echo "BŁĄD: okno się nie pojawiło"; cat "$KAT/prog.log"; exit 1; }
zrzut start
Y0=$(gorna_krawedz start) || { echo "BŁĄD: brak czarnej ramki obszaru rysunku pod menu"; Y0=0; blad=1; }
echo "obszar rysunku od y = $Y0"
