#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# spdx.sh [--comprobar]: gives every source file of the checkout the licence
# line "SPDX-License-Identifier: GPL-3.0-or-later" as its first comment
# (C++ "//", scripts and CMake "#", SQL "--"; after a "#!" line when there is
# one). A file that has it is left alone, so running it again changes nothing.
# With --comprobar it changes nothing, names each source file without the
# line and fails when there is one (the CTest test "spdx").
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
comprobar=false
case "${1:-}" in
  "") ;;
  --comprobar) comprobar=true ;;
  *) echo "uso: $0 [--comprobar]" >&2; exit 2 ;;
esac
linea_spdx="SPDX-License-Identifier: GPL-3.0-or-later"

# The comment that opens a line in each kind of source file.
comentario() {
  case "$1" in
    *.cpp|*.h) echo "//" ;;
    *.sql) echo "--" ;;
    *.sh|*.py|*.cmake|*/CMakeLists.txt|*/distribucion/velmora.in) echo "#" ;;
  esac
}

faltan=0
while IFS= read -r -d '' archivo; do
  marca="$(comentario "$archivo")"
  [ -n "$marca" ] || continue
  # Only the opening lines count: a file that merely mentions the line
  # further down (this script, a test) has not got it.
  head -n 3 "$archivo" | grep -qxF -e "$marca $linea_spdx" && continue
  if $comprobar; then
    echo "sin línea SPDX: ${archivo#"$raiz"/}"
    faltan=$((faltan + 1))
    continue
  fi
  nuevo="$(mktemp "$archivo.XXXXXX")"
  if head -n 1 "$archivo" | grep -q '^#!'; then
    { head -n 1 "$archivo"; echo "$marca $linea_spdx"; tail -n +2 "$archivo"; } > "$nuevo"
  else
    { echo "$marca $linea_spdx"; cat "$archivo"; } > "$nuevo"
  fi
  chmod --reference="$archivo" "$nuevo"
  mv -f "$nuevo" "$archivo"
  echo "añadida: ${archivo#"$raiz"/}"
done < <(find "$raiz" \( -path "$raiz/.git" -o -path "$raiz/.ci" -o -path "$raiz/build" -o -path "$raiz/build-*" \) -prune \
           -o -type f -print0 | sort -z)

if $comprobar && [ "$faltan" -gt 0 ]; then
  echo "spdx.sh: $faltan archivos fuente sin la línea SPDX; scripts/spdx.sh la añade." >&2
  exit 1
fi
exit 0
