#!/bin/sh
# Starts the desktop program with the demo project, or, without a display, shows the
# delivery headless: lumivant-sim on loopback receives the demo project from lumivant-cli.
#   examples/run-demo.sh [BUILD_DIR]
set -eu

build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
project="$here/demo.ledprj"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/src/app/lumivant" "$project"
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless demonstration instead."

state=$(mktemp -d "${TMPDIR:-/tmp}/lumivant-demo.XXXXXX")
log="$state/sim.log"
"$build/src/sim/lumivant-sim" --udp 127.0.0.1:0 --state "$state/controller" >"$log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT INT TERM

# The simulator prints the port the system gave it.
port=""
tries=0
while [ -z "$port" ] && [ "$tries" -lt 50 ]; do
    port=$(sed -n 's/.*listening on udp 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' "$log" | head -n 1)
    [ -n "$port" ] || { tries=$((tries + 1)); sleep 0.1; }
done
if [ -z "$port" ]; then
    echo "lumivant-sim did not start:" >&2
    cat "$log" >&2
    exit 1
fi
echo "lumivant-sim listens on udp 127.0.0.1:$port (state in $state/controller)"

"$build/src/cli/lumivant-cli" send "$project" --udp "127.0.0.1:$port" --no

echo
echo "What the simulator received ($state/controller/summary.json):"
cat "$state/controller/summary.json"
echo
echo "Its pictures of the received programs:"
ls "$state/controller"/*.png 2>/dev/null || find "$state/controller" -name '*.png'
