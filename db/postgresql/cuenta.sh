#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cuenta.sh <conexión> <cuenta> lectura|edicion|ninguno: puts a person's
# account on the server in one of the two groups of 05_permisos.sql, out of
# the other: lectura only reads, edicion also creates, modifies, deletes and
# restores; ninguno takes both away (the account stays: the history names
# it). A new account is created able to log in, and on a terminal psql then
# asks for its password (\password: it never travels in clear). Run it as
# the database's owner (with CREATEROLE) or as a superuser.
set -euo pipefail
uso() { echo "uso: $0 <conexión> <cuenta> lectura|edicion|ninguno" >&2; exit 2; }
[ $# -eq 3 ] || uso
case "$3" in
  lectura|edicion) grupo="velmora_$3" ;;
  ninguno) grupo= ;;
  *) uso ;;
esac
# One transaction: the account if new, out of the other group, into its own.
nueva=$(psql -X -q -A -t -v ON_ERROR_STOP=1 --single-transaction -d "$1" -v cuenta="$2" -v grupo="$grupo" <<'SQL'
SELECT count(*) = 0 FROM pg_roles WHERE rolname = :'cuenta';
SELECT format('CREATE ROLE %I LOGIN', :'cuenta')
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'cuenta') \gexec
SELECT format('REVOKE %I FROM %I', g.rolname, :'cuenta')
  FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles c ON c.oid = m.member
 WHERE c.rolname = :'cuenta' AND g.rolname IN ('velmora_lectura', 'velmora_edicion')
   AND g.rolname <> :'grupo' \gexec
SELECT format('GRANT %I TO %I', :'grupo', :'cuenta') WHERE :'grupo' <> '' \gexec
SQL
)
if [ "$nueva" = t ]; then
  if [ -t 0 ]; then
    psql -X -q -d "$1" -v cuenta="$2" <<<'\password :"cuenta"'
  else
    echo "Cuenta $2 creada sin contraseña: fíjela en psql con \\password $2" >&2
  fi
fi
