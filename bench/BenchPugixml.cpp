// Raw pugixml, called exactly as ZuX calls it: the baseline of every ratio.
#include "Bench.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

using zuxbench::Corpus;
using zuxbench::WalkResult;

// The options CZuXDocument::LoadFromString passes.
constexpr unsigned int kParseOptions = pugi::parse_default;

// The same writer as ZuX's string saves: appends every chunk to a std::string.
class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { m_text.append(static_cast<const char*>(data), size); }

    std::string m_text;
};

// One parsed tree per corpus, made on first use outside the timed loops.
const pugi::xml_document& Parsed(const Corpus& corpus) {
    static std::map<std::string, std::unique_ptr<pugi::xml_document>> cache;
    std::unique_ptr<pugi::xml_document>& document = cache[corpus.name];
    if (!document) {
        document.reset(new pugi::xml_document);
        document->load_string(corpus.text.c_str(), kParseOptions);
    }
    return *document;
}

// What a list of compiled queries selects in all.
ZUX_BENCH_PROFILED long long SelectCompiled(const pugi::xml_document& document,
                                            const std::vector<pugi::xpath_query>& queries) {
    long long selected = 0;
    for (const pugi::xpath_query& query : queries)
        selected += static_cast<long long>(query.evaluate_node_set(document).size());
    return selected;
}

void WalkChildren(const pugi::xml_node& parent, const Corpus& corpus, WalkResult& result) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        ++result.nodes;
        result.sum += child.attribute(corpus.intAttribute).as_int(0);
        result.sum += static_cast<long long>(std::strlen(child.attribute(corpus.stringAttribute).as_string()));
        WalkChildren(child, corpus, result);
    }
}

ZUX_BENCH_PROFILED WalkResult WalkDocument(const pugi::xml_document& document, const Corpus& corpus) {
    WalkResult result;
    WalkChildren(document, corpus, result);
    return result;
}

// What WalkSiblings does in BenchZuX.cpp, on the raw nodes.
long long WalkSiblings(const pugi::xml_document& document, const Corpus& corpus) {
    const pugi::xml_node root = document.first_child();
    long long sum = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (pugi::xml_node child = root.first_child(); child;
             child = pass == 0 ? child.next_sibling() : child.next_sibling(child.name())) {
            sum += child.attribute(corpus.intAttribute).as_int(0);
            sum += static_cast<long long>(child.attribute(corpus.intAttribute).as_double(0.0));
            sum += !child.attribute(corpus.stringAttribute).empty();
        }
    }
    return sum;
}

ZUX_BENCH_PROFILED long long BuildDocument(const std::vector<std::string>& names) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("catalog");
    long long made = 0;
    for (int i = 0; i < zuxbench::kBuildElements; ++i) {
        pugi::xml_node item = root.append_child("item");
        item.append_attribute("id") = i;
        item.append_attribute("name") = names[static_cast<std::size_t>(i)].c_str();
        made += static_cast<bool>(item);
    }
    return made;
}

long long Save(const pugi::xml_document& document, unsigned int format) {
    StringWriter writer;
    document.save(writer, "", format, pugi::encoding_utf8);
    const std::string text = std::move(writer.m_text);
    return static_cast<long long>(text.size());
}

void CountElements(const pugi::xml_node& parent, long long& count) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) ++count;
        CountElements(child, count);
    }
}

} // namespace

long long zuxbench::CountElements(const Corpus& corpus) {
    long long count = 0;
    ::CountElements(Parsed(corpus), count);
    return count;
}

void zuxbench::RegisterPugixml(const std::vector<Corpus>& corpora, const std::vector<long long>& elements) {
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        const double count = static_cast<double>(elements[i]);
        Register("parse", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            pugi::xml_document document;
            Measure(state, count, [&] {
                const pugi::xml_parse_result parsed = document.load_string(corpus.text.c_str(), kParseOptions);
                return static_cast<long long>(parsed.status);
            });
        });
        Register("walk", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument(document, corpus); });
        });
        Register("siblings", corpus.name, "pugixml", [&corpus](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            Measure(state, 0, [&] { return WalkSiblings(document, corpus); });
        });
        Register("xpath", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            Measure(state, count, [&] {
                long long selected = 0;
                for (const Query& query : corpus.queries)
                    selected += static_cast<long long>(document.select_nodes(query.pugixml.c_str()).size());
                return selected;
            });
        });
        Register("xpath-compiled", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            std::vector<pugi::xpath_query> queries;
            for (const Query& query : corpus.queries) queries.emplace_back(query.pugixml.c_str());
            Measure(state, count, [&] { return SelectCompiled(document, queries); });
        });
        if (corpus.nsPrefix)
            Register("xpath-ns", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
                const pugi::xml_document& document = Parsed(corpus);
                std::vector<pugi::xpath_query> queries;
                for (const Query& query : corpus.queries) queries.emplace_back(query.byHand.c_str());
                Measure(state, count, [&] { return SelectCompiled(document, queries); });
            });
        Register("save-raw", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, pugi::format_raw); });
        });
        Register("save-indented", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, pugi::format_indent); });
        });
    }
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        if (!corpus.savedToFile) continue;
        const double count = static_cast<double>(elements[i]);
        // What CZuXDocument::SaveToFile(path) passes.
        Register("save-file", corpus.name, "pugixml", [&corpus, count](benchmark::State& state) {
            const pugi::xml_document& document = Parsed(corpus);
            const std::string path = zuxbench::SavePath(corpus, "pugixml");
            Measure(state, count, [&] {
                const bool saved = document.save_file(path.c_str(), "\t", pugi::format_indent, pugi::encoding_auto);
                return saved ? zuxbench::FileSize(path) : -1;
            });
            std::remove(path.c_str());
        })->UseRealTime();
    }
    Register("build", "100k", "pugixml", [](benchmark::State& state) {
        const std::vector<std::string>& names = BuildNames();
        Measure(state, kBuildElements, [&] { return BuildDocument(names); });
    });
    Register("remove", "1M", "pugixml", [](benchmark::State& state) {
        pugi::xml_document document;
        MeasureRemoval(
            state, [&] { document.load_string(RemovalDocument().c_str(), kParseOptions); },
            [&] { return static_cast<long long>(document.first_child().remove_child("big")); });
    });
    Register("remove-each", "100k", "pugixml", [](benchmark::State& state) {
        pugi::xml_document document;
        MeasureRemoval(
            state, [&] { document.load_string(ChildrenDocument().c_str(), kParseOptions); },
            [&] {
                pugi::xml_node root = document.first_child();
                long long removed = 0;
                while (root.remove_child("item")) ++removed;
                return removed;
            });
    });
}
