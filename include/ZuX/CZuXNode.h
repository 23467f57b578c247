// Node handles: one node of a document's tree.
#ifndef ZUX_CZUXNODE_H
#define ZUX_CZUXNODE_H

#include <ZuUtils/CTimeStamp.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <iterator>
#include <string>
#include <utility>

class CZuXNode;
class CZuXNodePrivate;
class CZuXAttributePrivate;
class CZuXDocument;
class CZuXPathNodeSet;

/// @file
/// CZuXNode and the pointer names CZuXNodePtr, CZuXNodePrivatePtr and CZuXPathNodeSetPtr.

typedef long long LONGLONG;           ///< the signed 64-bit type of the out-parameter reads
typedef unsigned long long ULONGLONG; ///< the unsigned 64-bit type of the out-parameter reads

typedef boost::shared_ptr<CZuXNode> CZuXNodePtr;               ///< a shared node handle
typedef boost::shared_ptr<CZuXNodePrivate> CZuXNodePrivatePtr; ///< a node body, to build handles from
typedef boost::shared_ptr<CZuXPathNodeSet> CZuXPathNodeSetPtr; ///< a shared XPath result

/// A handle on one node of a document (or on no node: an empty handle).
///
/// The handle holds a shared pointer to a body, and the body holds the node together with a
/// reference to its document, so the tree stays alive as long as any handle on it exists.
/// Handles built from one body pointer share it and move together; a copy made by the copy
/// constructor or by assignment gets a body of its own and moves alone. A handle on a node that
/// was removed (itself or a node above it), or made before its document was loaded again, is
/// empty from then on, whatever is created later in its place.
///
/// Threads: pointers to handles and bodies (CZuXNodePtr, CZuXNodePrivatePtr) may be copied and
/// released on any thread, as boost::shared_ptr allows. Everything else uses the document, which
/// one thread at a time may do: constructing, copying or assigning a handle reads its body, and
/// any call may rewrite a body that other handles share (a read brings it up to date after a
/// removal). The same holds for every handle class of this library.
///
/// Calls that return a CZuError never throw: memory that runs out gives Win32 14 (the records
/// that could be made are kept), and an out-parameter is then left as it was.
///
/// Typed attributes by name come in one family per type, each of three kinds:
/// - AttributeAs<Type>(name, fallback) reads the first attribute of that name, or gives the
///   fallback when it is missing or has no value; it never fails.
/// - GetAttributeAs<Type>(name, value) fails with Win32 1168 and "Attribute=[name]" when the node
///   has no such attribute (an empty handle has none), and then leaves `value` untouched; an
///   attribute without a value reads as 0, false, "" or the clear stamp. A string that cannot be
///   copied for lack of memory gives 14.
/// - SetAttribute<Type>(name, value) replaces the first attribute of that name in place, or
///   appends a new one last. It fails with 1168 and "Attribute=[name]" when the node takes no
///   attributes (only elements and the XML declaration do) or the name is not an XML 1.0 name in
///   valid UTF-8 (null and "" included), with 14 when pugixml runs out of memory; the tree is then
///   unchanged.
///
/// Names are compared byte for byte; a null name is a name no attribute has, and reads take any
/// name. The conversions are those of CZuXAttribute; each family below says what is particular to
/// its type.
class ZUX_EXPORT CZuXNode {
public:
    /// What a node is: see Kind(). Loads keep no other kinds (processing instructions and the
    /// document type are dropped).
    enum class NodeKind {
        None,        ///< an empty handle
        Document,    ///< the document node, above the root element
        Element,     ///< an element
        Text,        ///< text (PCDATA)
        CData,       ///< a CDATA section
        Comment,     ///< a comment (kept by LoadFromFile)
        Declaration, ///< the XML declaration (kept by LoadFromFile), named "xml"
    };
    class ChildIterator;
    class ChildRange;
    struct ChildEnd;

    /// An empty handle, attached to no document.
    CZuXNode();
    /// Shares the given body. An empty pointer gives an empty handle of its own.
    CZuXNode(CZuXNodePrivatePtr body);
    /// A new body on the same document and node as `other`.
    CZuXNode(CZuXNode& other);
    /// The same, from a const handle.
    CZuXNode(const CZuXNode& other);
    /// Replaces this handle's body by a new one on the same document and node as `other`.
    CZuXNode& operator=(CZuXNode& other);
    /// The same, from a const handle.
    CZuXNode& operator=(const CZuXNode& other);
    /// Releases the body; the tree lives on while other handles or bodies hold it.
    virtual ~CZuXNode();

