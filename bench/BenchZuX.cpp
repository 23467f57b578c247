// ZuX through its public interface only, as an application uses it.
#include "Bench.h"

#include <ZuX/ZuX.h>

#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>

namespace {

using zuxbench::Corpus;
using zuxbench::WalkResult;

CZuXDocument& Parsed(const Corpus& corpus) {
    static std::map<std::string, std::unique_ptr<CZuXDocument>> cache;
    std::unique_ptr<CZuXDocument>& document = cache[corpus.name];
    if (!document) {
        document.reset(new CZuXDocument);
        document->LoadFromString(corpus.text);
    }
    return *document;
}

// A handle on the document node: the empty slash path names it.
CZuXNodePrivatePtr DocumentNode(CZuXDocument& document) {
    CZuXNodePrivatePtr node;
    document.QueryPrivate(node, "");
    return node;
}

void WalkChildren(CZuXNode& parent, const Corpus& corpus, WalkResult& result) {
    for (CZuXNode child(parent.GetFirstNode()); child.Exists(); child.MoveNextSibling()) {
        ++result.nodes;
        result.sum += child.AttributeAsINT(corpus.intAttribute, 0);
        result.sum += static_cast<long long>(child.AttributeAsString(corpus.stringAttribute).size());
        WalkChildren(child, corpus, result);
    }
}

ZUX_BENCH_PROFILED WalkResult WalkDocument(CZuXDocument& document, const Corpus& corpus) {
    WalkResult result;
    CZuXNode top(DocumentNode(document));
    WalkChildren(top, corpus, result);
    return result;
}

// Moves and node-level reads on one handle: along the root element's children with MoveNextSibling,
// then with MoveNext over those named like the first. `movingAllocations` receives what the moves
// and reads allocated, apart from the one body that GetFirstNode hands out for each pass.
long long WalkSiblings(CZuXDocument& document, const Corpus& corpus, unsigned long long& movingAllocations) {
    CZuXNode top(DocumentNode(document));
    CZuXNode root(top.GetFirstNode());
    long long sum = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const CZuXNode child(root.GetFirstNode());
        const unsigned long long before = zuxbench::Allocations().Total();
        for (; child.Exists(); pass == 0 ? child.MoveNextSibling() : child.MoveNext()) {
            sum += child.AttributeAsINT(corpus.intAttribute, 0);
            sum += static_cast<long long>(child.AttributeAsDOUBLE(corpus.intAttribute, 0.0));
            sum += child.AttributeExists(corpus.stringAttribute);
        }
        movingAllocations += zuxbench::Allocations().Total() - before;
    }
    return sum;
}

#ifdef ZUX_BENCH_RANGE_FOR
// Range-for over the root element's children, then over the items of a set that selects them.
// `childSteps` and `itemSteps` receive what each loop allocated after its first item was handed
// out, that is in its steps: the loop's begin() makes what it needs once. The set itself is
// selected before the loop.
long long WalkRangeFor(CZuXDocument& document, const Corpus& corpus, unsigned long long& childSteps,
                       unsigned long long& itemSteps) {
    CZuXNode top(DocumentNode(document));
    CZuXNode root(top.GetFirstNode());
    long long sum = 0;
    unsigned long long first = 0;
    bool started = false;
    for (CZuXNode& child : root.Children()) {
        if (!started) {
            first = zuxbench::Allocations().Total();
            started = true;
        }
        sum += child.AttributeAsINT(corpus.intAttribute, 0);
        sum += child.AttributeExists(corpus.stringAttribute);
    }
    if (started) childSteps += zuxbench::Allocations().Total() - first;

    CZuXPathNodeSetPtr items;
    if (root.SelectNodes(items, "node()").IsError()) return -1;
    started = false;
    for (const CZuXPathNodePtr& item : *items) {
        if (!started) {
            first = zuxbench::Allocations().Total();
            started = true;
        }
        sum += item != nullptr;
    }
    if (started) itemSteps += zuxbench::Allocations().Total() - first;
    return sum;
}
#endif

