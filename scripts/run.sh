#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vek Base on the sample table.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/app/vekbase ]; then
  exec build/app/vekbase examples/clients.qor "$@"
else
  exec build/tools/vektool --help
fi
