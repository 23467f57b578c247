// tinyxml2 as a peer. It has no XPath.
#include "Bench.h"

#include <tinyxml2.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

using zuxbench::Corpus;
using zuxbench::WalkResult;

// Line breaks without indentation, as in ZuX's formatted string save.
class FlatPrinter : public tinyxml2::XMLPrinter {
public:
    FlatPrinter() : XMLPrinter(nullptr, false) {}

protected:
    void PrintSpace(int) override {}
};

tinyxml2::XMLDocument& Parsed(const Corpus& corpus) {
    static std::map<std::string, std::unique_ptr<tinyxml2::XMLDocument>> cache;
    std::unique_ptr<tinyxml2::XMLDocument>& document = cache[corpus.name];
    if (!document) {
        document.reset(new tinyxml2::XMLDocument);
        document->Parse(corpus.text.data(), corpus.text.size());
    }
    return *document;
}

void WalkChildren(const tinyxml2::XMLNode* parent, const Corpus& corpus, WalkResult& result) {
    for (const tinyxml2::XMLNode* child = parent->FirstChild(); child; child = child->NextSibling()) {
        ++result.nodes;
        if (const tinyxml2::XMLElement* element = child->ToElement()) {
            result.sum += element->IntAttribute(corpus.intAttribute, 0);
            if (const char* text = element->Attribute(corpus.stringAttribute))
                result.sum += static_cast<long long>(std::strlen(text));
        }
        WalkChildren(child, corpus, result);
    }
}

} // namespace

void zuxbench::RegisterTinyxml2(const std::vector<Corpus>& corpora, const std::vector<long long>& elements) {
    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        const double count = static_cast<double>(elements[i]);
        Register("parse", corpus.name, "tinyxml2", [&corpus, count](benchmark::State& state) {
            tinyxml2::XMLDocument document;
            Measure(state, count,
                    [&] { return static_cast<long long>(document.Parse(corpus.text.data(), corpus.text.size())); });
        });
        Register("walk", corpus.name, "tinyxml2", [&corpus, count](benchmark::State& state) {
            const tinyxml2::XMLDocument& document = Parsed(corpus);
            MeasureWalk(state, count, [&] {
                WalkResult result;
                WalkChildren(&document, corpus, result);
                return result;
            });
        });
        Register("save-raw", corpus.name, "tinyxml2", [&corpus, count](benchmark::State& state) {
            const tinyxml2::XMLDocument& document = Parsed(corpus);
            Measure(state, count, [&] {
                tinyxml2::XMLPrinter printer(nullptr, true);
                document.Print(&printer);
                return static_cast<long long>(printer.CStrSize());
            });
        });
        Register("save-indented", corpus.name, "tinyxml2", [&corpus, count](benchmark::State& state) {
            const tinyxml2::XMLDocument& document = Parsed(corpus);
            Measure(state, count, [&] {
                FlatPrinter printer;
                document.Print(&printer);
                return static_cast<long long>(printer.CStrSize());
            });
        });
    }
    Register("build", "100k", "tinyxml2", [](benchmark::State& state) {
        const std::vector<std::string>& names = BuildNames();
        Measure(state, kBuildElements, [&] {
            tinyxml2::XMLDocument document;
            tinyxml2::XMLElement* root = document.NewElement("catalog");
            document.InsertEndChild(root);
            long long made = 0;
            for (int i = 0; i < kBuildElements; ++i) {
                tinyxml2::XMLElement* item = document.NewElement("item");
                root->InsertEndChild(item);
                item->SetAttribute("id", i);
                item->SetAttribute("name", names[static_cast<std::size_t>(i)].c_str());
                made += item != nullptr;
            }
            return made;
        });
    });
}
