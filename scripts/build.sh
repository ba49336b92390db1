#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh <folder> [extra cmake options...]
set -euo pipefail
if [ $# -lt 1 ] || [ -z "$1" ]; then
    echo "usage: scripts/build.sh <folder> [extra cmake options...]" >&2
    echo "  e.g. scripts/build.sh build -DMOSAICOR_WERROR=ON (the folder is made inside the repository)" >&2
    exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
cmake --build "$root/$dir"
