// zux_bench: every workload for every library, in one process, so that the ratios are measured
// side by side. Google Benchmark's flags apply (--benchmark_repetitions, --benchmark_format, ...).
#include "Bench.h"

#include <malloc.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Captured by reference by the registered benchmarks, so it lives as long as the process.
std::vector<zuxbench::Corpus> s_corpora;

} // namespace

const std::vector<std::string>& zuxbench::BuildNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> made;
        made.reserve(kBuildElements);
        for (int i = 0; i < kBuildElements; ++i) made.push_back("entry-" + std::to_string(i));
        return made;
    }();
    return names;
}

const std::string& zuxbench::RemovalDocument() {
    static const std::string text = [] {
        std::string made = "<r><big>";
        for (int group = 0; group < 1000; ++group) {
            made += "<g>";
            for (int item = 0; item < 999; ++item) made += "<i a=\"1\"/>";
            made += "</g>";
        }
        return made + "</big><keep/></r>";
    }();
    return text;
}

const std::string& zuxbench::ChildrenDocument() {
    static const std::string text = [] {
        std::string made = "<r>";
        for (int item = 0; item < kRemovedOneByOne; ++item) made += "<item a=\"1\"/>";
        return made + "</r>";
    }();
    return text;
}

std::string zuxbench::SavePath(const Corpus& corpus, const char* library) {
    return (std::filesystem::temp_directory_path() / ("zux-bench-" + corpus.name + "-" + library + ".xml")).string();
}

long long zuxbench::FileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

int main(int argc, char** argv) {
    // Freed memory stays with the process: glibc would otherwise hand large blocks and the top of
    // the heap back to the system, and whether the next run must fault them in again depends on
    // what else lies on the heap. That would time the kernel, differently from run to run.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    zuxbench::InstallAllocationHooks();

    // --zux_corpora=a,b keeps only the named corpora (a profiler run needs no 50 MB document).
    std::string only;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--zux_corpora=", 0) == 0)
            only = "," + argument.substr(std::strlen("--zux_corpora=")) + ",";
        else
            argv[kept++] = argv[i];
    }
    argc = kept;

    std::vector<std::string> missing;
    s_corpora = zuxbench::LoadCorpora(missing, only);
    for (const std::string& path : missing) {
        std::fprintf(stderr, "zux_bench: %s is missing; its benchmarks are left out\n", path.c_str());
        benchmark::AddCustomContext("missing:" + path, "not found");
    }

    std::vector<long long> elements;
    for (const zuxbench::Corpus& corpus : s_corpora) {
        elements.push_back(zuxbench::CountElements(corpus));
        benchmark::AddCustomContext("corpus:" + corpus.name, "bytes=" + std::to_string(corpus.text.size()) +
                                                                 " elements=" + std::to_string(elements.back()) +
                                                                 " source=" + corpus.source);
    }
    (void)zuxbench::BuildNames(); // made now, outside every benchmark
    (void)zuxbench::RemovalDocument();
    (void)zuxbench::ChildrenDocument();

    zuxbench::RegisterPugixml(s_corpora, elements);
    zuxbench::RegisterZuX(s_corpora, elements);
    zuxbench::RegisterModel(s_corpora, elements);
    zuxbench::RegisterLibxml2(s_corpora, elements);
    zuxbench::RegisterTinyxml2(s_corpora, elements);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
