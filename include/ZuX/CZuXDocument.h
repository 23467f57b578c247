// Documents: loading, saving, top-level elements and queries.
#ifndef ZUX_CZUXDOCUMENT_H
#define ZUX_CZUXDOCUMENT_H

#include <ZuUtils/CZuError.h>
#include <ZuX/BZuXFormat.h>
#include <ZuX/BZuXLoad.h>
#include <ZuX/CZuXNode.h>
#include <ZuX/CZuXPathNode.h>
#include <ZuX/CZuXPathNodeSet.h>
#include <ZuX/CZuXPathQuery.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <iosfwd>
#include <string>

class CZuXDocumentPrivate;

/// One XML document. Neither copyable nor movable.
///
/// The tree lives in a body that the document shares with every node, attribute and XPath body
/// made from it, so those stay usable after the document object is gone. Loading replaces the
/// whole tree: every handle obtained before a load is empty after it (XPath sets too).
///
/// A document and everything made from it is used by one thread at a time; pointers to its
/// handles and bodies may be copied and released on any thread (see CZuXNode).
///
/// Calls that return a CZuError never throw. Loads fail with Win32 2 (no file), 30 (a read error),
/// 13 (malformed or undecodable input), 4306 (no element) or 1359, saves and XPath with 774, calls
/// on nodes as CZuXNode's do (1168 for nothing to act on), and every call with 14 when memory runs
/// out, or with the code the call names below. The records say where and why.
class ZUX_EXPORT CZuXDocument {
public:
    /// A document with an empty tree. The destructor releases the document's reference to the
    /// tree; bodies made from it keep it alive.
    ///@{
    CZuXDocument();
    CZuXDocument(const CZuXDocument&) = delete;
    CZuXDocument& operator=(const CZuXDocument&) = delete;
    virtual ~CZuXDocument();
    ///@}

    /// @name Loading
    /// Loads are decoded to UTF-8, so the tree always holds UTF-8. The input's encoding is taken
    /// from its first bytes: a byte-order mark or UTF-16/UTF-32 text (files; a string ends at its
    /// first NUL), otherwise the encoding its XML declaration names, decoded with the C library's
    /// iconv (windows-1252, ISO-8859-1, ISO-8859-15, Shift_JIS, ...); without one, or naming UTF-8,
    /// the bytes are UTF-8 and are taken as they are, unchecked. A declaration naming UTF-16 or
    /// UTF-32 above 8-bit text is ignored (the text is UTF-8). A declared encoding iconv does not
    /// know: the bytes are taken as they are, and saves write that declaration as it stands. Input
    /// that is invalid in its encoding, or ends inside a character, loads nothing: Win32 13 with
    /// "Error decoding, Encoding=[name], Offset=[byte offset in the input], Description=[...]".
    ///
    /// The previous tree is discarded even when loading fails; after a parse error the document
    /// holds what was parsed before it, otherwise nothing. On failure the result holds the parse or
    /// decoding error and then a record for this call. Offsets of parse errors count bytes of the
    /// UTF-8 text.
    ///@{

    /// Loads text up to its first NUL character; comments, the XML declaration, processing
    /// instructions, the document type and text made only of white space are dropped.
    CZuError LoadFromString(const std::string& xml);
    /// Loads a file; comments and the XML declaration are kept as nodes, processing instructions,
    /// the document type and text made only of white space dropped. The failure's second record
    /// is "FileName=[path]". A path holding a NUL character fails as a file that is not
    /// found (Win32 2), as does any file that cannot be opened; a directory or a read error fails
    /// with 30.
    CZuError LoadFromFile(const std::string& path);
    ///@}

    /// @name Loads that keep what the file holds
    ///@{

    /// As the forms above, keeping exactly the kinds of node named in `keep` besides elements, text
    /// and CDATA sections: `BZuXLoad()` keeps none (LoadFromFile then drops comments and the
    /// declaration too), `BZuXLoad::KeepAll` keeps everything a save writes back. The text is still
    /// read up to its first NUL character, and the input decoded as above.
    CZuError LoadFromString(const std::string& xml, BZuXLoad keep);
    CZuError LoadFromFile(const std::string& path, BZuXLoad keep);
    ///@}

    /// Where the last load failed in its input (a parse error, or a byte its encoding cannot
    /// hold), counted as CZuXNode::GetSourcePosition counts. Fails with 1168 after a successful
    /// load, before any, and after a failure that has no place in the input (no file, a read
    /// error, out of memory).
    CZuError GetLoadErrorPosition(unsigned long& line, unsigned long& column) const;

