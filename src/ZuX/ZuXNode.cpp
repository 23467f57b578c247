#include <ZuX/CZuXNode.h>

#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXNodePrivate.h"

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

CZuXNodePrivatePtr CZuXNode::GetPrivate() {
    return m_pPrivate;
}

CZuXNodePrivatePtr CZuXNode::GetPrivate(CZuXNodePtr node) {
    return node ? node->GetPrivate() : boost::make_shared<CZuXNodePrivate>();
}
