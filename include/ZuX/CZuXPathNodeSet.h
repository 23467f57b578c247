// The result of an XPath query.
#ifndef ZUX_CZUXPATHNODESET_H
#define ZUX_CZUXPATHNODESET_H

#include <ZuX/CZuXPathNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

class CZuXPathNodeSet;
class CZuXPathNodeSetPrivate;

/// @file
/// CZuXPathNodeSet and the pointer name CZuXPathNodeSetPtr.

typedef boost::shared_ptr<CZuXPathNodeSet> CZuXPathNodeSetPtr; ///< a shared XPath result

/// The items an XPath query selected, in the order the query returned them. Copies share the
/// body; the set is never re-evaluated. It is a snapshot: removals do not change its size, and an
/// item that was removed gives empty node, attribute and parent bodies. After its document is
/// loaded again, the set is empty.
class ZUX_EXPORT CZuXPathNodeSet {
public:
    /// An empty set, attached to no document.
    CZuXPathNodeSet();
    /// Shares the given body. An empty pointer gives an empty set of its own.
    CZuXPathNodeSet(boost::shared_ptr<CZuXPathNodeSetPrivate> body);
    /// Releases the body; the tree lives on while other handles or bodies hold it.
    virtual ~CZuXPathNodeSet();

    /// True when nothing was selected.
    bool Empty() const;
    /// How many items were selected.
    unsigned long Size() const;
    /// A new handle on the item at `index` (from 0), on a new body each call. An index not less
    /// than Size() gives a handle on an empty item.
    boost::shared_ptr<CZuXPathNode> Node(unsigned long index) const;

private:
    boost::shared_ptr<CZuXPathNodeSetPrivate> m_pPrivate;
};

#endif
