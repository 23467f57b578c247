// The result of an XPath query.
#ifndef ZUX_CZUXPATHNODESET_H
#define ZUX_CZUXPATHNODESET_H

#include <ZuX/CZuXPathNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <iterator>

class CZuXPathNodeSet;
class CZuXPathNodeSetPrivate;

/// @file
/// CZuXPathNodeSet; its pointer name CZuXPathNodeSetPtr comes with CZuXNode.h.

/// The items an XPath query selected, in the order the query returned them. Copies share the
/// body; the set is never re-evaluated. It is a snapshot: removals do not change its size, and an
/// item that was removed gives empty node, attribute and parent bodies. After its document is
/// loaded again, the set is empty. Threads as for CZuXNode: CZuXPathNodeSetPtr may be copied
/// and released on any thread; making or copying a set, like every call, uses the document.
class ZUX_EXPORT CZuXPathNodeSet {
public:
    class Iterator;

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

    /// The first item, for range-for: `for (const CZuXPathNodePtr& item : *set)`. See Iterator.
    Iterator begin() const;
    /// Past the last item.
    Iterator end() const;

private:
    boost::shared_ptr<CZuXPathNodeSetPrivate> m_pPrivate;
};

/// Walks the items of a set in order, for range-for. Each step gives a pointer to a handle on the
/// item, as Node() makes one. While nothing but the iterator holds that handle, the next step puts
/// it on the next item instead of making a new one, so a loop allocates for its first item only.
/// A pointer to the handle, or a copy of the handle, kept beyond its step keeps its item: the
/// iterator then makes a new handle for the next item (and throws std::bad_alloc when it cannot,
/// as Node() does). The walk ends early when the document is loaded again, which empties the set.
class ZUX_EXPORT CZuXPathNodeSet::Iterator {
public:
    typedef std::input_iterator_tag iterator_category; ///< walked once, forward
    typedef CZuXPathNodePtr value_type;                ///< a handle on an item
    typedef std::ptrdiff_t difference_type;            ///< a distance between positions
    typedef const CZuXPathNodePtr* pointer;            ///< the iterator's own handle pointer
    typedef const CZuXPathNodePtr& reference;          ///< the iterator's own handle pointer

    /// The handle on the current item.
    const CZuXPathNodePtr& operator*() const { return m_item; }
    /// The same, for member access.
    const CZuXPathNodePtr* operator->() const { return &m_item; }
    /// Moves to the next item.
    Iterator& operator++();
    /// True when both are at the same position (every position past the end is the end).
    bool operator==(const Iterator& other) const;
    /// The opposite of ==.
    bool operator!=(const Iterator& other) const { return !(*this == other); }
    /// The current item's index, as Node() takes it.
    unsigned long Index() const { return m_index; }

private:
    friend class CZuXPathNodeSet;
    ZUX_NO_EXPORT Iterator(const boost::shared_ptr<CZuXPathNodeSetPrivate>& set, unsigned long index);
    ZUX_NO_EXPORT void MoveHandleToIndex();
    ZUX_NO_EXPORT unsigned long ClampedIndex() const;

    boost::shared_ptr<CZuXPathNodeSetPrivate> m_pSet;
    unsigned long m_index;
    CZuXPathNodePtr m_item;
    boost::shared_ptr<CZuXPathNodePrivate> m_pItemBody; // the body of *m_item
};

#endif
