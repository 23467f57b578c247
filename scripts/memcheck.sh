#!/usr/bin/env bash
# Runs every test program, and each command of zux, under valgrind memcheck, without suppressions:
# the run fails on any memcheck error and on any leak.
#
# How leaks are counted: blocks definitely, indirectly or possibly lost are leaks and fail the
# run. Blocks still reachable at exit are not leaks (they are the static buffers of the C and C++
# runtimes and of GoogleTest, which nobody frees); the script shows their total only.
#
# Usage: scripts/memcheck.sh [BUILD_DIR]   (default build/memcheck, configured and built here)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}" googletest libgtest-dev valgrind

build=${1:-build/memcheck}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZUX_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j "$jobs"

# zux_internal_tests makes allocations fail through its own operator new; nouserintercepts keeps
# valgrind from replacing it, while still tracking the malloc and free beneath.
valgrind=(valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
    --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible
    --soname-synonyms=somalloc=nouserintercepts --num-callers=40)

status=0
summary=()
run() {
    local name=$1
    shift
    local log="$build/memcheck-$name.log"
    echo "== valgrind: $name"
    if ! "${valgrind[@]}" --log-file="$log" "$@" >"$build/memcheck-$name.out" 2>&1; then
        tail -n 40 "$build/memcheck-$name.out"
        cat "$log"
        echo "memcheck FAILED for $name (log: $log)"
        status=1
    fi
    local errors in_use leaks
    errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log" | tail -n 1)
    in_use=$(sed -n 's/.*in use at exit: //p' "$log" | tail -n 1)
    # Without anything in use at exit valgrind prints no leak lines at all.
    leaks=$(grep -E '(definitely|indirectly|possibly) lost:|still reachable:' "$log" |
        sed 's/^==[0-9]*== *//' | paste -sd',' - || true)
    summary+=("$(printf '%-20s errors: %s   in use at exit: %s%s' "$name" "${errors:-?}" "${in_use:-?}" \
        "${leaks:+ ($leaks)}")")
}

run zux_tests "$build/tests/zux_tests"
run zux_internal_tests "$build/tests/zux_internal_tests"
for target in document xpath path; do
    run "zux_fuzz_$target" "$build/fuzz/zux_fuzz_$target" "fuzz/corpus/$target"
done
# The tool, each command on the shipped samples (runs that end with status 0).
zux=$build/tools/zux/zux
run zux_query "$zux" query '//book/@id | //comment() | //title' examples/sample.xml examples/memo.xml
run zux_check "$zux" check examples/sample.xml examples/feed.xml examples/memo.xml
run zux_format "$zux" format examples/memo.xml examples/feed.xml
run zux_edit "$zux" edit --set //port 8080 --rename //@level verbosity --delete /config/@version examples/config.xml

echo
echo "valgrind memcheck summary:"
printf '  %s\n' "${summary[@]}"
exit $status
