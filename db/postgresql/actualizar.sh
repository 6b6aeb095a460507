#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# actualizar.sh <conexión>: brings a database loaded by an earlier cargar.sh
# up to date, keeping every row and id: the procedures, the history's
# triggers and procedures and the groups' rights again, then actualizar.sql
# (indicator names in NFC and their checks, accounts' own rights), which
# ends by saying what to grant to the existing accounts. Run it as the
# tables' owner or as a superuser (what it creates goes to the owner). All of it lands or none of it; running it twice changes
# nothing more.
set -euo pipefail
carpeta="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 1 ] || { echo "uso: $0 <conexión>" >&2; exit 2; }
PGOPTIONS="${PGOPTIONS:-} -c client_min_messages=warning" \
  psql -X -q -A -t -o /dev/null -v ON_ERROR_STOP=1 --single-transaction -d "$1" \
  -f "$carpeta/02_procedimientos.sql" -f "$carpeta/04_historial.sql" \
  -f "$carpeta/05_permisos.sql" -f "$carpeta/actualizar.sql"
