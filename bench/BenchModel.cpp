// The floor models (Model.h) on the walk and the build: what ZuX's handles cannot go below.
#include "Bench.h"
#include "Model.h"

#include <boost/make_shared.hpp>

#include <cstring>
#include <map>

namespace {

using zuxbench::Corpus;
using zuxbench::WalkResult;
using namespace zuxbench::model;

template <class Document = DocumentBody>
const boost::shared_ptr<Document>& Parsed(const Corpus& corpus) {
    static std::map<std::string, boost::shared_ptr<Document>> cache;
    boost::shared_ptr<Document>& document = cache[corpus.name];
    if (!document) {
        document = boost::make_shared<Document>();
        document->document.load_string(corpus.text.c_str(), pugi::parse_default);
    }
    return document;
}

// The text read of the model as defined: pugixml's own pointer, no copy.
struct PointerText {
    template <class NodeType>
    long long operator()(const NodeType& node, const char* name) const {
        return static_cast<long long>(std::strlen(node.AttributeText(name)));
    }
};

// The text read as CZuXNode::AttributeAsString must make it: a new std::string.
struct StringText {
    template <class NodeType>
    long long operator()(const NodeType& node, const char* name) const {
        return static_cast<long long>(node.AttributeString(name).size());
    }
};

template <class NodeType, class Text>
void WalkChildren(const NodeType& parent, const Corpus& corpus, WalkResult& result) {
    for (NodeType child(parent.FirstChild()); child.Exists(); child.MoveNextSibling()) {
        ++result.nodes;
        result.sum += child.AttributeAsInt(corpus.intAttribute, 0);
        result.sum += Text()(child, corpus.stringAttribute);
        WalkChildren<NodeType, Text>(child, corpus, result);
    }
}

template <class NodeType, class Text, class Document>
ZUX_BENCH_PROFILED WalkResult WalkDocument(const boost::shared_ptr<Document>& document, const Corpus& corpus) {
    WalkResult result;
    WalkChildren<NodeType, Text>(NodeType(DocumentNode(document)), corpus, result);
    return result;
}

ZUX_BENCH_PROFILED long long BuildDocument(const std::vector<std::string>& names) {
    const boost::shared_ptr<DocumentBody> document = boost::make_shared<DocumentBody>();
    const Node root(DocumentNode(document));
    const Node catalog(root.AppendChild("catalog"));
    long long made = 0;
    for (int i = 0; i < zuxbench::kBuildElements; ++i) {
        const Node item(catalog.AppendChild("item"));
        item.AppendAttribute("id", i);
        item.AppendAttribute("name", names[static_cast<std::size_t>(i)].c_str());
        made += item.Exists();
    }
    return made;
}

} // namespace

void zuxbench::RegisterModel(const std::vector<Corpus>& corpora, const std::vector<long long>& elements) {
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        const double count = static_cast<double>(elements[i]);
        Register("walk", corpus.name, "model", [&corpus, count](benchmark::State& state) {
            const boost::shared_ptr<DocumentBody>& document = Parsed(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument<Node, PointerText>(document, corpus); });
        });
        Register("walk", corpus.name, "model-string", [&corpus, count](benchmark::State& state) {
            const boost::shared_ptr<DocumentBody>& document = Parsed(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument<Node, StringText>(document, corpus); });
        });
        Register("walk", corpus.name, "model-api", [&corpus, count](benchmark::State& state) {
            const boost::shared_ptr<DocumentBody>& document = Parsed(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument<ApiNode, StringText>(document, corpus); });
        });
        Register("walk", corpus.name, "model-generation", [&corpus, count](benchmark::State& state) {
            const boost::shared_ptr<GenerationDocument>& document = Parsed<GenerationDocument>(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument<GenerationNode, StringText>(document, corpus); });
        });
        Register("walk", corpus.name, "model-registry", [&corpus, count](benchmark::State& state) {
            const boost::shared_ptr<RegistryDocument>& document = Parsed<RegistryDocument>(corpus);
            MeasureWalk(state, count, [&] { return WalkDocument<RegistryNode, StringText>(document, corpus); });
        });
    }
    Register("build", "100k", "model", [](benchmark::State& state) {
        const std::vector<std::string>& names = BuildNames();
        Measure(state, kBuildElements, [&] { return BuildDocument(names); });
    });
}
