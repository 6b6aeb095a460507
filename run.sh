#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program (optimised, without the tests) and starts it on the
# user's database, which it creates with the demo data the first time.
set -euo pipefail
raiz="$(cd "$(dirname "$0")" && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build/programa" RelWithDebInfo velmora -- -DVELMORA_PRUEBAS=OFF
# build/PROG: where an older layout kept the database beside the program.
"$raiz/scripts/preparar_datos.sh" "$raiz/build/PROG"
exec "$raiz/build/programa/PROG/velmora" "$@"
