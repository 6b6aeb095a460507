#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing need,
# skipping those already installed, and generates the Spanish locale that
# the locale tests start the program under. When everything is present it
# does nothing (no apt, no network). Without root it uses sudo when there is
# one; otherwise it prints the command to run as root and stops. With "fuzz", also
# what scripts/fuzz.sh needs.
set -euo pipefail
paquetes=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev libqt6sql6-odbc
  qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc sqlite3 odbc-postgresql postgresql
  libxlsxwriter-dev zlib1g-dev unzip locales
  # the model-based random test (tests/modelo)
  librapidcheck-dev
  ccache
  # the Debian package (scripts/paquete.sh): dpkg-shlibdeps, objcopy and
  # readelf for the debug symbols, file, and lintian to check it
  dpkg-dev binutils file lintian
  # reading printed PDFs back in the tests
  poppler-utils
)
# "fuzz": also clang and its libFuzzer runtime, for scripts/fuzz.sh only.
if [ "${1:-}" = fuzz ]; then paquetes+=(clang-14 libclang-rt-14-dev); fi
faltan=()
# One dpkg-query for all: the check stays well under a second.
declare -A instalado=()
while IFS=' ' read -r nombre estado; do
  [ "$estado" = "installed" ] && instalado["${nombre%%:*}"]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${paquetes[@]}" 2>/dev/null || true)
for p in "${paquetes[@]}"; do
  [ -n "${instalado[$p]:-}" ] || faltan+=("$p")
done
falta_locale=0
locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$' || falta_locale=1
[ ${#faltan[@]} -eq 0 ] && [ "$falta_locale" -eq 0 ] && exit 0

como=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    como=(sudo)
  else
    {
      echo "Faltan paquetes o la configuración regional es_ES.UTF-8, y hace falta ser root"
      echo "para instalarlos (no hay sudo). Ejecute como root y vuelva a intentarlo:"
      echo
      if [ ${#faltan[@]} -gt 0 ]; then
        echo "  apt-get update && apt-get install -y --no-install-recommends ${faltan[*]}"
      fi
      if [ "$falta_locale" -eq 1 ]; then
        echo "  sed -i 's/^# *\\(es_ES\\.UTF-8 UTF-8\\)/\\1/' /etc/locale.gen && locale-gen"
      fi
    } >&2
    exit 1
  fi
fi
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  "${como[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${como[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${faltan[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  echo "Generando la configuración regional es_ES.UTF-8"
  "${como[@]}" sed -i 's/^# *\(es_ES\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^es_ES\.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | "${como[@]}" tee -a /etc/locale.gen >/dev/null
  "${como[@]}" locale-gen >/dev/null
fi