#ifdef ZUX_BENCH_ADDITIONS
// The corpus's queries, each in the spelling `pick` takes, compiled against `context` (or without
// one); an expression that does not compile ends the benchmark with an error.
template <class Pick>
std::vector<CZuXPathQuery> Compiled(benchmark::State& state, const Corpus& corpus, Pick&& pick,
                                    const CZuXPathContext* context) {
    std::vector<CZuXPathQuery> queries(corpus.queries.size());
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const std::string& text = pick(corpus.queries[i]);
        const CZuError compiled = context ? queries[i].Compile(text, *context) : queries[i].Compile(text);
        if (compiled.IsError()) state.SkipWithError(compiled.AsString().c_str());
    }
    return queries;
}

ZUX_BENCH_PROFILED long long SelectCompiled(CZuXDocument& document, const std::vector<CZuXPathQuery>& queries) {
    long long selected = 0;
    for (const CZuXPathQuery& query : queries) {
        CZuXPathNodeSetPtr nodes;
        if (!document.SelectNodes(nodes, query).IsError()) selected += static_cast<long long>(nodes->Size());
    }
    return selected;
}

#endif

ZUX_BENCH_PROFILED long long BuildDocument(const std::vector<std::string>& names) {
    CZuXDocument document;
    CZuXNode root(document.AppendNode("catalog"));
    long long made = 0;
    for (int i = 0; i < zuxbench::kBuildElements; ++i) {
        CZuXNode item(root.AppendNode("item"));
        item.SetAttributeINT("id", i);
        item.SetAttributeString("name", names[static_cast<std::size_t>(i)]);
        made += item.Exists();
    }
    return made;
}

#ifdef ZUX_BENCH_ADDITIONS
// Heap bytes in use, in the arena and in mapped blocks.
std::size_t HeapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

// The positions of the root element's children, asked one after the other: each a lookup in the
// table that the first one built.
ZUX_BENCH_PROFILED long long AskPositions(CZuXDocument& document) {
    CZuXNode root(CZuXNode(DocumentNode(document)).GetFirstNode());
    while (root.Exists() && !root.IsElement()) root.MoveNextSibling();
    long long sum = 0;
    for (CZuXNode& child : root.Children()) {
        unsigned long line = 0;
        unsigned long column = 0;
        if (!child.GetSourcePosition(line, column).IsError()) sum += static_cast<long long>(line + column);
    }
    return sum;
}

#endif

long long Save(CZuXDocument& document, bool indented) {
    std::string text;
    if (indented)
        document.SaveAsString(text, BZuXFormat(BZuXFormat::Indent));
    else
        document.SaveAsString(text);
    return static_cast<long long>(text.size());
}

} // namespace

void zuxbench::RegisterZuX(const std::vector<Corpus>& corpora, const std::vector<long long>& elements) {
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        const double count = static_cast<double>(elements[i]);
        Register("parse", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument document;
            Measure(state, count,
                    [&] { return static_cast<long long>(document.LoadFromString(corpus.text).GetCode()); });
        });
        Register("walk", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument(document, corpus); });
        });
        Register("siblings", corpus.name, "zux", [&corpus](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            unsigned long long moving = 0;
            Measure(state, 0, [&] { return WalkSiblings(document, corpus, moving); });
            state.counters["allocs_in_moves"] = static_cast<double>(moving);
        });
#ifdef ZUX_BENCH_RANGE_FOR
        Register("range-for", corpus.name, "zux", [&corpus](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            unsigned long long childSteps = 0, itemSteps = 0;
            Measure(state, 0, [&] { return WalkRangeFor(document, corpus, childSteps, itemSteps); });
            state.counters["allocs_in_child_steps"] = static_cast<double>(childSteps);
            state.counters["allocs_in_item_steps"] = static_cast<double>(itemSteps);
        });
#endif
        Register("xpath", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            std::vector<std::string> queries;
            for (const Query& query : corpus.queries) queries.push_back(query.pugixml);
            Measure(state, count, [&] {
                long long selected = 0;
                for (const std::string& query : queries) {
                    CZuXPathNodeSetPtr nodes;
                    if (!document.SelectNodes(nodes, query).IsError())
                        selected += static_cast<long long>(nodes->Size());
                }
                return selected;
            });
        });
