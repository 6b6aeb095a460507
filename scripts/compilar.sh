#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# compilar.sh <carpeta> <tipo> [objetivo...] [-- opciones de cmake...]:
# configures the build folder (CMAKE_BUILD_TYPE <tipo>, through ccache when
# it is installed) and builds the given targets, or all of them.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 2 ] || { echo "uso: $0 <carpeta> <tipo> [objetivo...] [-- opciones de cmake...]" >&2; exit 2; }
build="$1"
tipo="$2"
shift 2
objetivos=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do objetivos+=(--target "$1"); shift; done
[ $# -gt 0 ] && shift
opciones=("$@")
command -v ccache >/dev/null 2>&1 && opciones+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$tipo" "${opciones[@]}" >/dev/null
# CMake 3.25 does not run moc again when a new header joins a target (its
# list of files is not among the dependencies): forget the last moc run of
# each target whose list changed since.
for info in "$build"/*/CMakeFiles/*_autogen.dir/AutogenInfo.json "$build"/*/*/CMakeFiles/*_autogen.dir/AutogenInfo.json \
            "$build"/*/*/*/CMakeFiles/*_autogen.dir/AutogenInfo.json; do
  [ -f "$info" ] || continue
  objetivo="$(basename "$(dirname "$info")" .dir)"
  marca="$(dirname "$(dirname "$(dirname "$info")")")/$objetivo/timestamp"
  [ -f "$marca" ] && [ "$info" -nt "$marca" ] && rm -f "$marca"
done
cmake --build "$build" -j"$(nproc)" "${objetivos[@]}"
