#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vek Base need,
# only when some are missing, and makes the fr_FR.UTF-8 locale the locale test
# runs under. Uses sudo when not run as root.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libjpeg62-turbo-dev
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  fonts-liberation fonts-dejavu-core
  sqlite3 locales libxml2-utils
  poppler-utils
  libzip-dev libxml2-dev libsqlite3-dev libpq-dev
  postgresql python3-openpyxl
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qiE '^fr_FR\.utf-?8$'; then
  # Enable the line in /etc/locale.gen (adding it when absent) and generate.
  if grep -qE '^#? *fr_FR\.UTF-8 UTF-8' /etc/locale.gen; then
    $SUDO sed -i -E 's/^# *(fr_FR\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  else
    echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi
