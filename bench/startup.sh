#!/usr/bin/env bash
# Measures the time from process start to the editor's window being shown, under Xvfb, over several runs,
# and prints the median in milliseconds. Usage: bench/startup.sh [path/to/mosaicor] [runs]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-$root/build/bin/mosaicor}"
runs="${2:-11}"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || {
    echo "needs Xvfb and xdotool (apt-get install xvfb xdotool)" >&2
    exit 1
}
display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 0.5
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    DISPLAY="$display" "$program" >/dev/null 2>&1 &
    pid=$!
    # Poll until a visible window with the editor's title exists.
    until DISPLAY="$display" xdotool search --onlyvisible --name "^2D Mosaicor$" >/dev/null 2>&1; do :; done
    end=$(date +%s%N)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    times+=($(((end - start) / 1000000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to window shown: median ${sorted[$((runs / 2))]} ms over $runs runs (all: ${times[*]})"
