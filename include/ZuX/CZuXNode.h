// Node handles: one node of a document's tree.
#ifndef ZUX_CZUXNODE_H
#define ZUX_CZUXNODE_H

#include <ZuUtils/CTimeStamp.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/BZuXFormat.h>
#include <ZuX/CZuXAttribute.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <iosfwd>
#include <iterator>
#include <string>
#include <utility>

class CZuXNode;
class CZuXNodePrivate;
class CZuXAttributePrivate;
class CZuXDocument;
class CZuXPathNode;
class CZuXPathNodeSet;
class CZuXPathQuery;

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
///
/// The time-stamp families TimeStamp and TimeStampUnixTime read and write bare numbers (ticks, or
/// seconds since 1970): an ISO 8601 text such as 2024-03-01T10:00:00Z reads there as 2024, a small
/// number, with success. Dates people write are read and written by the ISO 8601 family.
class ZUX_EXPORT CZuXNode {
public:
    /// What a node is: see Kind(). Processing instructions and the document type are kept by a
    /// load only when its BZuXLoad asks for them.
    enum class NodeKind {
        None,                  ///< an empty handle
        Document,              ///< the document node, above the root element
        Element,               ///< an element
        Text,                  ///< text (PCDATA)
        CData,                 ///< a CDATA section
        Comment,               ///< a comment (kept by LoadFromFile)
        Declaration,           ///< the XML declaration (kept by LoadFromFile), named "xml"
        ProcessingInstruction, ///< `<?target content?>`: Name() is the target, Value() the content
        DocType,               ///< `<!DOCTYPE ...>`: Value() is the text between "<!DOCTYPE " and ">"
    };
    class ChildIterator;
    class ChildRange;
    struct ChildEnd;
    class AttributeIterator;
    class AttributeRange;
    struct AttributeEnd;

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
    /// The node's own value: the text of a text or CDATA node, the content of a comment or of a
    /// processing instruction, the text of a document type; "" for elements, the declaration, the
    /// document node and an empty handle.
    std::string Value() const;

    /// Replaces the node's own value (see Value()). Fails with Win32 1168 for an empty handle and
    /// for elements, the declaration (its content is its attributes) and the document node; with
    /// 13 and "Value=[value]" for a value that would not load back as it is: one holding a NUL
    /// character, a comment holding "--" or ending in '-', a processing instruction holding "?>"
    /// or starting with white space, a document type that would be read back otherwise (a '>'
    /// outside quotes and markup declarations, an unclosed quote) or starts with white space; with
    /// 14 when pugixml runs out of memory. A CDATA value holding "]]>" is stored, and written as
    /// two sections. On failure the node is unchanged.
    CZuError SetValue(const std::string& value);
    /// Renames an element, or a processing instruction (its target). Fails with Win32 1168 and
    /// "NodeName=[name]" for other kinds, an empty handle, and a name that is not an XML 1.0 name in
    /// valid UTF-8 (null and "" included) or, for a processing instruction, is "xml" in any letter
    /// case; with 14 when pugixml runs out of memory. On failure the node keeps its name.
    CZuError SetName(const char* name);

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
    /// The attributes, for range-for: `for (CZuXAttribute& attribute : node.Attributes())`, as
    /// Children() walks the children. Nothing for a node without attributes and an empty handle.
    AttributeRange Attributes() const;
    /// The text of the first child element of that name (GetText of it); "" when there is none.
    std::string ChildText(const char* name) const;
    /// A new body on the first child element of that name whose first attribute named `attribute`
    /// has exactly that value, or on no node. A value holding a NUL character matches nothing.
    CZuXNodePrivatePtr FindChild(const char* name, const char* attribute, const std::string& value) const;

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
    /// @name New nodes of any kind but elements
    ///@{

    /// A new body on a new, empty node of that kind, placed as the name forms place an element; no
    /// node when the kind cannot stand there. Below an element: Text, CData, Comment and
    /// ProcessingInstruction; below the document node: Comment, ProcessingInstruction, and
    /// Declaration (only as the first node, when there is none) and DocType (when there is none,
    /// before every element); nothing before a declaration. Element (use the name forms),
    /// Document and None are never made. Fill the node with SetValue and SetName; a processing
    /// instruction saved without a name is written with the target ":anonymous", as pugixml names
    /// nameless nodes.
    CZuXNodePrivatePtr AppendNode(NodeKind kind);
    CZuXNodePrivatePtr PrependNode(NodeKind kind);
    CZuXNodePrivatePtr InsertNodeAfter(NodeKind kind, const CZuXNode& reference);
    CZuXNodePrivatePtr InsertNodeBefore(NodeKind kind, const CZuXNode& reference);
    ///@}

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

    /// @name Writing the node out
    ///@{

    /// The node and everything below it as UTF-8 text, with the indentation string (once per level
    /// below the node) and the format bits as the document's saves take them; no declaration is
    /// added, and none but a declaration node itself is written. The document node gives every
    /// top-level node. SaveAsString replaces `output` only on success. Fail with Win32 1168 for an
    /// empty handle, 14 when memory runs out; SaveToStream with 774 when the stream fails (what was
    /// written stays in it, and a stream that throws on failure is answered the same).
    CZuError SaveAsString(std::string& output, const std::string& indent, BZuXFormat format) const;
    CZuError SaveToStream(std::ostream& out, const std::string& indent, BZuXFormat format);
    ///@}

    /// Evaluates an XPath 1.0 expression with this node as the context node, as
    /// CZuXDocument::SelectNodes does from the document node: relative paths start here, "/" and
    /// "//" at the document. The same results and failures; an empty handle selects nothing.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) const;

