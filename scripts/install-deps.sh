#!/usr/bin/env bash
# Installs what KORVADIN needs to build, test and run, from Debian's packages.
set -euo pipefail
packages=(cmake g++ make pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6svg6-dev
          libsqlcipher-dev sqlcipher libzip-dev openssl
          postgresql libpq-dev
          xvfb xauth fonts-dejavu-core poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
