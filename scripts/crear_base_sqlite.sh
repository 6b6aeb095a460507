#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# crear_base_sqlite.sh <base.db> [datos.sql]: creates the embedded database
# with the schema, the procedures and the demo data of db/sqlite/, or with
# the data of datos.sql (for example a large set from generar_demo) in place
# of the demo data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 1 ] || { echo "uso: $0 <base.db> [datos.sql]" >&2; exit 2; }
destino="$1"
datos="${2:-}"
tmp="$destino.tmp"
rm -f "$tmp"
for f in "$raiz"/db/sqlite/*.sql; do
  if [ -n "$datos" ] && [[ "$(basename "$f")" == *datos* ]]; then
    f="$datos"
  fi
  # One transaction per file: loading a large data set stays fast.
  { echo "BEGIN;"; cat "$f"; echo "COMMIT;"; } | sqlite3 -bail "$tmp"
done
mv "$tmp" "$destino"
