#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# con_postgres.sh <command...>: runs the command beside a throwaway PostgreSQL
# server loaded with db/postgresql, then stops the server and returns the
# command's exit code.
#
# The server lives in a temporary folder and listens only on a unix socket in
# that folder (no TCP port). As root it runs as an unprivileged user (the
# Debian `postgres` user). The command finds a data source file for the
# "PostgreSQL Unicode" ODBC driver in $VELMORA_PG_DSN, and this server's
# pg_ctl in $VELMORA_PG_CTL.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 1 ] || { echo "uso: $0 <orden...>" >&2; exit 2; }

bin="${VELMORA_PG_BIN:-}"
if [ -z "$bin" ]; then
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [ -x "$d/initdb" ] && { bin="$d"; break; }
  done
fi
[ -n "$bin" ] || { echo "con_postgres.sh: no se encontró initdb de PostgreSQL" >&2; exit 1; }

carpeta="$(mktemp -d "${TMPDIR:-/tmp}/velmora-pg.XXXXXX")"
datos="$carpeta/datos"
como=()
if [ "$(id -u)" -eq 0 ]; then
  usuario=postgres
  id -u "$usuario" >/dev/null 2>&1 || usuario=nobody
  chown "$usuario" "$carpeta"
  chmod 755 "$carpeta"
  como=(runuser -u "$usuario" --)
fi

parar() {
  if [ -f "$datos/postmaster.pid" ]; then
    "${como[@]}" "$bin/pg_ctl" -D "$datos" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$carpeta"
}
trap parar EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fallo() {
  echo "con_postgres.sh: $1" >&2
  [ -f "$2" ] && tail -n 20 "$2" >&2
  exit 1
}

"${como[@]}" "$bin/initdb" -D "$datos" -U velmora -A trust -E UTF8 --locale=C.UTF-8 --no-sync \
  >"$carpeta/initdb.log" 2>&1 || fallo "initdb falló" "$carpeta/initdb.log"

# A throwaway server: no durability needed, only speed.
"${como[@]}" "$bin/pg_ctl" -D "$datos" -l "$carpeta/servidor.log" -w -t 60 \
  -o "-k $carpeta -c listen_addresses= -p 5432 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
  start >/dev/null || fallo "el servidor no arrancó" "$carpeta/servidor.log"

conexion="host=$carpeta port=5432 user=velmora"
psql -X -q -d "$conexion dbname=postgres" -c "CREATE DATABASE velmora" >/dev/null \
  || fallo "no se pudo crear la base" "$carpeta/servidor.log"
"$raiz/db/postgresql/cargar.sh" "$conexion dbname=velmora" \
  || fallo "no se pudo cargar db/postgresql" "$carpeta/servidor.log"

# The shipped example data source, pointed at this server: tests fetch rows
# with the settings users get.
sed -e '/^[;#]/d' -e "s|^Servername=.*|Servername=$carpeta|" -e 's|^Port=.*|Port=5432|' \
  -e 's|^Database=.*|Database=velmora|' -e 's|^Username=.*|Username=velmora|' \
  "$raiz/db/postgresql/conexion.dsn" > "$carpeta/conexion.dsn"
export VELMORA_PG_DSN="$carpeta/conexion.dsn"
# Tests that restart the server between two presses: $VELMORA_PG_CTL restart -m fast
printf '#!/bin/sh\nexec %s "%s/pg_ctl" -D "%s" -l "%s/servidor.log" -w "$@"\n' \
  "${como[*]}" "$bin" "$datos" "$carpeta" > "$carpeta/pg_ctl.sh"
chmod 755 "$carpeta/pg_ctl.sh"
export VELMORA_PG_CTL="$carpeta/pg_ctl.sh"

set +e
"$@"
codigo=$?
set -e
exit "$codigo"
