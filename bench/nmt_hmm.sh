#!/usr/bin/env bash
# The terrain from an elevation grid against the hmm heightmap mesher (Garland–Heckbert greedy insertion), in one
# run on the same heights:
#   bench/nmt_hmm.sh [BIN [N]]      BIN: the program's build/bin (default build/bin), N: nodes a side (2300)
# PROBY sets how many times each process runs (2).
# generuj_nmt writes an N x N sheet of 1 m (heights in cm) as .asc, the same heights as a 16-bit PNG and a route of
# about 3 km. hmm is compiled from ../shared/anchors/hmm (Debian libglm-dev) into this run's temporary folder only.
# Timed whole processes (/usr/bin/time): `orvany3d-cli raport nmt.asc` (read the text grid, thin at 0.10 m, the
# scene's load sequence, the report), the same with `--pas 200` around the route, and `hmm nmt.png out.stl
# -z 655.35 -e 0.10/655.35` (a maximum error of 0.10 m on a PNG of centimetres). hmm's triangles are counted from
# its binary STL (84 bytes and 50 a triangle).
set -eu
zrodla=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$zrodla/build/bin}
N=${2:-2300}
hmm_zrodla=${HMM_ZRODLA:-$zrodla/../shared/anchors/hmm}
[ -d "$hmm_zrodla/src" ] || hmm_zrodla=/work/shared/anchors/hmm
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "== uptime: $(uptime)"
g++ -std=c++11 -O3 -flto -march=native -DNDEBUG -w -I "$hmm_zrodla/src" "$hmm_zrodla"/src/*.cpp -o "$tmp/hmm"
"$bin/generuj_nmt" "$tmp" "$N"

czas() {  # prints "wall_s max_rss_MB" of the command
    /usr/bin/time -f "%e %M" -o "$tmp/czas" "$@" > "$tmp/wyjscie" 2> "$tmp/bledy" || {
        cat "$tmp/bledy" >&2
        return 1
    }
    awk '{ printf "%.2f s, %.0f MB", $1, $2 / 1024 }' "$tmp/czas"
}

for proba in $(seq "${PROBY:-2}"); do
    echo "-- próba $proba"
    t=$(czas "$bin/orvany3d-cli" raport "$tmp/nmt.asc")
    tcaly=${t%% s,*}
    tr=$(grep -o '[0-9]* trójkąt[a-zóęą]*\.' "$tmp/wyjscie" | grep -o '^[0-9]*')
    echo "orvany3d-cli raport nmt.asc:              $t, $tr trójkątów"
    t=$(czas "$bin/orvany3d-cli" raport "$tmp/trasa.xml" "$tmp/nmt.asc" --pas 200)
    tp=$(grep -o '[0-9]* trójkąt[a-zóęą]*\.' "$tmp/wyjscie" | grep -o '^[0-9]*')
    echo "orvany3d-cli raport trasa.xml nmt.asc --pas 200: $t, $tp trójkątów"
    t=$(czas "$tmp/hmm" "$tmp/nmt.png" "$tmp/hmm.stl" -z 655.35 -e "$(awk 'BEGIN { printf "%.10f", 0.10 / 655.35 }')" -q)
    th=$((($(stat -c %s "$tmp/hmm.stl") - 84) / 50))
    echo "hmm nmt.png -e 0.10 m:                    $t, $th trójkątów"
    awk -v a="$tcaly" -v b="${t%% s,*}" 'BEGIN { printf "czas raport nmt.asc / hmm: %.2f\n", a / b }'
    awk -v a="$tr" -v b="$th" 'BEGIN { printf "trójkąty programu / hmm: %.3f\n", a / b }'
done
echo "== uptime: $(uptime)"
