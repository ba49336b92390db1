#!/usr/bin/env bash
# Installs what is missing, builds, then runs the benchmarks (medians over repetitions) and the start-up
# timing. Pass Google Benchmark options to narrow it down, e.g. --benchmark_filter=Draw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
# Large maps touch hundreds of megabytes of small cells; huge pages spare most of the page faults.
export GLIBC_TUNABLES="${GLIBC_TUNABLES:-glibc.malloc.hugetlb=1}"
QT_QPA_PLATFORM=offscreen "$root/build/bin/mosaicor-bench" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    "$root/bench/startup.sh" "$root/build/bin/mosaicor"
fi
