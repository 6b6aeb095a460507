#!/usr/bin/env bash
# Builds Velmora and starts it on the embedded demo database.
set -euo pipefail
raiz="$(cd "$(dirname "$0")" && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build"
"$raiz/scripts/preparar_prog.sh" "$raiz/build"
exec "$raiz/build/PROG/velmora" "$@"