    /// True when the handle is on a node.
    bool Exists() const;
    /// The node's name; "" for an empty handle and for text, CDATA and comment nodes.
    std::string Name() const;
    /// The node's kind; NodeKind::None for an empty handle.
    NodeKind Kind() const;
    /// True when the handle is on an element.
    bool IsElement() const;
    /// The node's own value: the text of a text or CDATA node, the content of a comment; "" for
    /// elements, the declaration, the document node and an empty handle.
    std::string Value() const;

    /// The names from the document node down to this node, each after a '/': "/catalog/shelf".
    /// A nameless node (text, comment) adds an empty name, so its path ends with '/'. "" for an
    /// empty handle.
    std::string Path() const;

    /// Moves to the next sibling with the same name; the handle becomes empty past the last
    /// one, and always from a node without a name. Moves the body, so every handle sharing it.
    CZuError MoveNext() const;
    /// Moves to the next sibling of any kind, or makes the handle empty.
    CZuError MoveNextSibling() const;
    /// Moves to the previous sibling of any kind, or makes the handle empty.
    CZuError MovePreviousSibling() const;

    /// A new body on the first child of any kind, or on no node.
    CZuXNodePrivatePtr GetFirstNode();
    /// A new body on the first child of that name, or on no node (also for a null name).
    CZuXNodePrivatePtr GetNode(const char* name);
    /// The same on a const handle.
    CZuXNodePrivatePtr GetNode(const char* name) const;
    /// A new attribute body on the node's first attribute, or on no attribute.
    boost::shared_ptr<CZuXAttributePrivate> GetFirstAttribute();
    /// A new body on the node's parent; no node for the document node and an empty handle.
    CZuXNodePrivatePtr GetParent() const;
    /// The children of any kind, for range-for: `for (CZuXNode& child : node.Children())`. See
    /// ChildIterator for what a loop may change while it runs.
    ChildRange Children() const;

    /// The node's text: for an element its first text or CDATA child, for a text or CDATA node
    /// its own value, otherwise "" (a comment's content is its Value()). Fails only with 14,
    /// when `text` cannot grow to hold it.
    CZuError GetText(std::string& text);
    /// The same on a const handle.
    CZuError GetText(std::string& text) const;
    /// Stores the text (up to its first NUL character) in the node's text: an element without
    /// one gets a new text child at the end. Fails with Win32 1168 when the handle is empty or
    /// the node cannot hold text (comment, declaration, the document node, whose text a save and
    /// a load would not keep), 14 when pugixml runs out of memory.
    CZuError SetText(const std::string& text);

