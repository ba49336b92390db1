#!/usr/bin/env bash
# Installs what is missing, builds, then starts the editor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
# Large maps touch hundreds of megabytes of small cells; huge pages spare most of the page faults.
export GLIBC_TUNABLES="${GLIBC_TUNABLES:-glibc.malloc.hugetlb=1}"
exec "$root/build/bin/mosaicor" "$@"
