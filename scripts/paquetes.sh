#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# skipping those already installed.
set -euo pipefail
paquetes=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6svg6-dev libqt6sql6-odbc
  unixodbc unixodbc-dev libsqliteodbc sqlite3 odbc-postgresql postgresql
  libxlsxwriter-dev unzip
)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Instalando: ${faltan[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${faltan[@]}"
