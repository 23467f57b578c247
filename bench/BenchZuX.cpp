// ZuX through its public interface only, as an application uses it.
#include "Bench.h"

#include <ZuX/ZuX.h>

#include <cstdio>
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
