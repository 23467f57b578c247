// Not part of the public interface.
#ifndef ZUX_ZUXDOCUMENTPRIVATE_H
#define ZUX_ZUXDOCUMENTPRIVATE_H

#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

/// The body of a document: owns the whole tree. Shared by the document handle and by every body
/// made from the document.
class CZuXDocumentPrivate {
public:
    ZUX_EXPORT CZuXDocumentPrivate();
    ZUX_EXPORT ~CZuXDocumentPrivate();
    CZuXDocumentPrivate(const CZuXDocumentPrivate&) = delete;
    CZuXDocumentPrivate& operator=(const CZuXDocumentPrivate&) = delete;

    /// Success for status_ok; otherwise an error with the status's Win32 code and message.
    static CZuError GetErrorFromParseResult(pugi::xml_parse_result& result);

    pugi::xml_document m_document;
};

#endif
