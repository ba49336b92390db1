#!/usr/bin/env bash
# Installs what is missing, builds, then runs the benchmarks (medians over repetitions) and the start-up
# timing. Pass Google Benchmark options to narrow it down, e.g. --benchmark_filter=Draw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
# The start-up timing runs on a private X server. Without one the benchmarks still run; the timing is
# skipped below and says so.
xvfb_note=""
if ! "$root/scripts/setup.sh" xvfb; then
    xvfb_note="installing xvfb failed (see above)"
fi
"$root/scripts/build.sh" build
QT_QPA_PLATFORM=offscreen "$root/build/bin/mosaicor-bench" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"

# Start-up: the editor against a bare Qt window of its shape, timed by turns from fork to the window's
# MapNotify on a private Xvfb display.
timer="$root/build/bin/startup-timer"
skip() {
    echo "start-up NOT timed: $1" >&2
    exit 0
}
command -v Xvfb >/dev/null || skip "no Xvfb${xvfb_note:+, $xvfb_note}"
[ -x "$timer" ] || skip "build/bin/startup-timer was not built (it needs libx11-dev when configuring)"
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
[ -n "$display" ] || skip "Xvfb did not start"
echo "start-up, fork to window mapped, median of 11 runs each, by turns (program: the editor, baseline: a bare window):"
# The timer prints its figures only once every run has been timed; any failure is reported instead.
if ! DISPLAY=":$display" "$timer" --runs 11 "$root/build/bin/mosaicor" "$root/build/bin/bare-window"; then
    echo "start-up NOT timed: the timer failed (its message is above)" >&2
    exit 1
fi
