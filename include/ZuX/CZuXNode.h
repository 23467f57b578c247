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

/// A handle on one node of a document, or on none (an empty handle).
///
/// The handle holds a body, and the body holds the node and keeps its document's tree alive.
/// Handles built from one body pointer share it and move together; a copy (constructor or
/// assignment) gets a body of its own and moves alone. A handle on a node that was removed (itself
/// or a node above it), or made before its document was loaded again, is empty from then on,
/// whatever is created later in its place.
///
/// Threads: pointers to handles and bodies (CZuXNodePtr, CZuXNodePrivatePtr) may be copied and
/// released on any thread. Everything else uses the document, which one thread at a time may do:
/// constructing, copying or assigning a handle reads its body, and any call may rewrite a body that
/// other handles share. The same holds for every handle class of this library.
///
/// Failures: calls that return a CZuError never throw, and leave the tree and their out-parameters
/// as they were when they fail. Win32 1168: no node, child or attribute to act on (an empty handle
/// has none), or the node or name cannot take the call; 13: a value that is malformed or would not
/// load back as it is; 14: memory ran out (the records that could be made are kept). Names are
/// compared byte for byte, and a null name is a name no item has; a name to be stored must be an
/// XML 1.0 name in valid UTF-8 (null and "" are not), or the call fails (1168) or makes no node.
///
/// Typed attributes by name come in one family per type, each of three kinds:
/// - AttributeAs<Type>(name, fallback): the first attribute of that name, or the fallback when
///   there is none or it has no value; never fails.
/// - GetAttributeAs<Type>(name, value): 1168 with "Attribute=[name]" when there is no such
///   attribute; one without a value reads as 0, false, "" or the clear stamp.
/// - SetAttribute<Type>(name, value): replaces the first attribute of that name in place, or
///   appends one last; 1168 with "Attribute=[name]" when the node takes no attributes (only
///   elements and the XML declaration do) or the name cannot be stored.
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

    /// An empty handle; a handle sharing `body` (an empty pointer gives an empty handle of its own);
    /// a new body on the node of `other`, made by copying or assigning it. The destructor releases
    /// the body; the tree lives on while other handles or bodies hold it.
    ///@{
    CZuXNode();
    CZuXNode(CZuXNodePrivatePtr body);
    CZuXNode(CZuXNode& other);
    CZuXNode(const CZuXNode& other);
    CZuXNode& operator=(CZuXNode& other);
    CZuXNode& operator=(const CZuXNode& other);
    virtual ~CZuXNode();
    ///@}

    /// Whether the handle is on a node; its name ("" for an empty handle, text, CDATA and comments);
    /// its kind (None for an empty handle); whether it is an element; its own value: the text of a
    /// text or CDATA node, the content of a comment or a processing instruction, the text of a
    /// document type, and "" for the other kinds.
    ///@{
    bool Exists() const;
    std::string Name() const;
    NodeKind Kind() const;
    bool IsElement() const;
    std::string Value() const;
    ///@}

    /// Replaces the node's own value (see Value()). 1168 for elements, the declaration (its content
    /// is its attributes) and the document node; 13 with "Value=[value]" for a value that would not
    /// load back as it is: one holding a NUL character, a comment holding "--" or ending in '-', a
    /// processing instruction holding "?>" or starting with white space, a document type that would
    /// be read back otherwise (a '>' outside quotes and markup declarations, an unclosed quote) or
    /// starts with white space. A CDATA value holding "]]>" is stored, and written as two sections.
    CZuError SetValue(const std::string& value);
    /// Renames an element, or a processing instruction (its target). 1168 with "NodeName=[name]" for
    /// other kinds, for a name that cannot be stored and, for a processing instruction, for "xml" in
    /// any letter case.
    CZuError SetName(const char* name);

    /// The names from the document node down to this node, each after a '/': "/catalog/shelf". A
    /// nameless node (text, comment) adds an empty name, so its path ends with '/'. "" when empty.
    std::string Path() const;

    /// Move the body, so every handle sharing it: to the next sibling of the same name, to the next
    /// or to the previous sibling of any kind. Past the end, and for MoveNext always from a node
    /// without a name, the handle becomes empty. They always succeed.
    ///@{
    CZuError MoveNext() const;
    CZuError MoveNextSibling() const;
    CZuError MovePreviousSibling() const;
    ///@}

    /// New bodies: on the first child of any kind, on the first child of that name, on the first
    /// attribute, on the parent (none for the document node); on no item where there is none.
    ///@{
    CZuXNodePrivatePtr GetFirstNode();
    CZuXNodePrivatePtr GetNode(const char* name);
    CZuXNodePrivatePtr GetNode(const char* name) const;
    boost::shared_ptr<CZuXAttributePrivate> GetFirstAttribute();
    CZuXNodePrivatePtr GetParent() const;
    ///@}
    /// The children of any kind and the attributes, for range-for:
    /// `for (CZuXNode& child : node.Children())`, `for (CZuXAttribute& attribute : node.Attributes())`.
    /// See ChildIterator for what a loop may change while it runs.
    ///@{
    ChildRange Children() const;
    AttributeRange Attributes() const;
    ///@}
    /// The text of the first child element of that name (its GetText); "" when there is none.
    std::string ChildText(const char* name) const;
    /// A new body on the first child element of that name whose first attribute named `attribute`
    /// has exactly that value, or on no node. A value holding a NUL character matches nothing.
    CZuXNodePrivatePtr FindChild(const char* name, const char* attribute, const std::string& value) const;

    /// The node's text: for an element its first text or CDATA child, for a text or CDATA node its
    /// own value, otherwise "" (a comment's content is its Value()). Fails only with 14.
    ///@{
    CZuError GetText(std::string& text);
    CZuError GetText(std::string& text) const;
    ///@}
    /// Stores the text, up to its first NUL character; an element without one gets a new text
    /// child at the end. 1168 for a node that holds no text: a comment, the declaration, the
    /// document node (whose text a save and a load would not keep).
    CZuError SetText(const std::string& text);

    /// A new body on a new child element of that name: last, first, or right after or before
    /// `reference`, given as a body or a handle. No node when this node takes no children (only
    /// elements and the document node do), the name cannot be stored, or `reference` is not a child
    /// of this node.
    ///@{
    CZuXNodePrivatePtr AppendNode(const char* name);
    CZuXNodePrivatePtr PrependNode(const char* name);
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference);
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference);
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, const CZuXNode& reference);
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, const CZuXNode& reference);
    ///@}
    /// The same with a new, empty node of `kind`, where that kind can stand. Below an element:
    /// Text, CData, Comment and ProcessingInstruction; below the document node: Comment,
    /// ProcessingInstruction, and Declaration (only first, when there is none) and DocType (when
    /// there is none, before every element); nothing before a declaration. Element (use the name
    /// forms), Document and None are never made. Fill the node with SetValue and SetName; a
    /// processing instruction saved without a name is written with the target ":anonymous".
    ///@{
    CZuXNodePrivatePtr AppendNode(NodeKind kind);
    CZuXNodePrivatePtr PrependNode(NodeKind kind);
    CZuXNodePrivatePtr InsertNodeAfter(NodeKind kind, const CZuXNode& reference);
    CZuXNodePrivatePtr InsertNodeBefore(NodeKind kind, const CZuXNode& reference);
    ///@}

    /// A deep copy of `source`, from any document, placed as the new nodes are. 1168 when pugixml
    /// refuses the copy: an empty or document source, a declaration below an element, this node
    /// empty or taking no children, `reference` not a child of this node. A copy that runs short of
    /// memory is taken back (14).
    ///@{
    CZuError AppendNodeCopy(CZuXNodePtr source);
    CZuError PrependNodeCopy(CZuXNodePtr source);
    CZuError InsertNodeCopyAfter(CZuXNodePtr source, CZuXNodePtr reference);
    CZuError InsertNodeCopyBefore(CZuXNodePtr source, CZuXNodePtr reference);
    CZuError AppendNodeCopy(const CZuXNode& source);
    CZuError PrependNodeCopy(const CZuXNode& source);
    CZuError InsertNodeCopyAfter(const CZuXNode& source, const CZuXNode& reference);
    CZuError InsertNodeCopyBefore(const CZuXNode& source, const CZuXNode& reference);
    ///@}

    /// Removes a direct child, with everything below it, given as a pointer, a body or a handle, or
    /// the first child of that name ("NodeName=[name]"); RemoveAttribute the first attribute of that
    /// name ("AttributeName=[name]"). 1168 when there is no such child or attribute; 14, with nothing
    /// removed, when the memory to record the removal cannot be had. Every handle on a removed node
    /// or attribute is empty afterwards. A name holding a NUL character matches nothing.
    ///@{
    CZuError RemoveNode(CZuXNodePtr child);
    CZuError RemoveNode(CZuXNodePrivatePtr child);
    CZuError RemoveNode(const CZuXNode& child);
    CZuError RemoveNode(const std::string& name);
    CZuError RemoveAttribute(const std::string& name);
    ///@}
    /// Removes this node from its parent, as above; the handle is empty afterwards. 1168 for a node
    /// without parent.
    CZuError RemoveFromParent();

    /// Whether the node has an attribute of that name.
    bool AttributeExists(const char* name) const;

    /// The node and everything below it as UTF-8 text, with the indentation string (once per level
    /// below the node) and the format bits as the document's saves take them; no declaration is
    /// added, and none but a declaration node itself is written. The document node gives every
    /// top-level node. SaveAsString replaces `output` only on success; SaveToStream fails with 774
    /// when the stream fails or throws, and what was written stays in it.
    ///@{
    CZuError SaveAsString(std::string& output, const std::string& indent, BZuXFormat format) const;
    CZuError SaveToStream(std::ostream& out, const std::string& indent, BZuXFormat format);
    ///@}

    /// CZuXDocument's XPath calls of the same names, with this node as the context node: relative
    /// paths start here, "/" and "//" at the document; the same results and failures. An empty
    /// handle selects nothing.
    ///@{
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) const;
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

    /// The parts of the node's name and the namespace it is in: the part after the first colon
    /// (the whole name without one), the part before it, and the URI the prefix, or for a name
    /// without one the default namespace, is declared with by the nearest `xmlns` declaration on
    /// the element or an ancestor. "" where there is none: an empty handle, a node without a
    /// name, an undeclared prefix, a node other than an element (NamespaceUri). `xml:` is the XML
    /// namespace and `xmlns:` that of the declarations, declared or not.
    ///@{
    std::string LocalName() const;
    std::string Prefix() const;
    std::string NamespaceUri() const;
    ///@}

    /// Where the node starts in the text it was loaded from (its '<'; a text node's first
    /// character): lines and columns from 1, columns counting characters of the input in its own
    /// encoding (a tab is one). Asked of a document loaded from a file, the first position reads
    /// the file again (unless the load kept positions): a file changed since gives none. 1168 for
    /// an empty handle, the document node, a node the program made, copied from another document or
    /// renamed to a longer name (a node copied within its document gives its source's position),
    /// and for a document loaded from a string without BZuXLoad::KeepPositions. Edits elsewhere
    /// never move it.
    CZuError GetSourcePosition(unsigned long& line, unsigned long& column) const;

    /// @name Typed attributes by name
    ///@{

    /// The families of the class comment, with CZuXAttribute's conversions:
    /// - BOOL: true for text that starts with 1, t, T, y or Y (pugixml's reading); written as
    ///   "true" or "false".
    /// - DOUBLE: written with "%.17g" and read back the same whatever the process locale.
    /// - INT, UINT, LONGLONG, ULONGLONG: signed and unsigned 32- and 64-bit integers as decimal text.
    /// - String: the text itself, written up to its first NUL character; "" leaves the attribute
    ///   without a value.
    /// - TimeStamp: decimal system time. TimeStampUnixTime: whole seconds since 1970 in decimal, the
    ///   sub-second part dropped toward 1970; the text 0 reads as the clear stamp, and a fallback
    ///   goes through the same conversion.
    ///
    /// The forms without a fallback read "" or the clear stamp in its place.
    bool AttributeAsBOOL(const char* name, bool fallback) const;
    CZuError GetAttributeAsBOOL(const char* name, bool& value) const;
    CZuError SetAttributeBOOL(const char* name, bool value);
    double AttributeAsDOUBLE(const char* name, double fallback) const;
    CZuError GetAttributeAsDOUBLE(const char* name, double& value) const;
    CZuError SetAttributeDOUBLE(const char* name, double value);
    int AttributeAsINT(const char* name, int fallback) const;
    CZuError GetAttributeAsINT(const char* name, int& value) const;
    CZuError SetAttributeINT(const char* name, int value);
    unsigned int AttributeAsUINT(const char* name, unsigned int fallback) const;
    CZuError GetAttributeAsUINT(const char* name, unsigned int& value) const;
    CZuError SetAttributeUINT(const char* name, unsigned int value);
    long long AttributeAsLONGLONG(const char* name, long long fallback) const;
    CZuError GetAttributeAsLONGLONG(const char* name, LONGLONG& value) const;
    CZuError SetAttributeLONGLONG(const char* name, long long value);
    unsigned long long AttributeAsULONGLONG(const char* name, unsigned long long fallback) const;
    CZuError GetAttributeAsULONGLONG(const char* name, ULONGLONG& value) const;
    CZuError SetAttributeULONGLONG(const char* name, unsigned long long value);
    std::string AttributeAsString(const char* name) const;
    std::string AttributeAsString(const char* name, const std::string& fallback) const;
    CZuError GetAttributeAsString(const char* name, std::string& value) const;
    CZuError SetAttributeString(const char* name, const std::string& value);
    CTimeStamp AttributeAsTimeStamp(const char* name) const;
    CTimeStamp AttributeAsTimeStamp(const char* name, CTimeStamp fallback) const;
    CZuError GetAttributeAsTimeStamp(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeTimeStamp(const char* name, CTimeStamp value);
    CTimeStamp AttributeAsTimeStampUnixTime(const char* name) const;
    CTimeStamp AttributeAsTimeStampUnixTime(const char* name, CTimeStamp fallback) const;
    CZuError GetAttributeAsTimeStampUnixTime(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeTimeStampUnixTime(const char* name, CTimeStamp value);
    ///@}

    /// A stamp as CTimeStamp::AsIso8601 writes it ("2026-12-07T10:28:49.1234567Z"); the read takes
    /// what CTimeStamp::FromIso8601 takes, offsets included, and fails with 1168 and
    /// "Attribute=[name]" when there is no such attribute, with 13 and
    /// "Attribute=[name], Value=[text]" for any other text.
    ///@{
    CZuError GetAttributeAsIso8601(const char* name, CTimeStamp& value) const;
    CZuError SetAttributeIso8601(const char* name, CTimeStamp value);
    ///@}

    /// The first attribute of that name, read only when its text is entirely one value of the type
    /// (the rules are CZuXAttribute::Parse's); on success `value` is what AttributeAs<Type> gives.
    /// 1168 and "Attribute=[name]" when there is no such attribute, 13 and
    /// "Attribute=[name], Value=[text]" when the text is malformed or out of range. The TimeStamp
    /// form reads a count of ticks as long long does: a date such as 2024-03-01T10:00:00Z is
    /// malformed there (see the ISO 8601 family).
    ///@{
    CZuError ParseAttribute(const char* name, bool& value) const;
    CZuError ParseAttribute(const char* name, double& value) const;
    CZuError ParseAttribute(const char* name, int& value) const;
    CZuError ParseAttribute(const char* name, unsigned int& value) const;
    CZuError ParseAttribute(const char* name, long long& value) const;
    CZuError ParseAttribute(const char* name, unsigned long long& value) const;
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

    /// The handle on the current child; the step to the next, as described above; whether the walk
    /// is over.
    ///@{
    CZuXNode& operator*() { return m_child; }
    CZuXNode* operator->() { return &m_child; }
    ChildIterator& operator++();
    bool operator==(const ChildEnd&) const { return !m_child.Exists(); }
    bool operator!=(const ChildEnd&) const { return m_child.Exists(); }
    ///@}

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
    /// A walk from the first child, and the end of every walk.
    ///@{
    ChildIterator begin() const;
    ChildEnd end() const { return ChildEnd(); }
    ///@}

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

    /// The handle on the current attribute; the step to the next, as described above; whether the
    /// walk is over.
    ///@{
    CZuXAttribute& operator*() { return m_attribute; }
    CZuXAttribute* operator->() { return &m_attribute; }
    AttributeIterator& operator++();
    bool operator==(const AttributeEnd&) const { return !m_attribute.Exists(); }
    bool operator!=(const AttributeEnd&) const { return m_attribute.Exists(); }
    ///@}

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
    /// A walk from the first attribute, and the end of every walk.
    ///@{
    AttributeIterator begin() const;
    AttributeEnd end() const { return AttributeEnd(); }
    ///@}

private:
    friend class CZuXNode;
    explicit AttributeRange(CZuXNodePrivatePtr element) : m_pElement(std::move(element)) {}

    CZuXNodePrivatePtr m_pElement;
};

#endif
