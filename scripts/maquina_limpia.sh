#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# maquina_limpia.sh [repositorio] [commit]: proof that the README's two
# commands set up a fresh machine. Makes a minimal Debian 12 root
# (debootstrap --variant=minbase bookworm) in a temporary folder, puts a clean
# clone of the repository in it (this checkout's committed HEAD by default)
# and inside it:
#   1. as a user without root and without sudo, ./run.sh must stop with the
#      command to run as root (nothing installed yet);
#   2. as root, ./test.sh (installs the packages, builds, runs every test);
#   3. as root, ./run.sh offscreen: the program must still be running after
#      a while; then a second ./run.sh must start it in seconds, without apt
#      and without building anything;
#   4. as the user again, scripts/paquetes.sh has nothing to do.
# Prints the time of each step and every failure; exits non-zero on any.
# Needs root (uses sudo when there is one) and the network. Slow: a full
# build on this machine's cores. Not meant for CI.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
repositorio="${1:-$raiz}"
commit="${2:-$(git -C "$repositorio" rev-parse HEAD)}"
espera="${VELMORA_ESPERA:-20}"      # seconds the program must stay up
espejo="${VELMORA_ESPEJO:-http://deb.debian.org/debian}"

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    exec sudo -E "$0" "$repositorio" "$commit"
  fi
  echo "maquina_limpia.sh: hace falta ser root (debootstrap, chroot, mount) y no hay sudo." >&2
  echo "Ejecútelo como root: $0 $repositorio $commit" >&2
  exit 1
fi
if ! command -v debootstrap >/dev/null 2>&1; then
  echo "Instalando debootstrap"
  env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
  env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null 2>&1
fi

