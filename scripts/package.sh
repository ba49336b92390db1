#!/usr/bin/env bash
# Installs what is missing, builds, then makes the Debian package in build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
cd "$root/build"
# Names the package file it made.
cpack -G DEB | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p'
