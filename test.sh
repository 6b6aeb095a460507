#!/usr/bin/env bash
# Builds Velmora and runs every test (offscreen), PostgreSQL ones included.
set -euo pipefail
raiz="$(cd "$(dirname "$0")" && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build"
"$raiz/scripts/preparar_prog.sh" "$raiz/build"
export QT_QPA_PLATFORM=offscreen
cd "$raiz/build"
if [ -x "$raiz/scripts/con_postgres.sh" ]; then
  "$raiz/scripts/con_postgres.sh" ctest --output-on-failure "$@"
else
  ctest --output-on-failure "$@"
fi
