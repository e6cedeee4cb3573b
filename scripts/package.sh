#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/vekbase_VERSION_ARCH.deb (program, vektool, manual, man pages, desktop
# entry, .qor file type). Install it with: sudo apt install ./build/vekbase_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd build && cpack -G DEB)
ls build/vekbase_*.deb
