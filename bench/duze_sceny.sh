#!/bin/bash
# Large scenes as whole processes: `orvany3d-cli raport` of a generated .tro
# file of 1,000,000 and 10,000,000 TEREN triangles (wall, processor time and
# peak resident memory from /usr/bin/time -v) beside the lean reference reader
# of the same file (czytnik_wzorcowy, when it was built), then the slider move and the
# general view on a terrain of the same size (bench_pikieta), a frame of the
# drive in the driver's view (bench_kierowca), then the OpenGL anchor
# (bench_llvmpipe, when it was built) with one and two llvmpipe threads.
#
#   bench/duze_sceny.sh [BUILD_DIR] [TRIANGLES...]
#
# BUILD_DIR is a Release build with -DORVANY_BENCH=ON (build-bench when not
# given); the sizes are 1000000 10000000 when not given. The files are made
# in $TMPDIR (/tmp) by generuj_duzy_tro and removed at the end; REPEAT sets
# how many times each process runs (3); CZESCI picks the parts
# ("raport pikieta kierowca llvmpipe", all when not set). The machine's load average
# is printed beside every figure: the machine may be shared.
set -u
BUILD=${1:-build-bench}
shift || true
SIZES=("$@")
[ ${#SIZES[@]} -eq 0 ] && SIZES=(1000000 10000000)
REPEAT=${REPEAT:-3}
CZESCI=${CZESCI:-raport pikieta kierowca llvmpipe}
czesc() { [[ " $CZESCI " == *" $1 "* ]]; }
# The benchmarks' lines to keep: the medians, or the one run's line when REPEAT=1.
WYNIK="_median"
[ "$REPEAT" -le 1 ] && WYNIK="^BM_"
TMP=${TMPDIR:-/tmp}
BIN=$BUILD/bin
# The programs the chosen parts need.
POTRZEBNE="orvany3d-cli generuj_duzy_tro"
czesc pikieta && POTRZEBNE="$POTRZEBNE bench_pikieta"
for p in $POTRZEBNE; do
  [ -x "$BIN/$p" ] || { echo "brak $BIN/$p: zbuduj cele $POTRZEBNE" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "brak /usr/bin/time (pakiet time)" >&2; exit 1; }

PLIKI=()
trap 'rm -f "${PLIKI[@]}"' EXIT
obciazenie() { cut -d' ' -f1-3 /proc/loadavg; }

# One process under /usr/bin/time -v: "wall user sys peak_kB" on stdout.
zmierz() {
  /usr/bin/time -v -o "$TMP/orvany_duzy_czas.txt" "$@" >/dev/null || return 1
  awk '/Elapsed/ { split($NF, t, ":"); wall = (length(t) == 3) ? t[1]*3600 + t[2]*60 + t[3] : t[1]*60 + t[2] }
       /User time/ { user = $NF } /System time/ { sys = $NF } /Maximum resident/ { rss = $NF }
       END { print wall, user, sys, rss }' "$TMP/orvany_duzy_czas.txt"
  rm -f "$TMP/orvany_duzy_czas.txt"
}

if czesc raport; then
echo "# raport as a whole process, and the lean reference reader (czytnik_wzorcowy) of the same file just after it"
echo "# ratio = raport / lean reader, of wall time and of processor time (user + system), in the same run"
printf "%-10s %8s %8s %8s %9s %7s %8s %8s %7s %7s  %s\n" triangles wall_s user_s sys_s peak_MB B/tri lean_s lean_cpu w_ratio c_ratio load
for n in "${SIZES[@]}"; do
  plik=$TMP/orvany_duzy_$n.tro
  PLIKI+=("$plik")
  "$BIN/generuj_duzy_tro" "$plik" "$n" >/dev/null || exit 1
  for ((i = 0; i < REPEAT; i++)); do
    zaladowanie=$(obciazenie)
    r=$(zmierz "$BIN/orvany3d-cli" raport "$plik") || exit 1
    w="0 0 0 0"
    [ -x "$BIN/czytnik_wzorcowy" ] && { w=$(zmierz "$BIN/czytnik_wzorcowy" "$plik") || exit 1; }
    echo "$r $w" | awk -v n="$n" -v load="$zaladowanie" '{
      lc = $6 + $7; rc = $2 + $3
      printf "%-10d %8.2f %8.2f %8.2f %9.0f %7.0f %8.2f %8.2f %7.2f %7.2f  %s\n", n, $1, $2, $3, $4 / 1024, $4 * 1024 / n,
        $5, lc, ($5 > 0 ? $1 / $5 : 0), (lc > 0 ? rc / lc : 0), load }'
  done
done
fi

if czesc pikieta; then
echo
echo "# slider move and general view (bench_pikieta, the program's canvas)"
for n in "${SIZES[@]}"; do
  echo "## $n triangles, load $(obciazenie)"
  ORVANY_BENCH_TROJKATY=$n "$BIN/bench_pikieta" --benchmark_filter='BM_(PrzesuniecieSuwaka|EtapySuwaka|WidokOgolny)/' \
    --benchmark_repetitions="$REPEAT" --benchmark_report_aggregates_only=true 2>&1 | grep -E "$WYNIK|Run on"
done
fi

if czesc kierowca && [ -x "$BIN/bench_kierowca" ]; then
  echo
  echo "# a frame of the drive: the chainage view and the driver's view, placing and redraw (bench_kierowca)"
  for n in "${SIZES[@]}"; do
    echo "## $n triangles, load $(obciazenie)"
    wynik=$(ORVANY_BENCH_TROJKATY=$n "$BIN/bench_kierowca" --benchmark_filter='Milion' \
      --benchmark_repetitions="$REPEAT" --benchmark_report_aggregates_only=true 2>&1 | grep -E "$WYNIK|Run on")
    echo "$wynik"
    # The driver's view against its target (40 frames/s at 1,000,000 triangles or fewer, 6 above), with its parts.
    echo "$wynik" | awk -v n="$n" -v load="$(obciazenie)" '
      function licznik(linia, nazwa,   m) { return match(linia, nazwa "=[0-9.]+[kM]?") ? liczba(substr(linia, RSTART + length(nazwa) + 1, RLENGTH - length(nazwa) - 1)) : -1 }
      function liczba(t) { return t ~ /k$/ ? t * 1000 : (t ~ /M$/ ? t * 1e6 : t + 0) }
      /BM_KlatkaKierowcy_Milion/ { kl = licznik($0, "kl_s") }
      /BM_EtapyKierowcy_Milion/ { sl = licznik($0, "ms_slupki"); um = licznik($0, "ms_umiesc"); ry = licznik($0, "ms_rysowania") }
      END {
        if (kl <= 0) exit
        cel = n <= 1000000 ? 40 : 6
        printf "driver'"'"'s view, %d triangles: %.1f frames/s (%.1f ms a frame; posts %.1f ms, placing %.1f ms, drawing %.1f ms), target %d: %s, load %s\n",
          n, kl, 1000 / kl, sl, um, ry, cel, (kl >= cel ? "met" : sprintf("missed by %.0f %%", 100 * (1 - kl / cel))), load
      }'
  done
fi

if czesc llvmpipe && [ -x "$BIN/bench_llvmpipe" ]; then
  echo
  echo "# OpenGL through llvmpipe against the program's renderer (general view frame)"
  for n in "${SIZES[@]}"; do
    for t in 1 2; do
      echo "## $n triangles, LP_NUM_THREADS=$t, load $(obciazenie)"
      LP_NUM_THREADS=$t ORVANY_BENCH_TROJKATY=$n "$BIN/bench_llvmpipe" --benchmark_repetitions="$REPEAT" \
        --benchmark_report_aggregates_only=true 2>&1 | grep -E "$WYNIK|Run on|błąd|brak|ERROR"
    done
  done
fi
