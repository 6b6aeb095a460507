#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz.sh [seconds] [target...]: builds the fuzz targets of tests/fuzz with
# clang and libFuzzer in build-fuzz/ and runs each for the given seconds
# (60 unless told; FUZZ_SEGUNDOS also sets it), niced. Each keeps its corpus
# in build-fuzz/corpus/<target>, seeded from tests/fuzz/semillas/<target>.
# A finding stops that target, leaves its input in build-fuzz/hallazgos/ and
# makes the script fail.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
segundos="${1:-${FUZZ_SEGUNDOS:-60}}"
shift || true
objetivos=("$@")
[ ${#objetivos[@]} -gt 0 ] || objetivos=(fuzz_comandos fuzz_numeros fuzz_iconos fuzz_origen_datos)

"$raiz/scripts/paquetes.sh" fuzz
clangxx="$(command -v clang++-14 || command -v clang++ || true)"
[ -n "$clangxx" ] || { echo "fuzz.sh: no hay clang++" >&2; exit 1; }

b="$raiz/build-fuzz"
cmake -S "$raiz" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$clangxx" -DVELMORA_FUZZ=ON >/dev/null
nice cmake --build "$b" -j2 --target "${objetivos[@]}"

mkdir -p "$b/hallazgos"
fallo=0
for o in "${objetivos[@]}"; do
  corpus="$b/corpus/$o"
  mkdir -p "$corpus"
  semillas=()
  [ -d "$raiz/tests/fuzz/semillas/$o" ] && semillas=("$raiz/tests/fuzz/semillas/$o")
  echo "== $o: $segundos s"
  if ! nice "$b/tests/fuzz/$o" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$b/hallazgos/$o-" "$corpus" "${semillas[@]}" \
        2>"$b/$o.log"; then
    fallo=1
    echo "== $o: HALLAZGO (ver $b/$o.log y $b/hallazgos/)"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+[[:space:]]+DONE' "$b/$o.log" || true
done
exit $fallo
