// The floor of the handle design: raw pugixml plus what every handle must cost and nothing else.
//
// A node handle holds one shared pointer to a body; the body holds the document's shared pointer
// and the pugixml node. Going down (first child, append) allocates one body with
// boost::make_shared and copies the document pointer into it; moves change the body in place.
// The members are compiled into a shared library of their own (Model.cpp), built as ZuX is, so
// that no call is inlined into the benchmark loop and every call crosses a library boundary.
//
// ApiNode is the same floor in the shape that CZuXNode's interface fixes: an out-of-line
// constructor and virtual destructor, moves that return a CZuError, and text read into a
// std::string. Between ApiNode and CZuXNode lies only the shared-library boundary and the code of
// ZuX itself.
//
// GenerationNode and RegistryNode are Node with each of two ways to keep handles off removed
// items, as far as they cost a walk that removes nothing: a generation number in every body,
// compared with the document's on every access (what ZuX does); or a registry of the live bodies
// of each document, which a removal would walk, entered and left under a lock because bodies may
// be released on any thread.
#ifndef ZUX_BENCH_MODEL_H
#define ZUX_BENCH_MODEL_H

#include <ZuUtils/CZuError.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

// What the model library exports, as ZUX_EXPORT does for ZuX.
#define ZUX_BENCH_MODEL_EXPORT __attribute__((visibility("default")))

namespace zuxbench {
namespace model {

struct DocumentBody {
    pugi::xml_document document;
};

struct NodeBody {
    boost::shared_ptr<DocumentBody> document;
    pugi::xml_node node;
};

using NodeBodyPtr = boost::shared_ptr<NodeBody>;

/// A body on the document node.
ZUX_BENCH_MODEL_EXPORT NodeBodyPtr DocumentNode(const boost::shared_ptr<DocumentBody>& document);

class ZUX_BENCH_MODEL_EXPORT Node {
public:
    explicit Node(NodeBodyPtr body) : m_body(std::move(body)) {}

    bool Exists() const;
    /// A new body on the first child: the one allocation per node.
    NodeBodyPtr FirstChild() const;
    void MoveNextSibling() const;
    int AttributeAsInt(const char* name, int fallback) const;
    /// The attribute's text as pugixml holds it: no copy.
    const char* AttributeText(const char* name) const;
    /// The attribute's text as a new std::string, as an interface that returns strings must give it.
    std::string AttributeString(const char* name) const;

    /// A new body on a new last child element.
    NodeBodyPtr AppendChild(const char* name) const;
    void AppendAttribute(const char* name, int value) const;
    void AppendAttribute(const char* name, const char* value) const;

private:
    NodeBodyPtr m_body;
};

class ZUX_BENCH_MODEL_EXPORT ApiNode {
public:
    explicit ApiNode(NodeBodyPtr body);
    virtual ~ApiNode();

    bool Exists() const;
    NodeBodyPtr FirstChild() const;
    CZuError MoveNextSibling() const;
    int AttributeAsInt(const char* name, int fallback) const;
    std::string AttributeString(const char* name) const;

private:
    NodeBodyPtr m_body;
};

struct GenerationDocument {
    pugi::xml_document document;
    std::uint64_t generation = 1;
};

struct GenerationBody {
    boost::shared_ptr<GenerationDocument> document;
    pugi::xml_node node;
    std::uint64_t generation = 0;
};

using GenerationBodyPtr = boost::shared_ptr<GenerationBody>;

ZUX_BENCH_MODEL_EXPORT GenerationBodyPtr DocumentNode(const boost::shared_ptr<GenerationDocument>& document);

class ZUX_BENCH_MODEL_EXPORT GenerationNode {
public:
    explicit GenerationNode(GenerationBodyPtr body) : m_body(std::move(body)) {}

    bool Exists() const;
    GenerationBodyPtr FirstChild() const;
    void MoveNextSibling() const;
    int AttributeAsInt(const char* name, int fallback) const;
    std::string AttributeString(const char* name) const;

private:
    GenerationBodyPtr m_body;
};

struct RegistryBody;

struct RegistryDocument {
    pugi::xml_document document;
    std::atomic<bool> locked{false};
    RegistryBody* first = nullptr;
};

struct RegistryBody {
    RegistryBody() = default;
    RegistryBody(const RegistryBody&) = delete;
    RegistryBody& operator=(const RegistryBody&) = delete;
    ~RegistryBody();

    boost::shared_ptr<RegistryDocument> document;
    pugi::xml_node node;
    RegistryBody* previous = nullptr;
    RegistryBody* next = nullptr;
};

using RegistryBodyPtr = boost::shared_ptr<RegistryBody>;

ZUX_BENCH_MODEL_EXPORT RegistryBodyPtr DocumentNode(const boost::shared_ptr<RegistryDocument>& document);

class ZUX_BENCH_MODEL_EXPORT RegistryNode {
public:
    explicit RegistryNode(RegistryBodyPtr body) : m_body(std::move(body)) {}

    bool Exists() const;
    RegistryBodyPtr FirstChild() const;
    void MoveNextSibling() const;
    int AttributeAsInt(const char* name, int fallback) const;
    std::string AttributeString(const char* name) const;

private:
    RegistryBodyPtr m_body;
};

} // namespace model
} // namespace zuxbench

#endif
