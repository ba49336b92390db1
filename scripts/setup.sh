#!/usr/bin/env bash
# Installs whatever the build and its tests need that this Debian machine lacks, plus any package named on
# the command line (scripts/setup.sh xvfb). Safe to run again.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libbenchmark-dev libpng-dev libzstd-dev
          pkg-config libx11-dev clang dpkg-dev file desktop-file-utils appstream shared-mime-info
          libglib2.0-bin python3 "$@")
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
updated=false

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    if ! $updated; then
        $sudo_cmd apt-get update -qq
        updated=true
    fi
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
}

install_missing "${packages[@]}"

# The fuzzer's runtime comes with the clang release in use (libclang-rt-14-dev on Debian 12), so its
# package is named after the major version of the clang that is installed.
clang_major="$(clang --version | sed -n 's/^.*clang version \([0-9][0-9]*\)\..*$/\1/p' | head -n 1)"
if [ -n "$clang_major" ]; then
    install_missing "libclang-rt-$clang_major-dev"
else
    echo "Could not read clang's version from 'clang --version': the libFuzzer runtime was not installed," \
        "so scripts/test.sh cannot build the PNG fuzzer" >&2
fi