    /// @name XPath: compiled queries, first matches, typed results
    ///@{

    /// CZuXDocument's forms of the same names, with this node as the context node; an empty
    /// handle selects nothing. EvaluateXPath with a text gives the string value too.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const CZuXPathQuery& query) const;
    CZuError SelectNode(boost::shared_ptr<CZuXPathNode>& node, const std::string& query) const;
    CZuError SelectNode(boost::shared_ptr<CZuXPathNode>& node, const CZuXPathQuery& query) const;
    CZuError EvaluateXPath(double& value, const std::string& query) const;
    CZuError EvaluateXPath(bool& value, const std::string& query) const;
    CZuError EvaluateXPath(std::string& value, const std::string& query) const;
    CZuError EvaluateXPath(double& value, const CZuXPathQuery& query) const;
    CZuError EvaluateXPath(bool& value, const CZuXPathQuery& query) const;
    CZuError EvaluateXPath(std::string& value, const CZuXPathQuery& query) const;
    ///@}

    /// @name Namespaces
    ///@{

    /// The parts of the node's name and the namespace it is in: the part after the first colon
    /// (the whole name without one), the part before it, and the URI the prefix, or for a name
    /// without one the default namespace, is declared with by the nearest `xmlns` declaration on
    /// the element or an ancestor. "" where there is none: an empty handle, a node without a
    /// name, an undeclared prefix, a node other than an element (NamespaceUri). `xml:` is the XML
    /// namespace and `xmlns:` that of the declarations, declared or not.
    std::string LocalName() const;
    std::string Prefix() const;
    std::string NamespaceUri() const;
    ///@}

    /// Where the node starts in the text it was loaded from (its '<'; a text node's first
    /// character): lines and columns from 1, columns counting characters of the input in its own
    /// encoding (a tab is one). Asked of a document loaded from a file, the first position reads
    /// the file again (unless the load kept positions): a file changed since gives none. Fails with
    /// Win32 1168, `line` and `column` untouched, for an empty handle, the document node, a node
    /// the program made, copied from another document or renamed to a longer name (a node copied
    /// within its document gives its source's position), and for a document loaded from a string
    /// without BZuXLoad::KeepPositions; 14 when memory runs out. Edits elsewhere never move it.
    CZuError GetSourcePosition(unsigned long& line, unsigned long& column) const;

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

    /// @name Attributes as ISO 8601 time stamps
    ///@{

    /// A stamp as CTimeStamp::AsIso8601 writes it ("2026-12-07T10:28:49.1234567Z"); the read takes
    /// what CTimeStamp::FromIso8601 takes, offsets included. The read fails with Win32 1168 and
    /// "Attribute=[name]" when there is no such attribute, with 13 and
    /// "Attribute=[name], Value=[text]" for any other text; `value` is then untouched.
    CZuError GetAttributeAsIso8601(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeIso8601(const char* name, CTimeStamp value);
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
    /// The TimeStamp form: a decimal or hexadecimal count of ticks as for long long; a date such as
    /// 2024-03-01T10:00:00Z is malformed here (see the ISO 8601 family).
    CZuError ParseAttribute(const char* name, CTimeStamp& value) const;
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
    friend class CZuXDocument;
    explicit ChildRange(CZuXNodePrivatePtr parent) : m_pParent(std::move(parent)) {}

    CZuXNodePrivatePtr m_pParent;
};

/// Where a walk over the attributes ends: the iterator's handle is empty.
struct CZuXNode::AttributeEnd {};

/// Walks the attributes of one node, for range-for, as ChildIterator walks the children: a handle
/// of its own, moved as CZuXAttribute::MoveNext moves; two bodies when the loop starts and nothing
/// per step. When a step removed the current attribute, the walk goes on with the one that
/// followed it before the step.
class ZUX_EXPORT CZuXNode::AttributeIterator {
public:
    typedef std::input_iterator_tag iterator_category; ///< walked once, forward
    typedef CZuXAttribute value_type;                  ///< an attribute handle
    typedef std::ptrdiff_t difference_type;            ///< unused: the end is an AttributeEnd
    typedef CZuXAttribute* pointer;                    ///< the iterator's own handle
    typedef CZuXAttribute& reference;                  ///< the iterator's own handle

    /// The handle on the current attribute.
    CZuXAttribute& operator*() { return m_attribute; }
    /// The same, for member access.
    CZuXAttribute* operator->() { return &m_attribute; }
    /// Moves to the next attribute, as described above.
    AttributeIterator& operator++();
    /// True when the walk is over.
    bool operator==(const AttributeEnd&) const { return !m_attribute.Exists(); }
    /// True while there is a current attribute.
    bool operator!=(const AttributeEnd&) const { return m_attribute.Exists(); }

private:
    friend class CZuXNode::AttributeRange;
    ZUX_NO_EXPORT explicit AttributeIterator(const CZuXNodePrivatePtr& element);

    CZuXAttribute m_attribute;
    CZuXAttribute m_next; // the attribute that followed m_attribute when it was handed out
};

/// The attributes of one node, as Attributes() gives them; it keeps the tree alive as ChildRange
/// does.
class ZUX_EXPORT CZuXNode::AttributeRange {
public:
    /// A walk from the first attribute.
    AttributeIterator begin() const;
    /// The end of every walk.
    AttributeEnd end() const { return AttributeEnd(); }

private:
    friend class CZuXNode;
    explicit AttributeRange(CZuXNodePrivatePtr element) : m_pElement(std::move(element)) {}

    CZuXNodePrivatePtr m_pElement;
};

#endif
