#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once plainly, once under ASan+UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

# The GUI backend is asked for, not merely taken when found: a toolkit missing here fails the build
# instead of leaving the end-to-end tests out.
bash scripts/build.sh build -DEXPLORER_WX=ON
(cd build && ctest --output-on-failure --parallel "$(nproc)")
# The unit tests once more in one process, in a shuffled but fixed order: none may lean on what
# another left behind in the process.
build/tests/explorer_tests --gtest_shuffle --gtest_random_seed=4711 --gtest_brief=1

# End to end: the real dialog on an X server of its own, driven by real pointer and keyboard
# events; screenshots of failures go to build/e2e-artifacts. This run has no language or character
# set, as on a bare machine; the run under the sanitizers keeps the caller's.
rm -rf build/e2e-artifacts
env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE EXPLORER_E2E_ARTIFACTS="$root/build/e2e-artifacts" \
    xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/e2e/explorer_e2e_tests

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build-sanitize -DEXPLORER_WX=ON -DEXPLORER_SANITIZE=ON -DEXPLORER_BENCHMARKS=OFF
(cd build-sanitize && ctest --output-on-failure --parallel "$(nproc)")
# The end-to-end run again under the sanitizers. The desktop libraries under the toolkit are not
# built for them and keep caches for the life of the process: their leaks are suppressed.
rm -rf build-sanitize/e2e-artifacts
LSAN_OPTIONS="suppressions=$root/tests/e2e/lsan.supp" \
    EXPLORER_E2E_ARTIFACTS="$root/build-sanitize/e2e-artifacts" \
    xvfb-run -a -s "-screen 0 1280x1024x24" build-sanitize/tests/e2e/explorer_e2e_tests
