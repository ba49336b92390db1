#!/usr/bin/env bash
# Installs what is missing, builds, then runs the benchmarks (medians over repetitions) and the start-up
# timing. Pass Google Benchmark options to narrow it down, e.g. --benchmark_filter=Draw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
QT_QPA_PLATFORM=offscreen "$root/build/bin/mosaicor-bench" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"

# Start-up: the editor against a bare Qt window of its shape, timed by turns from fork to the window's
# MapNotify on a private Xvfb display.
timer="$root/build/bin/startup-timer"
if [ ! -x "$timer" ] || ! command -v Xvfb >/dev/null; then
    echo "start-up not timed: needs Xvfb and libx11-dev (build/bin/startup-timer)" >&2
    exit 0
fi
scratch="$(mktemp -d)"
# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do
    grep -q . "$scratch/display" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
done
display="$(head -n 1 "$scratch/display" 2>/dev/null || true)"
if [ -z "$display" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
echo "start-up, fork to window mapped, median of 11 runs each, by turns (program: the editor, baseline: a bare window):"
DISPLAY=":$display" "$timer" --runs 11 "$root/build/bin/mosaicor" "$root/build/bin/bare-window"
