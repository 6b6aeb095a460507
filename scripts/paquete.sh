#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# paquete.sh: builds the Debian package from this checkout and checks it.
#   1. installs what is missing (scripts/paquetes.sh: lintian, dpkg-dev...);
#   2. builds the program optimised in build/programa, as ./run.sh does
#      (through ccache; the demo database, the manual page and the changelog
#      are made with it);
#   3. cpack: build/paquete/velmora_<versión>_<arq>.deb and the debug symbols,
#      velmora-dbgsym_<versión>_<arq>.ddeb;
#   4. checks the contents (dpkg-deb -c), runs the packaged starter as a user
#      without rights with an empty home, and runs lintian: any error or
#      warning fails. Without lintian it fails too.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="$raiz/build/programa"
salida="$raiz/build/paquete"
"$raiz/scripts/paquetes.sh"
command -v lintian >/dev/null 2>&1 \
  || { echo "paquete.sh: falta lintian; instálelo (scripts/paquetes.sh) y vuelva a intentarlo." >&2; exit 1; }
"$raiz/scripts/compilar.sh" "$build" RelWithDebInfo velmora -- -DVELMORA_PRUEBAS=OFF
rm -rf "$salida"
(cd "$build" && cpack -G DEB -B "$salida" >/dev/null)
deb="$(find "$salida" -maxdepth 1 -name 'velmora_*.deb')"
ddeb="$(find "$salida" -maxdepth 1 -name 'velmora-dbgsym_*.ddeb')"
[ -f "$deb" ] && [ -f "$ddeb" ] || { echo "paquete.sh: cpack no hizo los dos paquetes en $salida" >&2; exit 1; }
rm -rf "$salida/_CPack_Packages"

fallas=0
falla() { echo "FALLA: $*" >&2; fallas=$((fallas + 1)); }
contenido="$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||')"
for archivo in usr/bin/velmora usr/lib/velmora/velmora usr/lib/velmora/escribir_origen.sh \
               usr/share/velmora/velmora.db \
               usr/share/applications/velmora.desktop usr/share/metainfo/org.velmora.velmora.metainfo.xml \
               usr/share/icons/hicolor/scalable/apps/velmora.svg usr/share/man/man1/velmora.1.gz \
               usr/share/doc/velmora/copyright usr/share/doc/velmora/changelog.gz; do
  grep -qxF "$archivo" <<<"$contenido" || falla "el paquete no trae $archivo"
done
# The pictures are built into the program: no copies beside it.
! grep -q '^usr/share/velmora/imagenes' <<<"$contenido" || falla "el paquete trae copias de las imágenes"
# Each package once in Depends (dpkg-shlibdeps' list and the package's own).
dependencias="$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')"
repetidas="$(sort <<<"$dependencias" | uniq -d)"
[ -z "$repetidas" ] || falla "Depends nombra dos veces: $repetidas"
grep -qxF 'License: GPL-3.0-or-later' <<<"$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/velmora/copyright)" \
  || falla "el archivo copyright no da la licencia GPL-3.0-or-later"
grep -q '\./usr/lib/debug/\.build-id/.*\.debug$' <<<"$(dpkg-deb -c "$ddeb")" || falla "velmora-dbgsym no trae los símbolos"

# The packaged starter, unpacked, as a user without rights and an empty home:
# --version from the real program, then a first start with the program
# replaced by a stand-in (the real one would wait for a user at its login).
tmp="$(mktemp -d "${TMPDIR:-/tmp}/velmora-paquete.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
dpkg-deb -x "$deb" "$tmp/raiz"
mkdir "$tmp/hogar"
usuario=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$tmp/hogar"
  usuario=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
version="$("${usuario[@]}" env -i PATH=/usr/bin:/bin HOME="$tmp/hogar" QT_QPA_PLATFORM=offscreen \
             "$tmp/raiz/usr/bin/velmora" --version 2>&1)" || falla "--version terminó con error: $version"
grep -qF "$(dpkg-deb -f "$deb" Version)" <<<"$version" && grep -qF GPL-3.0-or-later <<<"$version" \
  || falla "--version dice: $version"
printf '#!/bin/sh\necho iniciado\n' > "$tmp/raiz/usr/lib/velmora/velmora"
inicio="$("${usuario[@]}" env -i PATH=/usr/bin:/bin HOME="$tmp/hogar" "$tmp/raiz/usr/bin/velmora" 2>&1)" \
  || falla "el primer arranque terminó con error: $inicio"
[ "$inicio" = iniciado ] || falla "el primer arranque dice: $inicio"
cmp -s "$tmp/hogar/.local/share/velmora/velmora.db" "$tmp/raiz/usr/share/velmora/velmora.db" \
  || falla "el primer arranque no copió la base de datos de demostración"
grep -qxF "Database=$tmp/hogar/.local/share/velmora/velmora.db" "$tmp/hogar/.config/velmora/conexion.dsn" 2>/dev/null \
  || falla "el primer arranque no escribió el origen de datos"

# lintian refuses to be root; as root it runs as nobody on copies it can read.
echo "lintian:"
if [ "$(id -u)" -eq 0 ]; then
  mkdir "$tmp/lintian"
  cp "$deb" "$ddeb" "$tmp/lintian/"
  chown -R 65534:65534 "$tmp/lintian"
  (cd "$tmp/lintian" && "${usuario[@]}" env -i PATH=/usr/bin:/bin HOME="$tmp/lintian" TMPDIR="$tmp/lintian" \
     lintian --display-info --fail-on error,warning ./*.deb ./*.ddeb) || falla "lintian"
else
  lintian --display-info --fail-on error,warning "$deb" "$ddeb" || falla "lintian"
fi

if [ "$fallas" -gt 0 ]; then
  echo "paquete.sh: $fallas fallas" >&2
  exit 1
fi
echo "Paquete listo y sin avisos de lintian:"
echo "  $deb"
echo "  $ddeb"
