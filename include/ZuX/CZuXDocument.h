// Documents: loading, saving, top-level elements and queries.
#ifndef ZUX_CZUXDOCUMENT_H
#define ZUX_CZUXDOCUMENT_H

#include <ZuUtils/CZuError.h>
#include <ZuX/BZuXFormat.h>
#include <ZuX/CZuXNode.h>
#include <ZuX/CZuXPathNodeSet.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <string>

class CZuXDocumentPrivate;

/// One XML document. Neither copyable nor movable.
///
/// The tree lives in a body that the document shares with every node, attribute and XPath body
/// made from it, so those stay usable after the document object is gone. Loading replaces the
/// whole tree: every handle obtained before a load is empty after it (XPath sets too).
///
/// A document and everything made from it is used by one thread at a time; pointers to its
/// handles and bodies may be copied and released on any thread (see CZuXNode). Calls that
/// return a CZuError never throw: memory that runs out gives Win32 14, or the call's own code.
class ZUX_EXPORT CZuXDocument {
public:
    /// A document with an empty tree.
    CZuXDocument();
    CZuXDocument(const CZuXDocument&) = delete;
    CZuXDocument& operator=(const CZuXDocument&) = delete;
    /// Releases the document's reference to the tree; bodies made from it keep it alive.
    virtual ~CZuXDocument();

    /// Parses UTF-8 text up to its first NUL character; comments, the XML declaration,
    /// processing instructions and the document type are dropped. The previous tree is discarded
    /// even when parsing fails; after a parse error the document holds what was parsed before it.
    /// On failure the result holds the parse error and then a record for this call.
    CZuError LoadFromString(const std::string& xml);
    /// Parses a file, detecting its encoding; comments and the XML declaration are kept as nodes.
    /// The previous tree is discarded even when loading fails; after a parse error the document
    /// holds what was parsed before it. On failure the result holds the parse or file error and
    /// then a record with "FileName=[path]". A path holding a NUL character fails as a file that
    /// is not found (Win32 2), a directory as a read error (30).
    CZuError LoadFromFile(const std::string& path);

