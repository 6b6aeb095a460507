#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# escribir_origen.sh <conexion.dsn> <velmora.db>: writes the data source of the
# embedded database with the settings the program ships with. The program's
# set-up and the tests' private copies both write theirs through this script,
# so tests read rows the way users do.
set -euo pipefail
[ $# -eq 2 ] || { echo "uso: $0 <conexion.dsn> <base.db>" >&2; exit 2; }
umask 077
# StepAPI=1: the SQLite driver hands rows over as it reads them.
printf '[ODBC]\nDRIVER=SQLite3\nDatabase=%s\nStepAPI=1\n' "$2" > "$1"
