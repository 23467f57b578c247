#include "Model.h"

#include <boost/make_shared.hpp>

namespace zuxbench {
namespace model {

namespace {

NodeBodyPtr NewBody(const boost::shared_ptr<DocumentBody>& document, const pugi::xml_node& node) {
    NodeBodyPtr body = boost::make_shared<NodeBody>();
    body->document = document;
    body->node = node;
    return body;
}

} // namespace

NodeBodyPtr DocumentNode(const boost::shared_ptr<DocumentBody>& document) {
    return NewBody(document, document->document);
}

bool Node::Exists() const {
    return static_cast<bool>(m_body->node);
}

NodeBodyPtr Node::FirstChild() const {
    return NewBody(m_body->document, m_body->node.first_child());
}

void Node::MoveNextSibling() const {
    m_body->node = m_body->node.next_sibling();
}

int Node::AttributeAsInt(const char* name, int fallback) const {
    return m_body->node.attribute(name).as_int(fallback);
}

const char* Node::AttributeText(const char* name) const {
    return m_body->node.attribute(name).as_string();
}

std::string Node::AttributeString(const char* name) const {
    return m_body->node.attribute(name).as_string();
}

NodeBodyPtr Node::AppendChild(const char* name) const {
    return NewBody(m_body->document, m_body->node.append_child(name));
}

void Node::AppendAttribute(const char* name, int value) const {
    m_body->node.append_attribute(name) = value;
}

void Node::AppendAttribute(const char* name, const char* value) const {
    m_body->node.append_attribute(name) = value;
}

ApiNode::ApiNode(NodeBodyPtr body) : m_body(std::move(body)) {}

ApiNode::~ApiNode() = default;

bool ApiNode::Exists() const {
    return static_cast<bool>(m_body->node);
}

NodeBodyPtr ApiNode::FirstChild() const {
    return NewBody(m_body->document, m_body->node.first_child());
}

CZuError ApiNode::MoveNextSibling() const {
    m_body->node = m_body->node.next_sibling();
    return CZuError::Success();
}

int ApiNode::AttributeAsInt(const char* name, int fallback) const {
    return m_body->node.attribute(name).as_int(fallback);
}

std::string ApiNode::AttributeString(const char* name) const {
    return m_body->node.attribute(name).as_string();
}

// --- a generation number per body --------------------------------------------------------------

namespace {

// Never called in a walk that removes nothing: out of line, as ZuX's is.
__attribute__((noinline)) void Recheck(GenerationBody& body) {
    body.generation = body.document->generation;
}

GenerationBodyPtr NewBody(const boost::shared_ptr<GenerationDocument>& document, const pugi::xml_node& node,
                          std::uint64_t generation) {
    GenerationBodyPtr body = boost::make_shared<GenerationBody>();
    body->document = document;
    body->node = node;
    body->generation = generation;
    return body;
}

// The check ZuX makes on every access, inline as there.
const pugi::xml_node& Item(GenerationBody& body) {
    const GenerationDocument* document = body.document.get();
    if (document && body.generation != document->generation) Recheck(body);
    return body.node;
}

} // namespace

GenerationBodyPtr DocumentNode(const boost::shared_ptr<GenerationDocument>& document) {
    return NewBody(document, document->document, document->generation);
}

bool GenerationNode::Exists() const {
    return static_cast<bool>(Item(*m_body));
}

GenerationBodyPtr GenerationNode::FirstChild() const {
    const pugi::xml_node child = Item(*m_body).first_child();
    return NewBody(m_body->document, child, m_body->generation);
}

void GenerationNode::MoveNextSibling() const {
    m_body->node = Item(*m_body).next_sibling();
}

int GenerationNode::AttributeAsInt(const char* name, int fallback) const {
    return Item(*m_body).attribute(name).as_int(fallback);
}

std::string GenerationNode::AttributeString(const char* name) const {
    return Item(*m_body).attribute(name).as_string();
}

// --- a registry of live bodies -----------------------------------------------------------------

namespace {

class RegistryLock {
public:
    explicit RegistryLock(RegistryDocument& document) : m_document(document) {
        while (m_document.locked.exchange(true, std::memory_order_acquire)) {
        }
    }
    ~RegistryLock() { m_document.locked.store(false, std::memory_order_release); }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;

private:
    RegistryDocument& m_document;
};

RegistryBodyPtr NewBody(const boost::shared_ptr<RegistryDocument>& document, const pugi::xml_node& node) {
    RegistryBodyPtr body = boost::make_shared<RegistryBody>();
    body->document = document;
    body->node = node;
    const RegistryLock lock(*document);
    body->next = document->first;
    if (body->next) body->next->previous = body.get();
    document->first = body.get();
    return body;
}

} // namespace

RegistryBody::~RegistryBody() {
    if (!document) return;
    const RegistryLock lock(*document);
    if (previous)
        previous->next = next;
    else
        document->first = next;
    if (next) next->previous = previous;
}

RegistryBodyPtr DocumentNode(const boost::shared_ptr<RegistryDocument>& document) {
    return NewBody(document, document->document);
}

bool RegistryNode::Exists() const {
    return static_cast<bool>(m_body->node);
}

RegistryBodyPtr RegistryNode::FirstChild() const {
    return NewBody(m_body->document, m_body->node.first_child());
}

void RegistryNode::MoveNextSibling() const {
    m_body->node = m_body->node.next_sibling();
}

int RegistryNode::AttributeAsInt(const char* name, int fallback) const {
    return m_body->node.attribute(name).as_int(fallback);
}

std::string RegistryNode::AttributeString(const char* name) const {
    return m_body->node.attribute(name).as_string();
}

} // namespace model
} // namespace zuxbench