    /// Writes the document to `output` as UTF-8 on one line (format Raw, no indentation),
    /// with a default declaration unless the document holds one. A declaration of the document
    /// that names another encoding than UTF-8 is written as naming UTF-8, what the output holds;
    /// the declaration in the tree keeps its value. Fails only with Win32 14, when memory for the
    /// text runs out; `output` is then unchanged.
    CZuError SaveAsString(std::string& output);
    /// The same with the caller's format bits; the indentation is empty, so Indent alone adds
    /// line breaks but no indentation.
    CZuError SaveAsString(std::string& output, BZuXFormat format);
    /// Writes the document to a file as UTF-8, indented with one tab per level. Fails with
    /// Win32 774 and "FileName=[path]" when the file cannot be written, and when the path holds
    /// a NUL character (it is not cut at the NUL). A declaration naming
    /// another encoding than UTF-8 is written as naming UTF-8, as in SaveAsString.
    ///
    /// A failed or interrupted save (disk full, quota, file-size limit, I/O error, crash, power
    /// cut) never costs the previous content. A regular file is replaced: the new content is
    /// written to a new file in the same directory, flushed to disk, and renamed over the old
    /// one, so the path names either the whole old file or the whole new one. On failure the
    /// file is unchanged and no new file is left behind (only a crash or a power cut can leave
    /// one, named ".NAME." and 12 hexadecimal digits). Because the file is a new one:
    ///  - it keeps the old file's permission bits, and when running as root its owner and group
    ///    (otherwise it belongs to the saving user);
    ///  - other hard links to the old file keep the old content;
    ///  - a symbolic link stays a link, and the file it finally leads to is replaced;
    ///  - a new path gets 0666 less the umask, as fopen gives it.
    /// Written directly, without that guarantee, are: anything that is not a regular file
    /// (/dev/null, /dev/stdout, a FIFO); a writable file in a directory where no new file can be
    /// made; a file that cannot be renamed over (one bind-mounted into place). A file that may
    /// not be written is not replaced either: the save fails, as opening it for writing would.
    CZuError SaveToFile(const std::string& path);
    /// The same with the caller's format bits.
    CZuError SaveToFile(const std::string& path, BZuXFormat format);
    /// The same indented with the caller's string, up to its first NUL character.
    CZuError SaveToFile(const std::string& path, const std::string& indent);
    /// Does not compile: a literal 0 would otherwise be taken as a null indentation string and
    /// throw. Write `BZuXFormat()` for no format bits.
    CZuError SaveToFile(const std::string& path, std::nullptr_t) = delete;
    /// The same with the caller's indentation and format bits.
    CZuError SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format);

    /// A new body on the first top-level node of that name (the XML declaration is "xml"), or
    /// on no node. Names are compared byte for byte; a null name finds nothing.
    CZuXNodePrivatePtr GetNode(const char* name);
    /// The same on a const document.
    CZuXNodePrivatePtr GetNode(const char* name) const;
    /// A new body on a new top-level element of that name, placed last; no node when nothing
    /// could be created (a name that is not an XML 1.0 name in valid UTF-8, null and "" included;
    /// out of memory).
    CZuXNodePrivatePtr AppendNode(const char* name);
    /// The same, placed first.
    CZuXNodePrivatePtr PrependNode(const char* name);
    /// The same, placed right after `reference`; no node unless `reference` is a top-level node
    /// of this document.
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference);
    /// The same, placed right before `reference`.
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference);
    /// InsertNodeAfter with the handle's body as the reference.
    CZuXNodePrivatePtr InsertNodeAfter(const char* name, const CZuXNode& reference);
    /// InsertNodeBefore with the handle's body as the reference.
    CZuXNodePrivatePtr InsertNodeBefore(const char* name, const CZuXNode& reference);
    /// Removes the body's node, with everything below it, from the body's own document (which
    /// need not be this one). Fails with Win32 1168 unless that node is a top-level node there,
    /// with 14 when the memory to record the removal cannot be had (nothing is removed then).
    /// Every handle on a removed node or attribute is empty afterwards.
    CZuError RemoveNode(CZuXNodePrivatePtr node);
    /// The same, with the node's handle.
    CZuError RemoveNode(const CZuXNode& node);
    /// Removes the first top-level node of that name; fails with Win32 1168 and
    /// "NodeName=[name]" when there is none, and as above. A name holding a NUL character
    /// matches nothing.
    CZuError RemoveNode(const std::string& name);

    /// Looks a node up by a path of names separated by '/', from the document node: the first
    /// node at the end of a complete match, or no node. A leading '/' starts at the document
    /// node, "." stays and ".." goes up, and "" gives the document node itself. This is not
    /// XPath: predicates, wildcards and axes are names like any other and match nothing.
    /// `node` always receives a new body; fails only with Win32 14 when that body cannot be
    /// allocated, or when following a very long path needs more memory than there is (then `node`
    /// is null).
    CZuError QueryPrivate(CZuXNodePrivatePtr& node, const std::string& query);
    /// Evaluates an XPath 1.0 expression from the document node, without variables. `nodes` is
    /// reset first and receives the selected items in the order pugixml returns them (an empty
    /// set when nothing matches). Fails with Win32 774 and
    /// "XPath query failed, Query=[query], error=description" when the expression does not
    /// compile or does not give a node set, and with 14 when memory runs out (for the result or
    /// in pugixml's evaluation); `nodes` is then null. Numbers in the expression and in the values
    /// it compares are read the same whatever the process locale.
    CZuError SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query);
    /// Evaluates any XPath 1.0 expression from the document node to its string value, as XPath's
    /// string() gives it: a number as "4" or "12.5", a boolean as "true" or "false", a node set as
    /// the text of its first node. Numbers are written and text is read the same whatever the
    /// process locale. `value` is left as it was on failure: Win32 774 with
    /// "XPath evaluation failed, Query=[query], error=description" when the expression does not
    /// compile, 14 when memory runs out.
    CZuError EvaluateXPath(std::string& value, const std::string& query);

    /// The body of the node handle `node` points to, for the operations that take a body. A null
    /// `node` gives a new empty body.
    CZuXNodePrivatePtr GetPrivate(CZuXNodePtr node);

private:
    boost::shared_ptr<CZuXDocumentPrivate> m_pPrivate;
};

#endif
