#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cargar.sh <conexión> [datos.sql]: creates the scorecard tables, procedures
# and demo data (or the data of datos.sql, for example a large set from
# generar_demo --motor postgresql), then the history of changes and the
# rights of the groups velmora_lectura and velmora_edicion (created when the
# server has none yet: the role that loads needs CREATEROLE then), in an
# existing, empty PostgreSQL database owned by that role.
# <conexión> is anything psql accepts as a database, for example
#   "host=servidor port=5432 dbname=velmora user=velmora"
# or postgresql://velmora@servidor/velmora. All of it lands or none of it.
set -euo pipefail
carpeta="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 1 ] || { echo "uso: $0 <conexión> [datos.sql]" >&2; exit 2; }
datos="${2:-$carpeta/03_datos_demo.sql}"
PGOPTIONS="${PGOPTIONS:-} -c client_min_messages=warning" \
  psql -X -q -o /dev/null -v ON_ERROR_STOP=1 --single-transaction -d "$1" \
  -f "$carpeta/01_esquema.sql" -f "$carpeta/02_procedimientos.sql" -f "$datos" \
  -f "$carpeta/04_historial.sql" -f "$carpeta/05_permisos.sql"