carpeta="$(mktemp -d "${TMPDIR:-/var/tmp}/velmora-limpia.XXXXXX")"
r="$carpeta/raiz"
montados=()
limpiar() {
  set +e
  # Whatever still runs inside the root (the program, a server) goes first.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$r" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  sleep 1
  for ((i = ${#montados[@]} - 1; i >= 0; i--)); do
    umount -R "${montados[$i]}" 2>/dev/null || umount -lR "${montados[$i]}"
  done
  if [ -z "${VELMORA_CONSERVAR:-}" ]; then
    # Only once nothing is mounted below it.
    findmnt -rno TARGET | grep -q "^$r" || rm -rf "$carpeta"
  else
    echo "Raíz conservada en $r"
  fi
}
trap limpiar EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fallos=()
informe=()
reloj() { date +%s; }
paso() {  # paso <nombre> <segundos> <ok|FALLO>
  informe+=("$(printf '%-52s %6ss  %s' "$1" "$2" "$3")")
  [ "$3" = ok ] || fallos+=("$1")
  printf '\n=== %s: %ss, %s\n' "$1" "$2" "$3"
}
dentro() { chroot "$r" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "Raíz mínima de Debian 12 en $r"
t=$(reloj)
if debootstrap --variant=minbase bookworm "$r" "$espejo" >"$carpeta/debootstrap.log" 2>&1; then
  paso "debootstrap --variant=minbase bookworm" $(($(reloj) - t)) ok
else
  tail -n 20 "$carpeta/debootstrap.log"
  paso "debootstrap --variant=minbase bookworm" $(($(reloj) - t)) FALLO
  exit 1
fi

mount -t proc proc "$r/proc"; montados+=("$r/proc")
mount -t sysfs sys "$r/sys"; montados+=("$r/sys")
mount --rbind /dev "$r/dev"; mount --make-rslave "$r/dev"; montados+=("$r/dev")
cp /etc/resolv.conf "$r/etc/resolv.conf"
# As in any container: packages do not start services (the PostgreSQL
# package would start its own cluster); the tests start their own server.
printf '#!/bin/sh\nexit 101\n' > "$r/usr/sbin/policy-rc.d"
chmod 755 "$r/usr/sbin/policy-rc.d"
dentro useradd -m -s /bin/bash usuario

# A clean clone of the commit, owned by the user, as a newcomer would have.
git clone -q --no-local "$repositorio" "$r/home/usuario/velmora"
git -C "$r/home/usuario/velmora" checkout -q "$commit" \
  || { echo "maquina_limpia.sh: el commit $commit no está en $repositorio" >&2; exit 1; }
echo "Clon de $repositorio en $(git -C "$r/home/usuario/velmora" log -1 --format='%h %s')"
dentro chown -R usuario:usuario /home/usuario/velmora

como_usuario() { dentro runuser -u usuario -- /usr/bin/env HOME=/home/usuario "$@"; }

# 1. Without root and without sudo.
t=$(reloj)
set +e
como_usuario bash -c 'cd ~/velmora && QT_QPA_PLATFORM=offscreen ./run.sh' >"$carpeta/sin_root.log" 2>&1
codigo=$?
set -e
cat "$carpeta/sin_root.log"
if [ "$codigo" -ne 0 ] && grep -q "apt-get install" "$carpeta/sin_root.log" \
   && ! grep -q "command not found" "$carpeta/sin_root.log"; then
  paso "./run.sh sin root ni sudo (mensaje claro, código $codigo)" $(($(reloj) - t)) ok
else
  paso "./run.sh sin root ni sudo (código $codigo)" $(($(reloj) - t)) FALLO
fi

# The rest as root, in the same clone.
dentro chown -R root:root /home/usuario/velmora

# 2. ./test.sh
t=$(reloj)
set +e
dentro bash -c 'cd /home/usuario/velmora && ./test.sh' >"$carpeta/test.log" 2>&1
codigo=$?
set -e
grep -E "^Instalando|tests passed|tests failed|\*\*\*Failed|Not Run|\(Failed\)|\(SEGFAULT\)|\(Subprocess aborted\)|Error|error:" \
  "$carpeta/test.log" | head -n 60 || true
[ "$codigo" -eq 0 ] || tail -n 40 "$carpeta/test.log"
paso "./test.sh (paquetes, compilación Debug, todas las pruebas)" $(($(reloj) - t)) \
  "$([ "$codigo" -eq 0 ] && echo ok || echo FALLO)"

# 3. ./run.sh, offscreen: the time until the program replaces the script, and
# the program must still be up $espera seconds later.
arrancar() {  # arrancar <registro>: sets segundos and vivo
  local registro="$1" pid inicio
  inicio=$(reloj)
  dentro bash -c 'cd /home/usuario/velmora && QT_QPA_PLATFORM=offscreen exec ./run.sh' \
    >"$registro" 2>&1 &
  pid=$!
  segundos=""
  vivo=no
  while kill -0 "$pid" 2>/dev/null; do
    # run.sh ends by exec'ing the program: the chroot and env steps too.
    for hijo in "$pid" $(cat /proc/"$pid"/task/*/children 2>/dev/null); do
      if [ "$(readlink /proc/"$hijo"/exe 2>/dev/null)" = "$r/home/usuario/velmora/build/programa/PROG/velmora" ]; then
        segundos=$(($(reloj) - inicio))
        sleep "$espera"
        kill -0 "$hijo" 2>/dev/null && vivo=yes
        kill "$hijo" 2>/dev/null
        break 2
      fi
    done
    sleep 0.5
  done
  wait "$pid" 2>/dev/null || true
}
arrancar "$carpeta/run1.log"
tail -n 5 "$carpeta/run1.log"
if [ -n "$segundos" ] && [ "$vivo" = yes ]; then
  paso "./run.sh (compilación del programa hasta arrancarlo)" "$segundos" ok
  paso "  el programa sigue en marcha a los ${espera}s" "$espera" ok
else
  cat "$carpeta/run1.log" | tail -n 30
  paso "./run.sh (el programa no arrancó o terminó)" "${segundos:-?}" FALLO
fi
arrancar "$carpeta/run2.log"
cat "$carpeta/run2.log"
if [ -n "$segundos" ] && [ "$vivo" = yes ] && ! grep -q "Instalando" "$carpeta/run2.log" \
   && ! grep -q "Building CXX" "$carpeta/run2.log"; then
  paso "./run.sh otra vez (sin apt, sin compilar)" "$segundos" ok
else
  paso "./run.sh otra vez (sin apt, sin compilar)" "${segundos:-?}" FALLO
fi
if dentro test -s /root/.local/share/velmora/velmora.db \
   && [ "$(dentro stat -c %a /root/.config/velmora/conexion.dsn)" = 600 ]; then
  paso "  base en ~/.local/share/velmora, origen en ~/.config/velmora (600)" 0 ok
else
  paso "  base en ~/.local/share/velmora, origen en ~/.config/velmora (600)" 0 FALLO
fi

# 4. Everything present: nothing to install, also without root.
t=$(reloj)
set +e
salida="$(como_usuario /home/usuario/velmora/scripts/paquetes.sh 2>&1)"
codigo=$?
set -e
if [ "$codigo" -eq 0 ] && [ -z "$salida" ]; then
  paso "scripts/paquetes.sh sin root, todo instalado (nada que hacer)" $(($(reloj) - t)) ok
else
  echo "$salida"
  paso "scripts/paquetes.sh sin root, todo instalado" $(($(reloj) - t)) FALLO
fi

echo
echo "Resumen ($(git -C "$r/home/usuario/velmora" log -1 --format=%h)):"
printf '%s\n' "${informe[@]}"
if [ ${#fallos[@]} -gt 0 ]; then
  echo "FALLOS: ${#fallos[@]}"
  exit 1
fi
echo "Sin fallos."
