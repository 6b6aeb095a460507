#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# preparar_datos.sh [carpeta antigua]: the user's embedded database
# ($XDG_DATA_HOME/velmora/velmora.db) and the data source that points at it
# ($XDG_CONFIG_HOME/velmora/conexion.dsn), each created only when missing and
# never overwritten. Both stay out of build/, so a clean build loses no data.
# A database deleted while the data source still names it comes back with
# the demo data (the way to start again from empty demo data).
# [carpeta antigua]: the program folder of an older layout that kept the
# database and the data source beside the program; on the first run they are
# copied from there instead of starting from the demo data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
antigua="${1:-}"
umask 077  # the data source may hold a password; the data are the user's own
config="${XDG_CONFIG_HOME:-$HOME/.config}/velmora"
datos="${XDG_DATA_HOME:-$HOME/.local/share}/velmora"
dsn="$config/conexion.dsn"
base="$datos/velmora.db"
mkdir -p "$config" "$datos"

if [ ! -e "$dsn" ] && [ -n "$antigua" ] && [ -f "$antigua/conexion.dsn" ] \
   && ! grep -qxF "Database=$antigua/velmora.db" "$antigua/conexion.dsn"; then
  # A data source of one's own (another database, a server): keep using it.
  cp "$antigua/conexion.dsn" "$dsn"
  echo "Origen de datos copiado de $antigua a $dsn"
fi
if [ ! -e "$dsn" ]; then
  if [ ! -e "$base" ]; then
    if [ -n "$antigua" ] && [ -f "$antigua/velmora.db" ]; then
      cp "$antigua/velmora.db" "$base"
      echo "Base de datos copiada de $antigua a $base"
    else
      "$raiz/scripts/crear_base_sqlite.sh" "$base"
      echo "Base de datos de demostración creada en $base"
    fi
  fi
  "$raiz/scripts/escribir_origen.sh" "$dsn" "$base"
  echo "Origen de datos creado en $dsn"
elif [ ! -e "$base" ] && grep -qxF "Database=$base" "$dsn"; then
  "$raiz/scripts/crear_base_sqlite.sh" "$base"
  echo "Base de datos de demostración creada en $base"
fi
