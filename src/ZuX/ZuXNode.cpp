#include <ZuX/CZuXNode.h>

#include "ZuXAttributePrivate.h"
#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXNodePrivate.h"
#include "ZuXResults.h"
#include "ZuXTree.h"

namespace {

// Element, document, text and CDATA nodes hold text; comments and declarations do not.
bool CanHoldText(const pugi::xml_node& node) {
    switch (node.type()) {
    case pugi::node_document:
    case pugi::node_element:
    case pugi::node_pcdata:
    case pugi::node_cdata:
        return true;
    default:
        return false;
    }
}

} // namespace

CZuXNodePrivate::CZuXNodePrivate() = default;

CZuXNodePrivate::~CZuXNodePrivate() = default;

CZuXNode::CZuXNode() : m_pPrivate(boost::make_shared<CZuXNodePrivate>()) {}

CZuXNode::CZuXNode(CZuXNodePrivatePtr body) : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXNode::CZuXNode(CZuXNode& other) : CZuXNode(static_cast<const CZuXNode&>(other)) {}

CZuXNode::CZuXNode(const CZuXNode& other) : m_pPrivate(CopyBody(other.m_pPrivate)) {}

CZuXNode& CZuXNode::operator=(CZuXNode& other) {
    return *this = static_cast<const CZuXNode&>(other);
}

CZuXNode& CZuXNode::operator=(const CZuXNode& other) {
    m_pPrivate = CopyBody(other.m_pPrivate);
    return *this;
}

CZuXNode::~CZuXNode() = default;

bool CZuXNode::Exists() const {
    return static_cast<bool>(m_pPrivate->m_item);
}

std::string CZuXNode::Name() const {
    const pugi::xml_node& node = m_pPrivate->m_item;
    return node ? std::string(node.name()) : std::string();
}

CZuError CZuXNode::MoveNext() const {
    pugi::xml_node& node = m_pPrivate->m_item;
    node = node.next_sibling(node.name());
    return CZuError::Success();
}

CZuError CZuXNode::MoveNextSibling() const {
    pugi::xml_node& node = m_pPrivate->m_item;
    node = node.next_sibling();
    return CZuError::Success();
}

CZuError CZuXNode::MovePreviousSibling() const {
    pugi::xml_node& node = m_pPrivate->m_item;
    node = node.previous_sibling();
    return CZuError::Success();
}

CZuXNodePrivatePtr CZuXNode::GetFirstNode() {
    return DeriveBody<CZuXNodePrivate>(m_pPrivate->m_pDocument, [this] { return m_pPrivate->m_item.first_child(); });
}

CZuXNodePrivatePtr CZuXNode::GetNode(const char* name) {
    return static_cast<const CZuXNode*>(this)->GetNode(name);
}

CZuXNodePrivatePtr CZuXNode::GetNode(const char* name) const {
    return DeriveBody<CZuXNodePrivate>(m_pPrivate->m_pDocument, [&] { return ChildNamed(m_pPrivate->m_item, name); });
}

boost::shared_ptr<CZuXAttributePrivate> CZuXNode::GetFirstAttribute() {
    return DeriveBody<CZuXAttributePrivate>(m_pPrivate->m_pDocument,
                                            [this] { return m_pPrivate->m_item.first_attribute(); });
}

CZuError CZuXNode::GetText(std::string& text) {
    text = m_pPrivate->m_item.text().get();
    return CZuError::Success();
}

CZuError CZuXNode::SetText(const std::string& text) {
    const pugi::xml_node& node = m_pPrivate->m_item;
    return WriteResult(node.text().set(text.c_str()), CanHoldText(node),
                       ZU_CODE_LOCATION("CZuError CZuXNode::SetText(const string&)"));
}

CZuXNodePrivatePtr CZuXNode::GetPrivate() {
    return m_pPrivate;
}

CZuXNodePrivatePtr CZuXNode::GetPrivate(CZuXNodePtr node) {
    return node ? node->GetPrivate() : boost::make_shared<CZuXNodePrivate>();
}
