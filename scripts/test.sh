#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, then runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build-ci -DMOSAICOR_WERROR=ON
cd "$root/build-ci"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
