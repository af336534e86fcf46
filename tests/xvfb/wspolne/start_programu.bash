# The common start of the end-to-end scripts: a private Xvfb on a free display
# and the program in it. Sourced with: source .../start_programu.bash <build/bin> [further programs needed]
# The array ARGUMENTY, when set before, holds the program's arguments (files to open).
# Sets BIN, CONVERT, KAT (scratch folder, removed at exit with Xvfb and the
# program), ZRZUTY (SCREENSHOT_DIR or KAT), DISPLAY, XPID and PPID_PROG.
BIN=$(cd "$1" && pwd)
shift
CONVERT=/usr/bin/convert
for p in Xvfb xdotool /usr/bin/import "$CONVERT" "$@"; do
  command -v "$p" >/dev/null || { echo "brak programu: $p"; exit 1; }
done

KAT=$(mktemp -d)
ZRZUTY=${SCREENSHOT_DIR:-$KAT}
mkdir -p "$ZRZUTY"
XPID=""; PPID_PROG=""
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
for _ in $(seq 100); do [ -s "$KAT/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$KAT/display")"
export QT_QPA_PLATFORM=xcb
# The program's settings (the recent files) stay in the scratch folder.
export XDG_CONFIG_HOME="$KAT/ustawienia"
echo "display $DISPLAY"

"$BIN/orvany3d" ${ARGUMENTY[@]+"${ARGUMENTY[@]}"} >"$KAT/prog.log" 2>&1 &
PPID_PROG=$!
