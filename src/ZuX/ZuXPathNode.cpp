#include <ZuX/CZuXPathNode.h>

#include "ZuXAttributePrivate.h"
#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXNodePrivate.h"
#include "ZuXPathNodePrivate.h"

CZuXPathNodePrivate::CZuXPathNodePrivate() = default;

CZuXPathNodePrivate::~CZuXPathNodePrivate() = default;

CZuXPathNode::CZuXPathNode() : m_pPrivate(boost::make_shared<CZuXPathNodePrivate>()) {}

CZuXPathNode::CZuXPathNode(boost::shared_ptr<CZuXPathNodePrivate> body) : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXPathNode::~CZuXPathNode() = default;

CZuXNodePrivatePtr CZuXPathNode::NodePrivate() {
    return DeriveBody<CZuXNodePrivate>(m_pPrivate->m_pDocument, [this] { return m_pPrivate->m_item.node(); });
}

boost::shared_ptr<CZuXAttributePrivate> CZuXPathNode::AttributePrivate() {
    return DeriveBody<CZuXAttributePrivate>(m_pPrivate->m_pDocument, [this] { return m_pPrivate->m_item.attribute(); });
}

CZuXNodePrivatePtr CZuXPathNode::ParentPrivate() {
    return DeriveBody<CZuXNodePrivate>(m_pPrivate->m_pDocument, [this] { return m_pPrivate->m_item.parent(); });
}