    /// A new body on a new child element of that name, placed last; no node when this node is
    /// empty or takes no children (only elements and the document node do), or when the name is
    /// not an XML 1.0 name in valid UTF-8 (null and "" included).
    CZuXNodePrivatePtr AppendNode(const char* name);
    /// The same, placed first.
    CZuXNodePrivatePtr PrependNode(const char* name);
    /// The same, placed right after `reference`; no node unless `reference` is a child of this node.
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference);
    /// The same, placed right before `reference`.
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference);
    /// InsertNodeAfter with the handle's body as the reference.
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, const CZuXNode& reference);
    /// InsertNodeBefore with the handle's body as the reference.
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, const CZuXNode& reference);

    /// Appends a deep copy of `source` (from any document) as the last child. Fails with Win32
    /// 1168 when pugixml refuses the copy (empty or document source, declaration below an
    /// element, this node empty or taking no children), 14 when it runs out of memory.
    CZuError AppendNodeCopy(CZuXNodePtr source);
    /// The same, as the first child.
    CZuError PrependNodeCopy(CZuXNodePtr source);
    /// The same, right after `reference`, which must be a child of this node.
    CZuError InsertNodeCopyAfter(CZuXNodePtr source, CZuXNodePtr reference);
    /// The same, right before `reference`.
    CZuError InsertNodeCopyBefore(CZuXNodePtr source, CZuXNodePtr reference);
    /// AppendNodeCopy from a handle.
    CZuError AppendNodeCopy(const CZuXNode& source);
    /// PrependNodeCopy from a handle.
    CZuError PrependNodeCopy(const CZuXNode& source);
    /// InsertNodeCopyAfter with handles.
    CZuError InsertNodeCopyAfter(const CZuXNode& source, const CZuXNode& reference);
    /// InsertNodeCopyBefore with handles.
    CZuError InsertNodeCopyBefore(const CZuXNode& source, const CZuXNode& reference);

    /// Removes a child with everything below it. Fails with Win32 1168 unless it is a direct
    /// child of this node, with 14 when the memory to record the removal cannot be had (nothing is
    /// removed then). Every handle on a removed node or attribute is empty afterwards.
    CZuError RemoveNode(CZuXNodePtr child);
    /// The same, with the child's body.
    CZuError RemoveNode(CZuXNodePrivatePtr child);
    /// The same, with the child's handle.
    CZuError RemoveNode(const CZuXNode& child);
    /// Removes the first child of that name; fails with 1168 (or 14, as above) and "NodeName=[name]".
    /// A name holding a NUL character matches nothing (it is not cut at the NUL).
    CZuError RemoveNode(const std::string& name);
    /// Removes the first attribute of that name; fails with 1168 (or 14) and "AttributeName=[name]".
    /// A name holding a NUL character matches nothing. Handles on the attribute are empty afterwards.
    CZuError RemoveAttribute(const std::string& name);
    /// Removes this node from its parent; the handle is empty afterwards. Fails with 1168 for an
    /// empty handle or a node without parent.
    CZuError RemoveFromParent();

    /// True when the node has an attribute of that name (compared byte for byte).
    bool AttributeExists(const char* name) const;

    /// Evaluates an XPath 1.0 expression with this node as the context node, as
    /// CZuXDocument::SelectNodes does from the document node: relative paths start here, "/" and
    /// "//" at the document. The same results and failures; an empty handle selects nothing.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) const;

    /// @name Attributes as BOOL
    ///@{

    /// True for text that starts with 1, t, T, y or Y (pugixml's reading); written as "true" or "false".
    bool AttributeAsBOOL(const char* name, bool fallback) const;
    CZuError GetAttributeAsBOOL(const char* name, bool& value) const;
    CZuError SetAttributeBOOL(const char* name, bool value);
    ///@}

    /// @name Attributes as DOUBLE
    ///@{

    /// Written with "%.17g" and read back the same whatever the process locale.
    double AttributeAsDOUBLE(const char* name, double fallback) const;
    CZuError GetAttributeAsDOUBLE(const char* name, double& value) const;
    CZuError SetAttributeDOUBLE(const char* name, double value);
    ///@}

    /// @name Attributes as INT
    ///@{

    /// A signed 32-bit integer, written as decimal text.
    int AttributeAsINT(const char* name, int fallback) const;
    CZuError GetAttributeAsINT(const char* name, int& value) const;
    CZuError SetAttributeINT(const char* name, int value);
    ///@}

    /// @name Attributes as UINT
    ///@{

    /// An unsigned 32-bit integer, written as decimal text.
    unsigned int AttributeAsUINT(const char* name, unsigned int fallback) const;
    CZuError GetAttributeAsUINT(const char* name, unsigned int& value) const;
    CZuError SetAttributeUINT(const char* name, unsigned int value);
    ///@}

    /// @name Attributes as LONGLONG
    ///@{

    /// A signed 64-bit integer, written as decimal text.
    long long AttributeAsLONGLONG(const char* name, long long fallback) const;
    CZuError GetAttributeAsLONGLONG(const char* name, LONGLONG& value) const;
    CZuError SetAttributeLONGLONG(const char* name, long long value);
    ///@}

    /// @name Attributes as ULONGLONG
    ///@{

    /// An unsigned 64-bit integer, written as decimal text (up to twenty digits).
    unsigned long long AttributeAsULONGLONG(const char* name, unsigned long long fallback) const;
    CZuError GetAttributeAsULONGLONG(const char* name, ULONGLONG& value) const;
    CZuError SetAttributeULONGLONG(const char* name, unsigned long long value);
    ///@}

    /// @name Attributes as String
    ///@{

    /// The text itself; written up to its first NUL character, and "" leaves the attribute without a
    /// value. Without a fallback, "" stands in for it.
    std::string AttributeAsString(const char* name) const;
    std::string AttributeAsString(const char* name, const std::string& fallback) const;
    CZuError GetAttributeAsString(const char* name, std::string& value) const;
    CZuError SetAttributeString(const char* name, const std::string& value);
    ///@}

    /// @name Attributes as TimeStamp
    ///@{

    /// A stamp written as decimal system time; without a fallback, the clear stamp stands in for it.
    CTimeStamp AttributeAsTimeStamp(const char* name) const;
    CTimeStamp AttributeAsTimeStamp(const char* name, CTimeStamp fallback) const;
    CZuError GetAttributeAsTimeStamp(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeTimeStamp(const char* name, CTimeStamp value);
    ///@}

    /// @name Attributes as TimeStampUnixTime
    ///@{

    /// A stamp written as whole seconds since 1970 in decimal: the sub-second part is dropped toward
    /// 1970, the text 0 reads as the clear stamp, and a fallback goes through the same conversion
    /// (cut to whole seconds). Without a fallback, the clear stamp stands in for it.
    CTimeStamp AttributeAsTimeStampUnixTime(const char* name) const;
    CTimeStamp AttributeAsTimeStampUnixTime(const char* name, CTimeStamp fallback) const;
    CZuError GetAttributeAsTimeStampUnixTime(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeTimeStampUnixTime(const char* name, CTimeStamp value);
    ///@}

    /// @name Strict reads
    ///@{

    /// The first attribute of that name, read only when its text is entirely one value of the
    /// type (the rules are CZuXAttribute::Parse's); on success `value` is what AttributeAs<Type>
    /// gives. Fails with Win32 1168 and "Attribute=[name]" when there is no such attribute, with
    /// 13 and "Attribute=[name], Value=[text]" when the text is malformed or out of range;
    /// `value` is then untouched.
    CZuError ParseAttribute(const char* name, bool& value) const;
    CZuError ParseAttribute(const char* name, double& value) const;
    CZuError ParseAttribute(const char* name, int& value) const;
    CZuError ParseAttribute(const char* name, unsigned int& value) const;
    CZuError ParseAttribute(const char* name, long long& value) const;
    CZuError ParseAttribute(const char* name, unsigned long long& value) const;
    ///@}

    /// The body of the handle `node` points to (not a copy of it). The object called on is not
    /// used. A null `node` gives a new empty body, never a null pointer.
    CZuXNodePrivatePtr GetPrivate(CZuXNodePtr node);

private:
    friend class CZuXDocument;

    // The handle's own body pointer; for the library's operations only.
    ZUX_NO_EXPORT CZuXNodePrivatePtr GetPrivate();

    CZuXNodePrivatePtr m_pPrivate;
};

/// Where a walk over the children ends: the iterator's handle is empty.
struct CZuXNode::ChildEnd {};

/// Walks the children of one node, for range-for. The iterator holds a handle of its own and moves
/// it along the children, as MoveNextSibling does: a loop allocates two bodies when it starts and
/// nothing per step. Dereferencing gives that handle, which the next step moves; copy it to keep a
/// child. After each step the walk goes on from where the handle is then, so children inserted
/// right after the current one are visited. When the step removed the current child (or made the
/// handle empty), the walk goes on with the child that followed it before the step; when it also
/// removed that one, the walk ends there.
class ZUX_EXPORT CZuXNode::ChildIterator {
public:
    typedef std::input_iterator_tag iterator_category; ///< walked once, forward
    typedef CZuXNode value_type;                       ///< a node handle
    typedef std::ptrdiff_t difference_type;            ///< unused: the end is a ChildEnd
    typedef CZuXNode* pointer;                         ///< the iterator's own handle
    typedef CZuXNode& reference;                       ///< the iterator's own handle

    /// The handle on the current child.
    CZuXNode& operator*() { return m_child; }
    /// The same, for member access.
    CZuXNode* operator->() { return &m_child; }
    /// Moves to the next child, as described above.
    ChildIterator& operator++();
    /// True when the walk is over.
    bool operator==(const ChildEnd&) const { return !m_child.Exists(); }
    /// True while there is a current child.
    bool operator!=(const ChildEnd&) const { return m_child.Exists(); }

private:
    friend class CZuXNode::ChildRange;
    ZUX_NO_EXPORT explicit ChildIterator(const CZuXNodePrivatePtr& parent);

    CZuXNode m_child;
    CZuXNode m_next; // the child that followed m_child when it was handed out
};

/// The children of one node, as Children() gives them. It shares the body of the handle it came
/// from, which keeps the tree alive, so a temporary handle can give it.
class ZUX_EXPORT CZuXNode::ChildRange {
public:
    /// A walk from the first child.
    ChildIterator begin() const;
    /// The end of every walk.
    ChildEnd end() const { return ChildEnd(); }

private:
    friend class CZuXNode;
    explicit ChildRange(CZuXNodePrivatePtr parent) : m_pParent(std::move(parent)) {}

    CZuXNodePrivatePtr m_pParent;
};

#endif
