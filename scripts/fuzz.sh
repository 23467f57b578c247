#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for SECONDS seconds (default 60), starting from its seed corpus in fuzz/corpus.
# Prints executions and coverage per target; fails when a target crashes, leaks, breaks a check,
# or takes longer than 10 seconds on one input. Inputs found are kept under the build directory
# and reused by the next run; inputs that failed are saved there as artifacts.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}"
ensure_clang

seconds=${1:-60}
build=${ZUX_FUZZ_BUILD_DIR:-build/fuzz}
targets=(document xpath path)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DZUX_WARNINGS_AS_ERRORS=ON -DZUX_SANITIZE=address -DZUX_FUZZ_ENGINE=libfuzzer \
    -DZUX_BUILD_TESTS=OFF -DZUX_BUILD_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/zux_fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus" "$build/artifacts"
    log="$build/fuzz-$target.log"
    echo "== fuzzing $target for ${seconds}s"
    # New inputs go to the first directory; the seed corpus in the tree is only read.
    if ! "$build/fuzz/zux_fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="fuzz/$target.dict" -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz target $target FAILED; the input is in $build/artifacts/"
        status=1
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    summary+=("$(printf '%-9s %12s executions   %6s edges covered   %6s features   %5s corpus inputs' \
        "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}")")
done

echo
echo "Fuzzing summary (${seconds}s per target):"
printf '  %s\n' "${summary[@]}"
exit $status
