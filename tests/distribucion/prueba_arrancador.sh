#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# prueba_arrancador.sh <carpeta de compilación>: the installed starter
# (bin/velmora) as a user meets it. Installs the build into a throwaway
# prefix (cmake --install), puts a stand-in in place of the program that
# only says it was started, and runs the starter with a home of its own per
# case: first start, a deleted database, data sources it must leave alone,
# dangling links it must refuse. Then the real program answers help and
# version through the starter, writing nothing, and refuses what it does not
# know. Run as root, every start runs as "nobody", as a user without rights
# would.
set -euo pipefail
[ $# -eq 1 ] || { echo "uso: $0 <carpeta de compilación>" >&2; exit 2; }
build="$1"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/velmora-arrancador.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefijo="$tmp/prefijo"
cmake --install "$build" --prefix "$prefijo" >/dev/null
arrancador="$prefijo/bin/velmora"
programa="$(find "$prefijo/lib" -path '*/velmora/velmora' -type f)"
demo="$prefijo/share/velmora/velmora.db"
[ -x "$arrancador" ] && [ -n "$programa" ] && [ -f "$demo" ] || { echo "FALLA: instalación incompleta en $prefijo" >&2; exit 1; }
mv "$programa" "$programa.real"
cat > "$programa" <<'EOF'
#!/bin/sh
echo "PROGRAMA INICIADO $*"
echo "MASCARA $(umask)"
EOF
chmod 755 "$programa"

usuario=()
if [ "$(id -u)" -eq 0 ]; then
  usuario=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

fallas=0
falla() { echo "FALLA [$caso]: $*" >&2; fallas=$((fallas + 1)); }

# nuevo_hogar <caso>: an empty home owned by the user the starter runs as.
nuevo_hogar() {
  caso="$1"
  hogar="$tmp/hogares/$caso"
  mkdir -p "$hogar"
  [ ${#usuario[@]} -eq 0 ] || chown 65534:65534 "$hogar"
  dsn="$hogar/.config/velmora/conexion.dsn"
  base="$hogar/.local/share/velmora/velmora.db"
}
# como_usuario <command...>: as the starter's user, in the current home,
# with the usual mask.
como_usuario() {
  (umask 022 && "${usuario[@]}" env -i PATH=/usr/bin:/bin HOME="$hogar" LANG=C "$@")
}
# arrancar [args...]: runs the starter; its output in $salida, status in $estado.
arrancar() {
  estado=0
  salida="$(como_usuario "$arrancador" "$@" 2>&1)" || estado=$?
}
origen_escrito() { printf '[ODBC]\nDRIVER=SQLite3\nDatabase=%s\nStepAPI=1\n' "$1"; }
modo() { stat -c %a "$1"; }

# First start: the demo database and a data source naming it, the user's only.
nuevo_hogar primer_arranque
arrancar -x
[ "$estado" -eq 0 ] || falla "terminó con $estado: $salida"
grep -qx "PROGRAMA INICIADO -x" <<<"$salida" || falla "no inició el programa con sus argumentos: $salida"
cmp -s "$base" "$demo" || falla "la base no es la de demostración"
[ "$(cat "$dsn" 2>/dev/null)" = "$(origen_escrito "$base")" ] || falla "origen de datos inesperado: $(cat "$dsn" 2>&1)"
[ "$(modo "$dsn")" = 600 ] && [ "$(modo "$base")" = 600 ] || falla "permisos $(modo "$dsn") y $(modo "$base"), no 600"
# The program gets the user's own mask, not the starter's private one: its
# exports, PDFs and settings are made as any file of the user.
grep -qx "MASCARA 0022" <<<"$salida" || falla "el programa no recibe la máscara del usuario (0022): $salida"
# A second start keeps the user's data.
echo cambio >> "$base"
cp "$base" "$tmp/cambiada.db"
arrancar
[ "$estado" -eq 0 ] && cmp -s "$base" "$tmp/cambiada.db" || falla "el segundo arranque cambió la base"
# The README's way to start again: delete the database.
rm "$base"
arrancar
[ "$estado" -eq 0 ] || falla "terminó con $estado tras borrar la base: $salida"
cmp -s "$base" "$demo" || falla "no volvió a crear la base borrada"
[ "$(cat "$dsn")" = "$(origen_escrito "$base")" ] || falla "cambió el origen de datos"

# XDG folders are honoured.
nuevo_hogar xdg
estado=0
salida="$(como_usuario XDG_CONFIG_HOME="$hogar/cfg" XDG_DATA_HOME="$hogar/dat" "$arrancador" 2>&1)" || estado=$?
[ "$estado" -eq 0 ] && cmp -s "$hogar/dat/velmora/velmora.db" "$demo" \
  && [ "$(cat "$hogar/cfg/velmora/conexion.dsn")" = "$(origen_escrito "$hogar/dat/velmora/velmora.db")" ] \
  || falla "no usó XDG_CONFIG_HOME y XDG_DATA_HOME: $salida"

# Data sources the user wrote are left alone, also with no database at the default place.
for otro in postgresql sqlite_propia; do
  nuevo_hogar "$otro"
  como_usuario mkdir -p "$(dirname "$dsn")"
  if [ "$otro" = postgresql ]; then
    texto=$'[ODBC]\nDRIVER=PostgreSQL Unicode\nServername=servidor\nDatabase=velmora'
  else
    texto="$(origen_escrito "$hogar/otra/velmora.db")"
  fi
  como_usuario sh -c 'cat > "$1"' - "$dsn" <<<"$texto"
  arrancar
  [ "$estado" -eq 0 ] || falla "terminó con $estado: $salida"
  [ ! -e "$base" ] && [ ! -e "$hogar/otra/velmora.db" ] || falla "creó una base que el origen de datos no pide"
  [ "$(cat "$dsn")" = "$texto" ] || falla "cambió el origen de datos del usuario"
done

# A dangling link at the data source or at the database: refused in Spanish,
# nothing written at the link's target, the program not started.
for enlace in conexion.dsn velmora.db; do
  nuevo_hogar "enlace_$enlace"
  destino="$hogar/destino/$enlace"
  como_usuario mkdir -p "$hogar/destino" "$(dirname "$dsn")" "$(dirname "$base")"
  if [ "$enlace" = conexion.dsn ]; then
    como_usuario ln -s "$destino" "$dsn"
    roto="$dsn"
  else
    como_usuario sh -c 'cat > "$1"' - "$dsn" <<<"$(origen_escrito "$base")"
    como_usuario ln -s "$destino" "$base"
    roto="$base"
  fi
  arrancar
  [ ! -e "$destino" ] || falla "escribió a través del enlace en $destino"
  [ "$estado" -ne 0 ] || falla "no rehusó el enlace roto"
  grep -q "PROGRAMA INICIADO" <<<"$salida" && falla "inició el programa"
  grep -qF "$roto es un enlace simbólico roto" <<<"$salida" || falla "sin mensaje en castellano: $salida"
  [ -L "$roto" ] || falla "quitó el enlace"
done

# The real program answers help and version through the starter, in every
# spelling it takes and with no display at all, with nothing written in the
# home. What the program refuses is refused through the starter too.
mv -f "$programa.real" "$programa"
for opcion in -h --help -help '-?' -v --version -version; do
  nuevo_hogar "opcion$opcion"
  arrancar "$opcion"
  case "$opcion" in
    -h|--help|-help|'-?') esperada='^Uso: velmora' ;;
    *) esperada='^velmora [0-9]\+\.[0-9]\+' ;;
  esac
  [ "$estado" -eq 0 ] && grep -q "$esperada" <<<"$salida" || falla "$opcion: $estado $salida"
  [ -z "$(ls -A "$hogar")" ] || falla "$opcion escribió en la carpeta personal: $(cd "$hogar" && find . -mindepth 1)"
done
nuevo_hogar opcion_desconocida
arrancar --help-all
[ "$estado" -eq 2 ] && grep -qF "opción desconocida «--help-all»" <<<"$salida" \
  && grep -qF "velmora --help" <<<"$salida" || falla "--help-all: $estado $salida"

if [ "$fallas" -gt 0 ]; then
  echo "$fallas fallas" >&2
  exit 1
fi
echo "arrancador instalado: todos los casos bien"
