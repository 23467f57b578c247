// What the per-library benchmark files share: registration under a common naming scheme and the
// measuring loop with its allocation counters.
#ifndef ZUX_BENCH_BENCH_H
#define ZUX_BENCH_BENCH_H

#include "AllocationCounter.h"
#include "Corpus.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

// Kept out of line, so that a profiler can single the function out (callgrind --toggle-collect).
#define ZUX_BENCH_PROFILED __attribute__((noinline))

namespace zuxbench {

/// Elements in each build benchmark's document (below one root element).
constexpr int kBuildElements = 100000;

/// Names given to the elements built, precomputed so that no library pays for making them.
const std::vector<std::string>& BuildNames();

/// A document whose root holds a subtree of one million nodes, <big>, and one other element: what
/// the remove benchmark loads before it takes <big> away.
const std::string& RemovalDocument();

/// Children of the root in the document that the remove-each benchmark empties one by one.
constexpr int kRemovedOneByOne = 100000;

/// A root, <r>, with kRemovedOneByOne children <item a="1"/>.
const std::string& ChildrenDocument();

/// Runs `remove` in the timed loop, after an untimed `prepare` before each run.
template <class Prepare, class Remove>
void MeasureRemoval(benchmark::State& state, Prepare&& prepare, Remove&& remove) {
    long long check = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        check += remove();
    }
    state.counters["check"] = static_cast<double>(check) / static_cast<double>(state.iterations());
}

/// What a walk saw: a checksum of the values read, and how many nodes it visited.
struct WalkResult {
    long long sum = 0;
    long long nodes = 0;
};

/// Runs `work` in the timed loop. `work` returns a checksum, reported as the counter "check" so
/// that the report can tell whether the libraries computed the same thing. The allocations made
/// in the loop are reported per iteration ("allocs") and divided by `elements` when it is not 0.
/// Returns the allocations per iteration.
///
/// One untimed run comes first: on a large document the first run after another benchmark pays
/// for faulting in memory that the allocator had returned to the system, and whether it must
/// depends on what ran before. After the warm-up every library is timed in the same steady state.
template <class Work>
double Measure(benchmark::State& state, double elements, Work&& work) {
    long long check = work();
    const AllocationCounts before = Allocations();
    for (auto _ : state) {
        check = work();
        benchmark::DoNotOptimize(check);
    }
    const AllocationCounts after = Allocations();
    const double iterations = static_cast<double>(state.iterations());
    const double allocations = static_cast<double>(after.Total() - before.Total()) / iterations;
    state.counters["check"] = static_cast<double>(check);
    state.counters["runs"] = iterations + 1; // with the warm-up: what a profiler of `work` sees
    state.counters["allocs"] = allocations;
    if (elements > 0) state.counters["allocs_per_element"] = allocations / elements;
    return allocations;
}

/// A walk in the timed loop: also reports the nodes visited and the allocations per node.
template <class Walk>
void MeasureWalk(benchmark::State& state, double elements, Walk&& walk) {
    WalkResult last;
    const double allocations = Measure(state, elements, [&] {
        last = walk();
        return last.sum;
    });
    state.counters["nodes"] = static_cast<double>(last.nodes);
    if (last.nodes > 0) state.counters["allocs_per_node"] = allocations / static_cast<double>(last.nodes);
}

/// Registers `run` as "workload/corpus/library" with the run settings every benchmark shares.
template <class Run>
benchmark::internal::Benchmark* Register(const std::string& workload, const std::string& corpus, const char* library,
                                         Run&& run) {
    const std::string name = workload + "/" + corpus + "/" + library;
    return benchmark::RegisterBenchmark(name.c_str(), std::forward<Run>(run))->Unit(benchmark::kMillisecond);
}

/// The file that `library`'s file save of `corpus` writes, in the temporary directory ($TMPDIR).
std::string SavePath(const Corpus& corpus, const char* library);

/// The size of the file at `path`, the checksum of a file save; -1 when it cannot be read.
long long FileSize(const std::string& path);

// Each library's benchmarks; the element count of a corpus is that of its pugixml tree.
void RegisterPugixml(const std::vector<Corpus>& corpora, const std::vector<long long>& elements);
void RegisterZuX(const std::vector<Corpus>& corpora, const std::vector<long long>& elements);
void RegisterModel(const std::vector<Corpus>& corpora, const std::vector<long long>& elements);
void RegisterLibxml2(const std::vector<Corpus>& corpora, const std::vector<long long>& elements);
void RegisterTinyxml2(const std::vector<Corpus>& corpora, const std::vector<long long>& elements);

/// Elements in the corpus's tree as pugixml parses it from a string.
long long CountElements(const Corpus& corpus);

} // namespace zuxbench

#endif
