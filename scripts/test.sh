#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once plainly, once under ASan+UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

bash scripts/build.sh build
(cd build && ctest --output-on-failure --parallel "$(nproc)")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build-sanitize -DEXPLORER_SANITIZE=ON -DEXPLORER_BENCHMARKS=OFF
(cd build-sanitize && ctest --output-on-failure --parallel "$(nproc)")
