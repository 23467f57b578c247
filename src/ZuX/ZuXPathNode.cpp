#include <ZuX/CZuXPathNode.h>

#include "ZuXAttributePrivate.h"
#include "ZuXBody.h"
#include "ZuXNodePrivate.h"
#include "ZuXPathNodePrivate.h"

CZuXPathNodePrivate::CZuXPathNodePrivate() = default;

CZuXPathNodePrivate::~CZuXPathNodePrivate() = default;

void CZuXPathNodePrivate::Recheck() noexcept {
    // An attribute item is gone when the attribute or its element (the item's parent) was removed.
    const pugi::xml_attribute attribute = m_item.attribute();
    RecheckAddresses({ItemAddress(attribute), ItemAddress(attribute ? m_item.parent() : m_item.node())});
}

CZuXPathNode::CZuXPathNode() : m_pPrivate(zuxpool::New<CZuXPathNodePrivate>()) {}

CZuXPathNode::CZuXPathNode(boost::shared_ptr<CZuXPathNodePrivate> body) : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXPathNode::~CZuXPathNode() = default;

CZuXNodePrivatePtr CZuXPathNode::NodePrivate() {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().node(); });
}

boost::shared_ptr<CZuXAttributePrivate> CZuXPathNode::AttributePrivate() {
    boost::shared_ptr<CZuXAttributePrivate> body =
        DeriveBody<CZuXAttributePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().attribute(); });
    body->m_element = m_pPrivate->m_item.parent();
    return body;
}

CZuXNodePrivatePtr CZuXPathNode::ParentPrivate() {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().parent(); });
}
