#!/usr/bin/env bash
# Installs what is missing, builds, creates a sample project and opens the browser dialog on it,
# as a host would: in a window on a desktop, or without a display under Xvfb, where the dialog is
# saved as a screenshot after its first paint and its path printed.
#   demo.sh [DB] [--mode folder|target|chunk|saveas] [--folder KEY] [further explorer-demo options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build >/dev/null
database="$root/build/demo-project.db"
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
    database=$1
    shift
fi
rm -f "$database"
./build/host/explorer-cli sample "$database" --folders 16 --chunks 60
if [ -n "${DISPLAY:-}" ]; then
    ./build/host/explorer-demo "$database" "$@"
else
    screenshot="$root/build/demo-screenshot.png"
    rm -f "$screenshot"
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        ./build/host/explorer-demo "$database" --screenshot "$screenshot" "$@"
fi
