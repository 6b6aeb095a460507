#!/usr/bin/env bash
# compilar.sh <carpeta> <tipo> [objetivo...] [-- opciones de cmake...]:
# configures the build folder once (CMAKE_BUILD_TYPE <tipo>, through ccache
# when it is installed) and builds the given targets, or all of them.
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
# A configured folder reconfigures itself when a CMakeLists changes; running
# cmake again only when the type or the options differ keeps a rebuild fast.
firma="$tipo ${opciones[*]}"
if [ ! -f "$build/build.ninja" ] || [ "$(cat "$build/.velmora_config" 2>/dev/null)" != "$firma" ]; then
  cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$tipo" "${opciones[@]}" >/dev/null
  echo "$firma" > "$build/.velmora_config"
fi
cmake --build "$build" -j"$(nproc)" "${objetivos[@]}"
