// libxml2 as a peer: its tree API, its XPath engine and its serialiser.
#include "Bench.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace {

using zuxbench::Corpus;
using zuxbench::WalkResult;

// Blank text between elements is dropped, as pugixml's default options drop it; COMPACT is
// libxml2's own speed option for short texts; nothing is fetched from the network.
constexpr int kParseOptions = XML_PARSE_NOBLANKS | XML_PARSE_COMPACT | XML_PARSE_NONET;

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

xmlDocPtr Parse(const std::string& text) {
    return xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, kParseOptions);
}

struct DocumentDeleter {
    void operator()(xmlDocPtr document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

xmlDocPtr Parsed(const Corpus& corpus) {
    static std::map<std::string, Document> cache;
    Document& document = cache[corpus.name];
    if (!document) document.reset(Parse(corpus.text));
    return document.get();
}

// The value of an element's attribute without copying it (the fast way through libxml2's tree,
// rather than xmlGetProp, which allocates a copy). Calls `use` with the text, or with nullptr.
template <class Use>
void WithAttribute(xmlNodePtr node, const char* name, Use&& use) {
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next) {
            if (!xmlStrEqual(attribute->name, X(name))) continue;
            const xmlNode* text = attribute->children;
            if (text && text->type == XML_TEXT_NODE && !text->next) {
                use(reinterpret_cast<const char*>(text->content));
                return;
            }
            xmlChar* joined = xmlNodeListGetString(node->doc, attribute->children, 1);
            use(joined ? reinterpret_cast<const char*>(joined) : "");
            xmlFree(joined);
            return;
        }
    }
    use(nullptr);
}

void WalkChildren(xmlNodePtr parent, const Corpus& corpus, WalkResult& result) {
    for (xmlNodePtr child = parent->children; child; child = child->next) {
        ++result.nodes;
        WithAttribute(child, corpus.intAttribute, [&](const char* text) {
            if (text) result.sum += std::strtol(text, nullptr, 10);
        });
        WithAttribute(child, corpus.stringAttribute, [&](const char* text) {
            if (text) result.sum += static_cast<long long>(std::strlen(text));
        });
        WalkChildren(child, corpus, result);
    }
}

long long Save(xmlDocPtr document, int format) {
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document, &text, &size, "UTF-8", format);
    xmlFree(text);
    return size;
}

long long Select(xmlDocPtr document, const Corpus& corpus) {
    xmlXPathContextPtr context = xmlXPathNewContext(document);
    if (corpus.nsPrefix) xmlXPathRegisterNs(context, X(corpus.nsPrefix), X(corpus.nsUri));
    long long selected = 0;
    for (const zuxbench::Query& query : corpus.queries) {
        xmlXPathObjectPtr result = xmlXPathEvalExpression(X(query.libxml2.c_str()), context);
        if (result && result->nodesetval) selected += result->nodesetval->nodeNr;
        xmlXPathFreeObject(result);
    }
    xmlXPathFreeContext(context);
    return selected;
}

} // namespace

void zuxbench::RegisterLibxml2(const std::vector<Corpus>& corpora, const std::vector<long long>& elements) {
    // Line breaks without indentation, as in ZuX's formatted string save.
    xmlTreeIndentString = "";
    xmlKeepBlanksDefault(0);

    for (std::size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& corpus = corpora[i];
        const double count = static_cast<double>(elements[i]);
        Register("parse", corpus.name, "libxml2", [&corpus, count](benchmark::State& state) {
            Measure(state, count, [&] {
                Document document(Parse(corpus.text));
                return static_cast<long long>(document ? 0 : -1);
            });
        });
        Register("walk", corpus.name, "libxml2", [&corpus, count](benchmark::State& state) {
            xmlDocPtr document = Parsed(corpus);
            MeasureWalk(state, count, [&] {
                WalkResult result;
                WalkChildren(reinterpret_cast<xmlNodePtr>(document), corpus, result);
                return result;
            });
        });
        Register("xpath", corpus.name, "libxml2", [&corpus, count](benchmark::State& state) {
            xmlDocPtr document = Parsed(corpus);
            Measure(state, count, [&] { return Select(document, corpus); });
        });
        Register("save-raw", corpus.name, "libxml2", [&corpus, count](benchmark::State& state) {
            xmlDocPtr document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, 0); });
        });
        Register("save-indented", corpus.name, "libxml2", [&corpus, count](benchmark::State& state) {
            xmlDocPtr document = Parsed(corpus);
            Measure(state, count, [&] { return Save(document, 1); });
        });
    }
    Register("build", "100k", "libxml2", [](benchmark::State& state) {
        const std::vector<std::string>& names = BuildNames();
        Measure(state, kBuildElements, [&] {
            Document document(xmlNewDoc(X("1.0")));
            xmlNodePtr root = xmlNewNode(nullptr, X("catalog"));
            xmlDocSetRootElement(document.get(), root);
            long long made = 0;
            for (int i = 0; i < kBuildElements; ++i) {
                xmlNodePtr item = xmlNewChild(root, nullptr, X("item"), nullptr);
                char id[16];
                std::snprintf(id, sizeof id, "%d", i);
                xmlNewProp(item, X("id"), X(id));
                xmlNewProp(item, X("name"), X(names[static_cast<std::size_t>(i)].c_str()));
                made += item != nullptr;
            }
            return made;
        });
    });
}
