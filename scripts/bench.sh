#!/usr/bin/env bash
# Builds ZuX in Release with its benchmarks, runs every workload for every library in one process,
# measures the peak memory of loading the generated document (one process per library), profiles
# the walk and the build with callgrind, and writes bench/RESULTS.md and bench/results.png.
#
# Environment: ZUX_BUILD_DIR (default build/bench), ZUX_BENCH_REPETITIONS (default 15),
# ZUX_BENCH_MIN_TIME (seconds per repetition, default 0.15), ZUX_BENCH_PROFILE=0 to skip callgrind,
# ZUX_BENCH_COMPARE="A..B C" to compare ZuX as of commit A with ZuX as of B, and as of C with this
# tree ("before and after"): this tree's benchmark code is built against each library and the
# programs run in turns (ZUX_BENCH_ROUNDS rounds, default 3). By default: the round of encodings,
# additions, namespaces, positions and zux (d2a308b against this tree), and the review that
# followed it (353d35a against this tree); ZUX_BENCH_COMPARE= (empty) skips them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}" libbenchmark-dev libxml2-dev libtinyxml2-dev \
    shared-mime-info iso-codes gnuplot-nox python3 valgrind

SECONDS=0
build=${ZUX_BUILD_DIR:-build/bench}
repetitions=${ZUX_BENCH_REPETITIONS:-15}
min_time=${ZUX_BENCH_MIN_TIME:-0.15}
out="$build/bench-results"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUX_BUILD_TESTS=OFF -DZUX_BUILD_EXAMPLES=OFF \
    -DZUX_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
bench="$build/bench/zux_bench"
memory="$build/bench/zux_bench_memory"
rm -rf "$out"
mkdir -p "$out/profile"

{
    for pkg in libpugixml-dev libxml2-dev libtinyxml2-dev libboost-dev libbenchmark-dev; do
        echo "$pkg: $(dpkg-query -W -f='${Version}' "$pkg")"
    done
    echo "compiler: $(c++ --version | head -n 1)"
} >"$out/versions.txt"

echo
echo "== Every workload for every library ($repetitions repetitions, interleaved)"
"$bench" --benchmark_repetitions="$repetitions" --benchmark_min_time="$min_time" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_out="$out/bench.json" --benchmark_out_format=json --benchmark_display_aggregates_only=true

echo
echo "== Peak memory of loading the generated document, one process per library"
"$memory" generate "$out/generated.xml"
for run in 1 2 3; do
    for library in pugixml zux libxml2 tinyxml2; do
        "$memory" load "$library" "$out/generated.xml" | tee -a "$out/memory.jsonl"
    done
done
rm -f "$out/generated.xml"

echo
echo "== A long-lived document with a million additions and removals"
"$memory" churn 1000000 | tee -a "$out/memory.jsonl"
"$memory" churn 1000000 idle | tee -a "$out/memory.jsonl"

echo
echo "== 100,000 removals of a subtree of 1,001, 65 and 1 nodes, with an idle handle"
for size in 1001 65 1; do
    for library in pugixml zux; do
        "$memory" removals "$library" "$size" 100000 | tee -a "$out/memory.jsonl"
    done
done

# Builds this tree's benchmark code against ZuX as of $1 (a git ref) and echoes the program's path.
bench_against() {
    local ref=$1 dir
    dir=$(realpath -m "$build/at-$1")
    if [ ! -x "$dir/bench/zux_bench" ]; then
        rm -rf "$dir"
        mkdir -p "$dir/src"
        git archive "$ref" | tar -x -C "$dir/src"
        # A run path to its own directory, which older versions do not give libZuX: the program's
        # own run path does not serve the libraries it loads.
        cmake -S "$dir/src" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release -DZUX_BUILD_TESTS=OFF \
            -DZUX_BUILD_EXAMPLES=OFF -DZUX_BUILD_FUZZERS=OFF -DCMAKE_INSTALL_PREFIX="$dir/prefix" \
            -DCMAKE_INSTALL_RPATH="$dir/prefix/lib" >/dev/null
        cmake --build "$dir/build" -j "$(nproc)" >/dev/null
        cmake --install "$dir/build" >/dev/null
        cmake -S bench -B "$dir/bench" -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$dir/prefix" >/dev/null
        cmake --build "$dir/bench" -j "$(nproc)" --target zux_bench >/dev/null
    fi
    echo "$dir/bench/zux_bench"
}

compare=()
ZUX_BENCH_COMPARE=${ZUX_BENCH_COMPARE-d2a308b 353d35a}
if [ -n "$ZUX_BENCH_COMPARE" ]; then
    filter='^(parse|walk|siblings|xpath|build|remove|remove-each)/[^/]*/(pugixml|zux)$'
    index=0
    for pair in $ZUX_BENCH_COMPARE; do
        index=$((index + 1))
        before=${pair%%..*}
        after=${pair#*..}
        [ "$after" = "$pair" ] && after=
        echo
        echo "== Before and after: ZuX as of $before against ${after:-this tree}"
        dir="$out/compare/$index"
        mkdir -p "$dir"
        echo "$before ${after:-tree}" >"$dir/label"
        programs=("$(bench_against "$before")" "$bench")
        [ -n "$after" ] && programs[1]=$(bench_against "$after")
        for round in $(seq "${ZUX_BENCH_ROUNDS:-3}"); do
            for side in 0 1; do
                "${programs[$side]}" --benchmark_filter="$filter" --benchmark_repetitions=5 \
                    --benchmark_min_time="$min_time" --benchmark_enable_random_interleaving=true \
                    --benchmark_out="$dir/$( ((side)) && echo after || echo before)-$round.json" \
                    --benchmark_out_format=json --benchmark_display_aggregates_only=true >/dev/null
            done
            echo "round $round of ${ZUX_BENCH_ROUNDS:-3} done"
        done
    done
    compare=(--compare-dir "$out/compare")
fi

if [ "${ZUX_BENCH_PROFILE:-1}" != 0 ]; then
    echo
    echo "== Instruction profiles of the walk and the build (callgrind)"
    profile() { # NAME FUNCTION-PATTERN CORPORA FILTER
        valgrind --tool=callgrind --callgrind-out-file="$out/profile/$1.callgrind" --toggle-collect="$2" \
            "$bench" --zux_corpora="$3" --benchmark_filter="$4" --benchmark_min_time=0.0001 \
            --benchmark_out="$out/profile/$1.json" --benchmark_out_format=json >/dev/null 2>"$out/profile/$1.log"
        echo "$1 profiled"
    }
    for library in pugixml model model-string model-api zux; do
        profile "walk-$library" '*WalkDocument*' iso_639-3 "^walk/iso_639-3/$library\$"
    done
    for library in pugixml model zux; do
        profile "build-$library" '*BuildDocument*' none "^build/100k/$library\$"
    done
fi

python3 bench/report.py --bench "$out/bench.json" --memory "$out/memory.jsonl" --profile-dir "$out/profile" \
    --versions "$out/versions.txt" --elapsed "$SECONDS" --markdown bench/RESULTS.md --chart-data "$out/chart.dat" \
    ${compare[@]+"${compare[@]}"}
gnuplot -e "datafile='$out/chart.dat'; outfile='bench/results.png'" bench/chart.gp

echo
echo "Wrote bench/RESULTS.md and bench/results.png in ${SECONDS} s"
