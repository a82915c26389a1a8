#!/usr/bin/env bash
# Installs what is missing, builds, creates a sample project and shows what it holds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build >/dev/null
database=${1:-"$root/build/demo-project.db"}
rm -f "$database"
./build/host/explorer-cli sample "$database" --folders 12 --chunks 40
./build/host/explorer-cli tree "$database"
