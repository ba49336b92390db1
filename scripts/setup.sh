#!/usr/bin/env bash
# Installs whatever the build and its tests need that this Debian machine lacks. Safe to run again.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libbenchmark-dev libpng-dev libzstd-dev pkg-config libx11-dev
          clang libclang-rt-14-dev dpkg-dev file desktop-file-utils appstream)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
