#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The peer the benchmark compares with: python3-xlsxwriter for the system's
# python3. Installed here only, never by the build or the tests.
set -euo pipefail
if /usr/bin/python3 -c 'import xlsxwriter' 2>/dev/null; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "preparar.sh: python3-xlsxwriter is missing; run as root to install it" >&2
  exit 1
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3-xlsxwriter
