#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$raiz/build}"
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VELMORA_BUILD_TYPE:-Debug}" >/dev/null
cmake --build "$build" -j"$(nproc)"
