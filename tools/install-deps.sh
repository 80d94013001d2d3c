#!/usr/bin/env bash
# Installs the Debian 12 packages Kelvane needs to build, run and test.
set -euo pipefail
packages=(
    cmake ninja-build g++ lld pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    qt6-image-formats-plugins qt6-charts-dev libqt6opengl6-dev
    libsqlcipher-dev sqlcipher libsodium-dev libcsv-dev libuchardet-dev libxlsxwriter-dev unzip
    clang-format
    poppler-utils fonts-dejavu-core
    libcurl4-openssl-dev python3-aiosmtpd
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
