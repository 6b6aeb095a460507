#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Velmora with its tests (Debug, assertions on) in build/pruebas and
# runs every test (offscreen), PostgreSQL ones included. The tests never
# touch the user's folders: each runs with its own HOME and XDG folders.
set -euo pipefail
raiz="$(cd "$(dirname "$0")" && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build/pruebas" Debug
export QT_QPA_PLATFORM=offscreen
cd "$raiz/build/pruebas"
# No server, no green run: con_postgres.sh fails when it cannot start one.
# A selection that matches no test is an error too, never an empty pass.
"$raiz/scripts/con_postgres.sh" ctest --output-on-failure --no-tests=error "$@"
