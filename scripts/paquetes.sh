#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# skipping those already installed, and generates the Spanish locale that
# the locale tests start the program under.
set -euo pipefail
paquetes=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev libqt6sql6-odbc
  qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc sqlite3 odbc-postgresql postgresql
  libxlsxwriter-dev zlib1g-dev unzip locales
)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${faltan[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  echo "Generando la configuración regional es_ES.UTF-8"
  $sudo sed -i 's/^# *\(es_ES\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^es_ES\.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
