#!/usr/bin/env bash
# Builds Velmora and runs every test (offscreen), PostgreSQL ones included.
set -euo pipefail
raiz="$(cd "$(dirname "$0")" && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build"
"$raiz/scripts/preparar_prog.sh" "$raiz/build"
export QT_QPA_PLATFORM=offscreen
cd "$raiz/build"
# No server, no green run: con_postgres.sh fails when it cannot start one.
"$raiz/scripts/con_postgres.sh" ctest --output-on-failure "$@"
