#!/usr/bin/env bash
# preparar_prog.sh <build>: the embedded database, its conexion.dsn and the
# export folder beside the program, each created only when missing.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$build/PROG" "$build/Exportar"
if [ ! -f "$build/PROG/conexion.dsn" ]; then
  [ -f "$build/PROG/velmora.db" ] || "$raiz/scripts/crear_base_sqlite.sh" "$build/PROG/velmora.db"
  "$raiz/scripts/escribir_origen.sh" "$build/PROG/conexion.dsn" "$build/PROG/velmora.db"
fi
