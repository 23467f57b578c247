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

} // namespace model
} // namespace zuxbench