    /// Writes the document to `output` as UTF-8, by default on one line (format Raw), with a
    /// default declaration unless the document holds one; the indentation is empty, so Indent alone
    /// adds line breaks but no indentation. A declaration of the document that names another
    /// encoding than UTF-8 is written as naming UTF-8, what the output holds (unless the last load
    /// kept the bytes under it undecoded: then as it stands); the declaration in the tree keeps its
    /// value. Fails only with 14, and `output` is then unchanged.
    ///@{
    CZuError SaveAsString(std::string& output);
    CZuError SaveAsString(std::string& output, BZuXFormat format);
    ///@}
    /// Writes the document to a file as UTF-8, by default indented with one tab per level (format
    /// Indent), otherwise with the caller's indentation (up to its first NUL character) and format
    /// bits; a declaration naming another encoding than UTF-8 is written as in SaveAsString. Fails
    /// with 774 and "FileName=[path]", then "Reason=[text]" with the system's reason ("Invalid
    /// argument" for a path holding a NUL character, which is not cut at the NUL).
    ///
    /// A failed or interrupted save (disk full, quota, file-size limit, I/O error, crash, power
    /// cut) never costs a regular file its previous content: the new content goes to a new file in
    /// the same directory, is flushed to disk and renamed over the old one. On failure the file is
    /// unchanged and no new file is left behind (only a crash, a power cut or SIGXFSZ can leave
    /// one, named ".NAME." and 12 hexadecimal digits). The new file gets the old one's owner,
    /// group, permission bits and extended attributes (ACLs, security labels, capabilities); other
    /// hard links keep the old content; a symbolic link stays a link, and the file it leads to is
    /// replaced; a new path gets 0666 less the umask, as fopen gives it.
    ///
    /// Written in place instead (truncated and written, as pugixml's save_file does, without the
    /// guarantee): anything but a regular file (/dev/null, a FIFO); every path reached through
    /// /proc, such as /dev/stdout, /dev/fd/N and /proc/self/fd/N, so that a descriptor keeps its
    /// file (one of the process's own is written through itself, at its position, untruncated); a
    /// file whose owner, group or extended attributes a new file cannot get; a file beside which
    /// no new file can be made (a read-only or unwritable directory, a pseudo-filesystem, a name
    /// too long for the new file's) or that cannot be renamed over (a sticky directory, a file
    /// mounted into place). A file that may not be written fails, as opening it would.
    ///
    /// A save beyond the file-size limit (RLIMIT_FSIZE) raises SIGXFSZ, whose default action ends
    /// the process: the old file survives, and the new one may be left behind. With the signal
    /// ignored the save fails with 774 ("Reason=[File too large]") and keeps the old file.
    ///@{
    CZuError SaveToFile(const std::string& path);
    CZuError SaveToFile(const std::string& path, BZuXFormat format);
    CZuError SaveToFile(const std::string& path, const std::string& indent);
    /// Does not compile: a literal 0 would otherwise be taken as a null indentation string and
    /// throw. Write `BZuXFormat()` for no format bits.
    CZuError SaveToFile(const std::string& path, std::nullptr_t) = delete;
    CZuError SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format);
    ///@}
    /// The same in `encoding`, any that iconv knows ("UTF-16", "ISO-8859-1", "windows-1252", ...),
    /// with a declaration naming it: the document's own declaration names it (NoDeclaration
    /// notwithstanding, one is written when the document has none), and with WriteBom the file
    /// starts with the encoding's byte-order mark where it has one. A character the encoding cannot
    /// hold is written as a character reference ("&#x20AC;") in text and attribute values. Fails
    /// with Win32 13 and "FileName=[path], Encoding=[encoding]" before anything is written, the
    /// file left as it was, when iconv does not know the encoding, its name is not one a
    /// declaration can hold (letters, digits, '.', '_', '-'), it cannot hold XML's ASCII markup, or
    /// a character it cannot hold stands where no reference can (a name, a comment, a processing
    /// instruction, a CDATA section, the document type, the declaration, the indentation) or is
    /// not valid UTF-8; otherwise as the forms above.
    CZuError SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format,
                        const std::string& encoding);

    /// @name Writing out with the caller's indentation
    ///@{

    /// The document as the file forms write it, UTF-8, with the indentation string once per level
    /// and the format bits. SaveAsString replaces `output` only on success; SaveToStream fails with
    /// 774 when the stream fails or throws, and what was written stays in it.
    CZuError SaveAsString(std::string& output, const std::string& indent, BZuXFormat format);
    CZuError SaveToStream(std::ostream& out, const std::string& indent, BZuXFormat format);
    ///@}

    /// A new body on the first top-level node of that name (the XML declaration is "xml"), or on
    /// no node. Names are compared byte for byte; a null name finds nothing.
    ///@{
    CZuXNodePrivatePtr GetNode(const char* name);
    CZuXNodePrivatePtr GetNode(const char* name) const;
    ///@}
    /// A new body on a new top-level element of that name: last, first, or right after or before
    /// `reference`, given as a body or a handle. No node when nothing could be created: a name that
    /// is not an XML 1.0 name in valid UTF-8 (null and "" included), a `reference` that is not a
    /// top-level node of this document, no memory.
    ///@{
    CZuXNodePrivatePtr AppendNode(const char* name);
    CZuXNodePrivatePtr PrependNode(const char* name);
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference);
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference);
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, const CZuXNode& reference);
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, const CZuXNode& reference);
    ///@}
    /// The same with a new node of any kind but elements, as CZuXNode's forms on the document node:
    /// a comment, a processing instruction, the declaration (only as the first node, when there is
    /// none) or the document type (when there is none, before every element); nothing before a
    /// declaration. Any other kind, or a place where the kind cannot stand, gives no node and
    /// changes nothing.
    ///@{
    CZuXNodePrivatePtr AppendNode(CZuXNode::NodeKind kind);
    CZuXNodePrivatePtr PrependNode(CZuXNode::NodeKind kind);
    CZuXNodePrivatePtr InsertNodeAfter(CZuXNode::NodeKind kind, const CZuXNode& reference);
    CZuXNodePrivatePtr InsertNodeBefore(CZuXNode::NodeKind kind, const CZuXNode& reference);
    ///@}

    /// A new body on the document node, above every top-level node (what QueryPrivate gives for "").
    CZuXNodePrivatePtr GetDocumentNode();
    /// The top-level nodes of every kind, in order, for range-for, as CZuXNode::Children() gives
    /// the children of the document node.
    CZuXNode::ChildRange Children() const;
    /// Removes a top-level node with everything below it: the node of a body or handle, from its
    /// own document (which need not be this one), or the first of that name ("NodeName=[name]"; a
    /// name holding a NUL character matches nothing). 1168 unless there is such a top-level node;
    /// 14, with nothing removed, when the memory to record the removal cannot be had. Every handle
    /// on a removed node or attribute is empty afterwards.
    ///@{
    CZuError RemoveNode(CZuXNodePrivatePtr node);
    CZuError RemoveNode(const CZuXNode& node);
    CZuError RemoveNode(const std::string& name);
    ///@}

    /// Looks a node up by a path of names separated by '/', from the document node: the first
    /// node at the end of a complete match, or no node. A leading '/' starts at the document
    /// node, "." stays and ".." goes up, and "" gives the document node itself. This is not
    /// XPath: predicates, wildcards and axes are names like any other and match nothing.
    /// `node` always receives a new body; fails only with 14, when that body cannot be allocated or
    /// following a very long path needs more memory than there is, and `node` is then null.
    CZuError QueryPrivate(CZuXNodePrivatePtr& node, const std::string& query);
    /// Evaluates an XPath 1.0 expression from the document node, without variables. `nodes` is
    /// reset first and receives the selected items in the order pugixml returns them (an empty
    /// set when nothing matches). Fails with 774 and
    /// "XPath query failed, Query=[query], error=description" when the expression does not
    /// compile or does not give a node set, and with 14, also when pugixml's evaluation runs out of
    /// memory; `nodes` is then null. Numbers in the expression and in the values
    /// it compares are read the same whatever the process locale.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query);
    /// Evaluates any XPath 1.0 expression from the document node to its string value, as XPath's
    /// string() gives it: a number as "4" or "12.5", a boolean as "true" or "false", a node set as
    /// the text of its first node. Numbers are written and text is read the same whatever the
    /// process locale. Fails with 774 and "XPath evaluation failed, Query=[query], error=description"
    /// when the expression does not compile.
    CZuError EvaluateXPath(std::string& value, const std::string& query);

    /// @name XPath: compiled queries, first matches, typed results
    ///@{

    /// The same evaluations from the document node, with a query compiled once (CZuXPathQuery,
    /// with its variables and namespace prefixes) or given as text (without them), under the same
    /// locale and with the same failures: 774 with "XPath query failed, ..." (node selections) or
    /// "XPath evaluation failed, ..." (values), and "error=No expression compiled" for a query
    /// that was never compiled.
    ///  - SelectNode gives the first selected item in document order, an element, another node or
    ///    an attribute (read it with AttributePrivate()); 1168 with
    ///    "XPath query selected nothing, Query=[query]" when there is none. `node` is reset first
    ///    and stays null on failure.
    ///  - EvaluateXPath converts any result as XPath's number(), boolean() and string() do: a node
    ///    set gives the number or string of its first node (NaN, "" when empty) and is true when
    ///    not empty.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const CZuXPathQuery& query);
    CZuError SelectNode(CZuXPathNodePtr& node, const std::string& query);
    CZuError SelectNode(CZuXPathNodePtr& node, const CZuXPathQuery& query);
    CZuError EvaluateXPath(double& value, const std::string& query);
    CZuError EvaluateXPath(bool& value, const std::string& query);
    CZuError EvaluateXPath(double& value, const CZuXPathQuery& query);
    CZuError EvaluateXPath(bool& value, const CZuXPathQuery& query);
    CZuError EvaluateXPath(std::string& value, const CZuXPathQuery& query);
    ///@}

    /// The body of the node handle `node` points to, for the operations that take a body. A null
    /// `node` gives a new empty body.
    CZuXNodePrivatePtr GetPrivate(CZuXNodePtr node);

private:
    boost::shared_ptr<CZuXDocumentPrivate> m_pPrivate;
};

#endif
