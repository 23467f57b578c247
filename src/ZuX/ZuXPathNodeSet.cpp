#include <ZuX/CZuXPathNodeSet.h>

#include "ZuXBody.h"
#include "ZuXPathNodePrivate.h"
#include "ZuXPathNodeSetPrivate.h"

#include <boost/make_shared.hpp>

namespace {

// A new body on the item at `index`, or on no item past the end. It starts in the set's
// generation, so that it finds out itself, when it is used, whether its item was removed since the
// selection.
boost::shared_ptr<CZuXPathNodePrivate> ItemBody(CZuXPathNodeSetPrivate& set, unsigned long index) {
    const pugi::xpath_node_set& items = set.Items();
    return DeriveBody<CZuXPathNodePrivate>(set,
                                           [&] { return index < items.size() ? items[index] : pugi::xpath_node(); });
}

} // namespace

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
    return boost::make_shared<CZuXPathNode>(ItemBody(*m_pPrivate, index));
}

CZuXPathNodeSet::Iterator CZuXPathNodeSet::begin() const {
    return Iterator(m_pPrivate, 0);
}

CZuXPathNodeSet::Iterator CZuXPathNodeSet::end() const {
    return Iterator(m_pPrivate, Size());
}

CZuXPathNodeSet::Iterator::Iterator(const boost::shared_ptr<CZuXPathNodeSetPrivate>& set, unsigned long index)
    : m_pSet(set), m_index(index) {
    MoveHandleToIndex();
}

CZuXPathNodeSet::Iterator& CZuXPathNodeSet::Iterator::operator++() {
    ++m_index;
    MoveHandleToIndex();
    return *this;
}

bool CZuXPathNodeSet::Iterator::operator==(const Iterator& other) const {
    return ClampedIndex() == other.ClampedIndex();
}

unsigned long CZuXPathNodeSet::Iterator::ClampedIndex() const {
    const unsigned long size = m_pSet->Items().size();
    return m_index < size ? m_index : size;
}

void CZuXPathNodeSet::Iterator::MoveHandleToIndex() {
    const pugi::xpath_node_set& set = m_pSet->Items();
    if (m_index >= set.size()) return;
    // Held by this iterator alone: the handle pointer once, and the body by the handle and here.
    if (m_item.use_count() == 1 && m_pItemBody.use_count() == 2) return m_pItemBody->MoveTo(set[m_index], *m_pSet);
    m_pItemBody = ItemBody(*m_pSet, m_index);
    m_item = boost::make_shared<CZuXPathNode>(m_pItemBody);
}
