#include <ZuX/CZuXPathNodeSet.h>

#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXPathNodePrivate.h"
#include "ZuXPathNodeSetPrivate.h"

#include <boost/make_shared.hpp>

CZuXPathNodeSetPrivate::CZuXPathNodeSetPrivate() = default;

CZuXPathNodeSetPrivate::~CZuXPathNodeSetPrivate() = default;

CZuXPathNodeSet::CZuXPathNodeSet() : m_pPrivate(boost::make_shared<CZuXPathNodeSetPrivate>()) {}

CZuXPathNodeSet::CZuXPathNodeSet(boost::shared_ptr<CZuXPathNodeSetPrivate> body)
    : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXPathNodeSet::~CZuXPathNodeSet() = default;

bool CZuXPathNodeSet::Empty() const {
    return m_pPrivate->Items().empty();
}

unsigned long CZuXPathNodeSet::Size() const {
    return m_pPrivate->Items().size();
}

boost::shared_ptr<CZuXPathNode> CZuXPathNodeSet::Node(unsigned long index) const {
    // The item body starts in the set's generation, so that it finds out itself, when it is
    // used, whether its item was removed since the selection.
    const pugi::xpath_node_set& set = m_pPrivate->Items();
    return boost::make_shared<CZuXPathNode>(DeriveBody<CZuXPathNodePrivate>(
        *m_pPrivate, [&] { return index < set.size() ? set[index] : pugi::xpath_node(); }));
}