#ifdef ZUX_BENCH_ADDITIONS
        Register("xpath-compiled", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            const std::vector<CZuXPathQuery> queries = Compiled(
                state, corpus, [](const Query& query) -> const std::string& { return query.pugixml; }, nullptr);
            Measure(state, count, [&] { return SelectCompiled(document, queries); });
        });
        if (corpus.nsPrefix) {
            // The prefixed queries with their prefix bound, against the same written by hand.
            Register("xpath-ns", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
                CZuXDocument& document = Parsed(corpus);
                CZuXPathContext context;
                context.BindNamespace(corpus.nsPrefix, corpus.nsUri);
                const std::vector<CZuXPathQuery> queries = Compiled(
                    state, corpus, [](const Query& query) -> const std::string& { return query.libxml2; }, &context);
                Measure(state, count, [&] { return SelectCompiled(document, queries); });
            });
            Register("xpath-ns", corpus.name, "zux-by-hand", [&corpus, count](benchmark::State& state) {
                CZuXDocument& document = Parsed(corpus);
                const std::vector<CZuXPathQuery> queries = Compiled(
                    state, corpus, [](const Query& query) -> const std::string& { return query.byHand; }, nullptr);
                Measure(state, count, [&] { return SelectCompiled(document, queries); });
            });
        }
        // The table of positions: what it holds beside the document, the load that builds it (parse
        // with KeepPositions, beside the plain parse), and lookups once it is there.
        Register("parse-positions", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument document;
            Measure(state, count, [&] {
                return static_cast<long long>(document.LoadFromString(corpus.text, BZuXLoad::KeepPositions).GetCode());
            });
        });
        Register("positions", corpus.name, "zux", [&corpus](benchmark::State& state) {
            CZuXDocument document;
            document.LoadFromString(corpus.text, BZuXLoad());
            const std::size_t without = HeapInUse();
            document.LoadFromString(corpus.text, BZuXLoad::KeepPositions);
            const std::size_t with = HeapInUse();
            Measure(state, 0, [&] { return AskPositions(document); });
            state.counters["table_bytes"] = static_cast<double>(with - without);
            state.counters["table_share"] =
                static_cast<double>(with - without) / static_cast<double>(corpus.text.size());
        });
#endif
        Register("save-raw", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, false); });
        });
        Register("save-indented", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, true); });
        });
    }
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        if (!corpus.savedToFile) continue;
        const double count = static_cast<double>(elements[i]);
        // Wall-clock time: the file is flushed to disk, and the CPU does not count the wait.
        Register("save-file", corpus.name, "zux", [&corpus, count](benchmark::State& state) {
            CZuXDocument& document = Parsed(corpus);
            const std::string path = zuxbench::SavePath(corpus, "zux");
            Measure(state, count, [&] { return document.SaveToFile(path).IsError() ? -1 : zuxbench::FileSize(path); });
            std::remove(path.c_str());
        })->UseRealTime();
    }
    Register("build", "100k", "zux", [](benchmark::State& state) {
        const std::vector<std::string>& names = BuildNames();
        Measure(state, kBuildElements, [&] { return BuildDocument(names); });
    });
    Register("remove", "1M", "zux", [](benchmark::State& state) {
        // Handles on the root and inside the subtree, as a program that removes holds them.
        CZuXDocument document;
        std::unique_ptr<CZuXNode> root, inside;
        MeasureRemoval(
            state,
            [&] {
                inside.reset();
                root.reset();
                document.LoadFromString(RemovalDocument());
                root.reset(new CZuXNode(document.GetNode("r")));
                inside.reset(new CZuXNode(root->GetNode("big")));
            },
            [&] { return static_cast<long long>(!root->RemoveNode(std::string("big")).IsError()); });
    });
    Register("remove-each", "100k", "zux", [](benchmark::State& state) {
        // Every child goes through the one parent handle; the last call finds none left.
        CZuXDocument document;
        std::unique_ptr<CZuXNode> root;
        const std::string name = "item";
        MeasureRemoval(
            state,
            [&] {
                root.reset();
                document.LoadFromString(ChildrenDocument());
                root.reset(new CZuXNode(document.GetNode("r")));
            },
            [&] {
                long long removed = 0;
                while (!root->RemoveNode(name).IsError()) ++removed;
                return removed;
            });
    });
}
