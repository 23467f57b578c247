// zux_bench_memory: peak memory of loading one document with one library, so that every library
// is measured in a process of its own; and of a long-lived document that goes through many
// additions and removals.
//
//   zux_bench_memory generate FILE          writes the generated benchmark document to FILE
//   zux_bench_memory load LIBRARY FILE      loads FILE with zux, pugixml, libxml2 or tinyxml2 and
//                                           prints the peak resident set as one JSON object
//   zux_bench_memory churn CYCLES [idle]    CYCLES times adds an element below the root of one
//                                           document and removes it, with three handles in use
//                                           throughout (with "idle", also four node handles and an
//                                           XPath set made before the first cycle and not used
//                                           again); prints the peak resident set after the first
//                                           thousand cycles and at the end as one JSON object
//   zux_bench_memory removals LIBRARY SIZE COUNT
//                                           COUNT times appends a copy of a subtree of SIZE nodes
//                                           below the root of one document and removes it again,
//                                           with zux or pugixml; with zux, one node handle made
//                                           before the first removal is never used again, so the
//                                           record of removed items is never dropped; prints the
//                                           peak resident set after the first thousand removals
//                                           and at the end as one JSON object
#include "Corpus.h"

#include <ZuX/ZuX.h>
#include <libxml/parser.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <sys/resource.h>

#include <boost/make_shared.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The high-water mark of this process's resident set, in KiB.
long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Loads the file and reports the peak while the tree is still alive. Each library loads from the
// file the way its own file loader does (ZuX: LoadFromFile, which is pugixml's load_file).
bool Load(const std::string& library, const char* path, long& peak) {
    if (library == "zux") {
        CZuXDocument document;
        const bool ok = !document.LoadFromFile(path).IsError();
        peak = PeakKiB();
        return ok;
    }
    if (library == "pugixml") {
        pugi::xml_document document;
        const unsigned int options = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;
        const bool ok = document.load_file(path, options, pugi::encoding_auto);
        peak = PeakKiB();
        return ok;
    }
    if (library == "libxml2") {
        xmlDocPtr document = xmlReadFile(path, nullptr, XML_PARSE_NOBLANKS | XML_PARSE_COMPACT | XML_PARSE_NONET);
        peak = PeakKiB();
        xmlFreeDoc(document);
        return document != nullptr;
    }
    if (library == "tinyxml2") {
        tinyxml2::XMLDocument document;
        const bool ok = document.LoadFile(path) == tinyxml2::XML_SUCCESS;
        peak = PeakKiB();
        return ok;
    }
    std::fprintf(stderr, "zux_bench_memory: unknown library %s\n", library.c_str());
    return false;
}

int Churn(long cycles, bool idle) {
    CZuXDocument document;
    CZuXNode root(document.AppendNode("root"));
    CZuXNode counter(root.AppendNode("counter"));
    counter.SetAttributeINT("cycle", 0);
    CZuXAttribute cycle(counter.GetFirstAttribute());
    std::vector<CZuXNode> untouched;
    CZuXPathNodeSetPtr set;
    if (idle) {
        for (int i = 0; i < 4; ++i) untouched.emplace_back(root.AppendNode("idle"));
        document.SelectNodes(set, "//idle");
    }
    long early = 0;
    for (long i = 0; i < cycles; ++i) {
        const CZuXNodePtr item = boost::make_shared<CZuXNode>(root.AppendNode("item"));
        item->SetAttributeINT("n", static_cast<int>(i));
        item->SetText("text");
        if (root.RemoveNode(item).IsError() || item->Exists()) return 1;
        cycle.SetINT(static_cast<int>(i));
        if (i == 1000) early = PeakKiB();
    }
    std::printf("{\"churn\": %ld, \"idle\": %s, \"early_kib\": %ld, \"peak_kib\": %ld}\n", cycles,
                idle ? "true" : "false", early, PeakKiB());
    return cycle.AsINT(0) == static_cast<int>(cycles - 1) ? 0 : 1;
}

// A subtree of `size` nodes: an element with size - 1 empty children.
std::string Subtree(long size) {
    std::string text = "<s>";
    for (long i = 1; i < size; ++i) text += "<c/>";
    return text + "</s>";
}

int Removals(const std::string& library, long size, long count) {
    const std::string subtree = Subtree(size);
    long early = 0;
    bool ok = true;
    if (library == "zux") {
        CZuXDocument source;
        CZuXDocument document;
        ok = !source.LoadFromString(subtree).IsError() && !document.LoadFromString("<r><idle/></r>").IsError();
        const CZuXNode copied(source.GetNode("s"));
        CZuXNode root(document.GetNode("r"));
        const CZuXNode idle(root.GetNode("idle"));
        const std::string name = "s";
        for (long i = 0; ok && i < count; ++i) {
            ok = !root.AppendNodeCopy(copied).IsError() && !root.RemoveNode(name).IsError();
            if (i == 1000) early = PeakKiB();
        }
        ok = ok && idle.Exists();
    } else if (library == "pugixml") {
        pugi::xml_document source;
        pugi::xml_document document;
        ok = source.load_string(subtree.c_str()) && document.load_string("<r><idle/></r>");
        const pugi::xml_node copied = source.child("s");
        pugi::xml_node root = document.child("r");
        for (long i = 0; ok && i < count; ++i) {
            ok = root.append_copy(copied) && root.remove_child("s");
            if (i == 1000) early = PeakKiB();
        }
    } else {
        std::fprintf(stderr, "zux_bench_memory: unknown library %s\n", library.c_str());
        return 2;
    }
    std::printf("{\"removals\": %ld, \"subtree\": %ld, \"library\": \"%s\", \"early_kib\": %ld, \"peak_kib\": %ld}\n",
                count, size, library.c_str(), early, PeakKiB());
    return ok ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr, "usage: zux_bench_memory generate FILE\n"
                         "       zux_bench_memory load zux|pugixml|libxml2|tinyxml2 FILE\n"
                         "       zux_bench_memory churn CYCLES [idle]\n"
                         "       zux_bench_memory removals zux|pugixml SIZE COUNT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0) {
        const std::string text = zuxbench::GenerateDocument(zuxbench::kGeneratedBytes);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return out ? 0 : 1;
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "churn") == 0 && std::atol(argv[2]) > 1000)
        return Churn(std::atol(argv[2]), argc == 4 && std::strcmp(argv[3], "idle") == 0);
    if (argc == 5 && std::strcmp(argv[1], "removals") == 0 && std::atol(argv[3]) > 0 && std::atol(argv[4]) > 1000)
        return Removals(argv[2], std::atol(argv[3]), std::atol(argv[4]));
    if (argc != 4 || std::strcmp(argv[1], "load") != 0) return Usage();

    const std::string library = argv[2];
    const long baseline = PeakKiB();
    long peak = 0;
    if (!Load(library, argv[3], peak)) {
        std::fprintf(stderr, "zux_bench_memory: %s could not load %s\n", library.c_str(), argv[3]);
        return 1;
    }
    std::printf("{\"library\": \"%s\", \"baseline_kib\": %ld, \"peak_kib\": %ld}\n", library.c_str(), baseline, peak);
    return 0;
}
