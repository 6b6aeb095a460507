#!/usr/bin/env bash
# crear_base_sqlite.sh <base.db>: creates the embedded database with the
# schema, the procedures and the demo data.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
destino="$1"
tmp="$destino.tmp"
rm -f "$tmp"
for f in "$raiz"/db/sqlite/*.sql; do
  sqlite3 -bail "$tmp" < "$f"
done
mv "$tmp" "$destino"
