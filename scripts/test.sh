#!/usr/bin/env bash
# Builds ZuX with warnings as errors and runs every test: the plain build (g++), then the same
# tests under AddressSanitizer with UndefinedBehaviorSanitizer (clang++) and under
# ThreadSanitizer (g++), every fuzz target for 60 seconds (ZUX_FUZZ_SECONDS), and the tests under
# valgrind memcheck, then clang-format and clang-tidy, and that the fault list still applies. Each
# step stops the script at its first failure.
# Build directories: ZUX_BUILD_DIR (default build/test), and beside it the same name with -asan and
# -tsan for the sanitizer builds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}" googletest libgtest-dev valgrind shared-mime-info iso-codes python3
ensure_clang
ensure_comma_locale
export ZUX_REQUIRE_LOCALE=1
export ZUX_REQUIRE_SYSTEM_XML=1

jobs=$(nproc)
build=${ZUX_BUILD_DIR:-build/test}
started=$SECONDS

step() {
    echo
    echo "==== $* ($((SECONDS - started)) s so far)"
}

# Builds into $1 with the options that follow and runs its tests.
build_and_test() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DZUX_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

step "plain build and tests (g++)"
build_and_test "$build"

# A sanitizer report ends the test program. allocator_may_return_null: pugixml asks malloc for
# the size that ext4 reports for a directory and handles the null it gets; the sanitizers would
# stop the program instead.
step "tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang++)"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:allocator_may_return_null=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build_and_test "$build-asan" -DCMAKE_CXX_COMPILER=clang++ -DZUX_SANITIZE=address

step "tests under ThreadSanitizer (g++)"
TSAN_OPTIONS=halt_on_error=1:allocator_may_return_null=1 \
    build_and_test "$build-tsan" -DZUX_SANITIZE=thread

step "fuzzing"
bash scripts/fuzz.sh "${ZUX_FUZZ_SECONDS:-60}"

step "tests under valgrind memcheck"
bash scripts/memcheck.sh "$build"

step "formatting and static analysis"
bash scripts/check-style.sh

# The faults the tests must catch are replayed by scripts/faults.py, which takes long; here only
# that each still applies, so that the list follows the sources.
step "the fault list matches the sources"
python3 scripts/faults.py --check

step "all passed"
