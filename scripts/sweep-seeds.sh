#!/usr/bin/env bash
# Runs the random tests with other seeds than the suite's fixed ones and prints each seed that
# fails, with its first failure; the suite itself always runs its fixed seeds.
#   sweep-seeds.sh BUILD_DIR FIRST LAST [--wx]
# BUILD_DIR is a built tree (scripts/build.sh); --wx runs them on the wx backend under Xvfb too.
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: sweep-seeds.sh BUILD_DIR FIRST LAST [--wx]" >&2
    exit 2
fi
build=$1
first=$2
last=$3
random_tests='*RowsFollowEveryInsertDeleteSortAndColumnChange*:*NavigationFollowsEveryInsertDeleteRenameAndExpansion*'
random_tests+=':*RandomMomentsAgreeWithTheStandardCalendar*'
failed=0

# sweep LABEL COMMAND...: the command runs the test binary; the seed reaches it through its
# environment.
sweep() {
    local label=$1 seed output
    shift
    for seed in $(seq "$first" "$last"); do
        if ! output=$(EXPLORER_TEST_SEED=$seed "$@" --gtest_filter="$random_tests" 2>&1); then
            failed=1
            echo "seed $seed ($label):"
            grep -m1 -A9 'Failure' <<<"$output" || tail -n 5 <<<"$output"
        fi
    done
}

sweep headless "$build/tests/explorer_tests"
if [ "${4:-}" = "--wx" ]; then
    sweep wx xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/e2e/explorer_e2e_tests"
fi
exit $failed
