// Documents: loading, saving, top-level elements and queries.
#ifndef ZUX_CZUXDOCUMENT_H
#define ZUX_CZUXDOCUMENT_H

#include <ZuX/ZuXExport.h>
#include <ZuX/CZuXNode.h>
#include <ZuX/CZuXPathNodeSet.h>
#include <ZuUtils/CZuError.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXDocumentPrivate;

/// One XML document. Neither copyable nor movable.
///
/// The tree lives in a body that the document shares with every node, attribute and XPath body
/// made from it, so those stay usable after the document object is gone. Loading replaces the
/// whole tree: handles obtained before a load must not be used after it.
class ZUX_EXPORT CZuXDocument {
public:
    /// A document with an empty tree.
    CZuXDocument();
    CZuXDocument(const CZuXDocument&) = delete;
    CZuXDocument& operator=(const CZuXDocument&) = delete;
    virtual ~CZuXDocument();

    /// Parses UTF-8 text up to its first NUL character; comments, the XML declaration,
    /// processing instructions and the document type are dropped. The previous tree is discarded
    /// even when parsing fails. On failure the result holds the parse error and then a record
    /// for this call.
    CZuError LoadFromString(const std::string& xml);
    /// Parses a file, detecting its encoding; comments and the XML declaration are kept as nodes.
    /// The previous tree is discarded even when loading fails. On failure the result holds the
    /// parse or file error and then a record with "FileName=[path]".
    CZuError LoadFromFile(const std::string& path);

    /// The body of the node handle `node` points to, for the operations that take a body. A null
    /// `node` gives a new empty body.
    CZuXNodePrivatePtr GetPrivate(CZuXNodePtr node);

private:
    boost::shared_ptr<CZuXDocumentPrivate> m_pPrivate;
};

#endif
