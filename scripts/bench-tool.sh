#!/usr/bin/env bash
# zux beside the library calls alone (bench/ToolBaseline.cpp), process for process, in turns:
#  - the time of zux query 'count(//*[@type])' on the mime database and of the same load and
#    evaluation, each a whole process; the start of each process (doing nothing) is given apart;
#  - the peak resident set (/usr/bin/time -v) of zux format of the generated 50 MB document, to
#    standard output and in place, and of the library's own load and save of it.
#   scripts/bench-tool.sh [ROUNDS]     (default 40)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZUX_BUILD_DIR:-build/bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUX_BUILD_BENCHMARKS=ON -DZUX_BUILD_TESTS=OFF \
    -DZUX_BUILD_FUZZERS=OFF >/dev/null
cmake --build "$build" -j 2 --target zux zux_bench_tool zux_bench_memory >/dev/null
zux=$build/tools/zux/zux
calls=$build/bench/zux_bench_tool
rounds=${1:-40}
mime=/usr/share/mime/packages/freedesktop.org.xml
expr='count(//*[@type])'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Microseconds of wall-clock time that the command takes.
micros() {
    local start
    start=$(date +%s%N)
    "$@" >/dev/null
    echo $((($(date +%s%N) - start) / 1000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for ((i = 0; i < rounds; ++i)); do
    micros "$zux" query "$expr" "$mime" >>"$work/query"
    micros "$calls" evaluate "$mime" "$expr" >>"$work/calls"
    micros "$zux" --version >>"$work/query-start"
    micros "$calls" >>"$work/calls-start"
done
query=$(median <"$work/query")
calls_time=$(median <"$work/calls")
query_start=$(median <"$work/query-start")
calls_start=$(median <"$work/calls-start")
echo "zux query '$expr' $(basename "$mime"): $("$zux" query "$expr" "$mime"), medians of $rounds rounds"
echo "  whole process: zux $query us, library calls $calls_time us, ratio $(awk "BEGIN { printf \"%.3f\", $query / $calls_time }")"
echo "  process start: zux $query_start us, library calls $calls_start us"
echo "  without the start: ratio $(awk "BEGIN { printf \"%.3f\", ($query - $query_start) / ($calls_time - $calls_start) }")"

"$build/bench/zux_bench_memory" generate "$work/generated.xml"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident set size/ { print $NF }'; }
for ((i = 0; i < 3; ++i)); do
    cp "$work/generated.xml" "$work/in-place.xml"
    peak "$zux" format "$work/generated.xml" >>"$work/format"
    peak "$zux" format --in-place "$work/in-place.xml" >>"$work/in-place"
    peak "$calls" save "$work/generated.xml" "$work/saved.xml" >>"$work/save"
done
format=$(median <"$work/format")
in_place=$(median <"$work/in-place")
save=$(median <"$work/save")
echo "zux format of the generated $(($(stat -c %s "$work/generated.xml") / 1000000)) MB document, peak resident set (median of 3):"
echo "  to standard output $format KiB, in place $in_place KiB, library load and save $save KiB"
echo "  ratios $(awk "BEGIN { printf \"%.3f and %.3f\", $format / $save, $in_place / $save }")"
