#!/usr/bin/env bash
# Installs what is missing, builds, then starts the editor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
exec "$root/build/bin/mosaicor" "$@"
