#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# sanitizadores.sh [ctest options...]: builds everything with the address and
# undefined-behaviour sanitizers (the sanitizadores preset, build/sanitizadores)
# and runs the whole test suite under them, PostgreSQL tests included. Any
# finding stops the test that made it, so the run is green only when clean.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/paquetes.sh"
"$raiz/scripts/compilar.sh" "$raiz/build/sanitizadores" Debug -- -DVELMORA_SANITIZADORES=address,undefined
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
cd "$raiz/build/sanitizadores"
"$raiz/scripts/con_postgres.sh" ctest --output-on-failure "$@"
