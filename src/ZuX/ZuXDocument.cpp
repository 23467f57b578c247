#include <ZuX/CZuXDocument.h>

#include "MakeSharedNothrow.h"
#include "ZuXEncodedOutput.h"
#include "ZuXFailureCodes.h"
#include "ZuXFileReplacement.h"
#include "ZuXLoad.h"
#include "ZuXName.h"
#include "ZuXNodeKinds.h"
#include "ZuXNodePrivate.h"
#include "ZuXOutput.h"
#include "ZuXPathEvaluation.h"
#include "ZuXPathNodeSetPrivate.h"
#include "ZuXSlashPath.h"

#include <cstring>
#include <new>

namespace {

// parse_default: CDATA, escapes, end-of-line and attribute whitespace conversion.
constexpr unsigned int kStringParseOptions = pugi::parse_default;
// Files keep their comments and XML declaration as nodes.
constexpr unsigned int kFileParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;
static_assert(kStringParseOptions == 0x74 && kFileParseOptions == 0x176 && PUGIXML_VERSION == 1130,
              "the parse options of the loads are pugixml 1.13's");

// The loads with a BZuXLoad: parse_default and exactly the kinds named, whose bits are pugixml's.
LoadRequest Request(BZuXLoad keep, const char* function) {
    return {pugi::parse_default | (keep.AsValue() & BZuXLoad::KeepAll), (keep.AsValue() & BZuXLoad::KeepPositions) != 0,
            function};
}

// strerror_r comes in two forms, both safe on any thread, unlike strerror.
[[maybe_unused]] const char* ReasonText(const char* text, const char* /*buffer*/) {
    return text;
}
[[maybe_unused]] const char* ReasonText(int result, const char* buffer) {
    return result == 0 ? buffer : "Unknown error";
}

// What `content` writes, into the file at `path` (see ZuXFileReplacement.h). A failure says why
// after its own record, with the system's text for the call that failed.
CZuError WriteFile(const WNCodeLocation& location, const std::string& path, const CFileContent& content) {
    const int error = WriteFileReplacing(path, content);
    if (error == 0) return CZuError::Success();
    char buffer[256];
    CZuError failure = WNErrorUtil::ErrorWin32(location, ZuWin32::ErrorsEncountered, "FileName=[%s]", path.c_str());
    return failure.Push(location, "Reason=[%s]", ReasonText(strerror_r(error, buffer, sizeof buffer), buffer));
}

// The document's text with an empty indentation, into `output` when all of it could be made: 14
// when memory runs out, and `output` is then as it was.
CZuError SaveString(const CZuXDocumentPrivate& document, std::string& output, unsigned int format,
                    const WNCodeLocation& location) {
    return SaveToText(output, location, [&](pugi::xml_writer& text) {
        SaveDocument(document.m_document, text, "", format, pugi::encoding_utf8, document.m_keepsDeclaredEncoding);
    });
}

// The bytes that pugixml's save_file writes (its text mode, asked for by SaveFileText, writes the
// same bytes as binary mode on POSIX systems), into a file that is replaced rather than truncated.
CZuError SaveFile(const CZuXDocumentPrivate& document, const WNCodeLocation& location, const std::string& path,
                  const char* indent, unsigned int format, pugi::xml_encoding encoding) {
    return WriteFile(location, path, [&](pugi::xml_writer& file) {
        SaveDocument(document.m_document, file, indent, format, encoding, document.m_keepsDeclaredEncoding);
    });
}

// A new top-level node of `kind` at `place`.
CZuXNodePrivatePtr NewTopLevelNode(CZuXDocumentPrivate& document, CZuXNode::NodeKind kind, ChildPlace place,
                                   const pugi::xml_node& reference) {
    return DocumentBody<CZuXNodePrivate>(
        document, [&] { return InsertChildOfType(document.m_document, NodeTypeOf(kind), place, reference); });
}

// Removes the body's node from its own document, whichever document the call was made on. The
// body stays current through the removal, and empty.
CZuError RemoveTopLevel(const CZuXNodePrivatePtr& node, const WNCodeLocation& location) {
    const pugi::xml_node item = NodeOf(node);
    if (IsNone(item)) return RemovalResult(Removal::NotFound, location);
    CZuXDocumentPrivate& document = *node->m_pDocument;
    return RemovalResult(RemoveChildNode(document, document.m_document, item, nullptr, node.get()), location);
}

// Puts a result body made by the document on it, and gives the context node of every evaluation
// from the document: the document node.
auto FromDocument(const CZuXDocumentPrivate& document) {
    return [&document](CZuXDocumentHold& body) -> pugi::xml_node {
        body.ShareHold(document.CurrentHold());
        return document.m_document;
    };
}

} // namespace

CZuXDocument::CZuXDocument() : m_pPrivate(boost::make_shared<CZuXDocumentPrivate>()) {
    m_pPrivate->AttachHandle();
}

CZuXDocument::~CZuXDocument() {
    m_pPrivate->DetachHandle();
}

CZuError CZuXDocument::LoadFromString(const std::string& xml) {
    static const char* const kFunction = "CZuError CZuXDocument::LoadFromString(const string&)";
    CZuError error = LoadDocumentFromString(*m_pPrivate, xml, {kStringParseOptions, false, kFunction});
    if (error.IsError()) return error.Push(ZU_CODE_LOCATION(kFunction));
    return CZuError::Success();
}

CZuError CZuXDocument::LoadFromFile(const std::string& path) {
    static const char* const kFunction = "CZuError CZuXDocument::LoadFromFile(const string&)";
    CZuError error = LoadDocumentFromFile(*m_pPrivate, path, {kFileParseOptions, false, kFunction});
    if (error.IsError()) return error.Push(ZU_CODE_LOCATION(kFunction), "FileName=[%s]", path.c_str());
    return CZuError::Success();
}

CZuError CZuXDocument::LoadFromString(const std::string& xml, BZuXLoad keep) {
    static const char* const kFunction = "CZuError CZuXDocument::LoadFromString(const string&, BZuXLoad)";
    CZuError error = LoadDocumentFromString(*m_pPrivate, xml, Request(keep, kFunction));
    if (error.IsError()) return error.Push(ZU_CODE_LOCATION(kFunction));
    return CZuError::Success();
}

CZuError CZuXDocument::LoadFromFile(const std::string& path, BZuXLoad keep) {
    static const char* const kFunction = "CZuError CZuXDocument::LoadFromFile(const string&, BZuXLoad)";
    CZuError error = LoadDocumentFromFile(*m_pPrivate, path, Request(keep, kFunction));
    if (error.IsError()) return error.Push(ZU_CODE_LOCATION(kFunction), "FileName=[%s]", path.c_str());
    return CZuError::Success();
}

CZuError CZuXDocument::GetLoadErrorPosition(unsigned long& line, unsigned long& column) const {
    SourcePosition position{0, 0};
    if (!m_pPrivate->m_source.ErrorPosition(position))
        return WNErrorUtil::ErrorWin32(
            ZU_CODE_LOCATION("CZuError CZuXDocument::GetLoadErrorPosition(unsigned long&, unsigned long&) const"),
            ZuWin32::NotFound, "Reason=[the last load did not fail in its input]");
    line = position.line;
    column = position.column;
    return CZuError::Success();
}

CZuError CZuXDocument::SaveAsString(std::string& output) {
    return SaveString(*m_pPrivate, output, pugi::format_raw,
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SaveAsString(string&)"));
}

CZuError CZuXDocument::SaveAsString(std::string& output, BZuXFormat format) {
    return SaveString(*m_pPrivate, output, format.AsValue(),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SaveAsString(string&, BZuXFormat)"));
}

CZuError CZuXDocument::SaveToFile(const std::string& path) {
    return SaveFile(*m_pPrivate, ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&)"), path, "\t",
                    pugi::format_indent, pugi::encoding_auto);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, BZuXFormat format) {
    return SaveFile(*m_pPrivate, ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, BZuXFormat)"), path,
                    "\t", format.AsValue(), pugi::encoding_auto);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, const std::string& indent) {
    return SaveFile(*m_pPrivate, ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, const string&)"),
                    path, indent.c_str(), pugi::format_indent, pugi::encoding_utf8);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format) {
    return SaveFile(*m_pPrivate,
                    ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, const string&, BZuXFormat)"),
                    path, indent.c_str(), format.AsValue(), pugi::encoding_utf8);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format,
                                  const std::string& encoding) {
    static const char* const kFunction =
        "CZuError CZuXDocument::SaveToFile(const string&, const string&, BZuXFormat, const string&)";
    std::string encoded;
    switch (EncodeDocument(m_pPrivate->m_document, indent.c_str(), format.AsValue(), encoding, encoded)) {
    case Encoding::Done:
        break;
    case Encoding::Unknown:
    case Encoding::NotWritable:
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::InvalidData,
                                       "FileName=[%s], Encoding=[%s]", path.c_str(), encoding.c_str());
    case Encoding::OutOfMemory:
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    }
    return WriteFile(ZU_CODE_LOCATION(kFunction), path,
                     [&](pugi::xml_writer& file) { file.write(encoded.data(), encoded.size()); });
}

CZuError CZuXDocument::SaveAsString(std::string& output, const std::string& indent, BZuXFormat format) {
    return SaveToText(output,
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SaveAsString(std::string&, const string&, BZuXFormat)"),
                      [&](pugi::xml_writer& text) {
                          SaveDocument(m_pPrivate->m_document, text, indent.c_str(), format.AsValue(),
                                       pugi::encoding_utf8, m_pPrivate->m_keepsDeclaredEncoding);
                      });
}

CZuError CZuXDocument::SaveToStream(std::ostream& out, const std::string& indent, BZuXFormat format) {
    return SaveToOstream(
        out, ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToStream(std::ostream&, const string&, BZuXFormat)"),
        [&](pugi::xml_writer& stream) {
            SaveDocument(m_pPrivate->m_document, stream, indent.c_str(), format.AsValue(), pugi::encoding_utf8,
                         m_pPrivate->m_keepsDeclaredEncoding);
        });
}

CZuXNodePrivatePtr CZuXDocument::GetNode(const char* name) {
    return static_cast<const CZuXDocument*>(this)->GetNode(name);
}

CZuXNodePrivatePtr CZuXDocument::GetNode(const char* name) const {
    return DocumentBody<CZuXNodePrivate>(*m_pPrivate, [&] { return ChildNamed(m_pPrivate->m_document, name); });
}

CZuXNodePrivatePtr CZuXDocument::AppendNode(const char* name) {
    return DocumentBody<CZuXNodePrivate>(*m_pPrivate, [&] { return AppendChildNamed(m_pPrivate->m_document, name); });
}

CZuXNodePrivatePtr CZuXDocument::PrependNode(const char* name) {
    return DocumentBody<CZuXNodePrivate>(*m_pPrivate, [&] { return PrependChildNamed(m_pPrivate->m_document, name); });
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference) {
    return DocumentBody<CZuXNodePrivate>(
        *m_pPrivate, [&] { return InsertChildNamedAfter(m_pPrivate->m_document, name, NodeOf(reference)); });
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference) {
    return DocumentBody<CZuXNodePrivate>(
        *m_pPrivate, [&] { return InsertChildNamedBefore(m_pPrivate->m_document, name, NodeOf(reference)); });
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeAfter(const char* name, const CZuXNode& reference) {
    return InsertNodeAfter(name, reference.m_pPrivate);
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeBefore(const char* name, const CZuXNode& reference) {
    return InsertNodeBefore(name, reference.m_pPrivate);
}

CZuXNodePrivatePtr CZuXDocument::AppendNode(CZuXNode::NodeKind kind) {
    return NewTopLevelNode(*m_pPrivate, kind, ChildPlace::Last, pugi::xml_node());
}

CZuXNodePrivatePtr CZuXDocument::PrependNode(CZuXNode::NodeKind kind) {
    return NewTopLevelNode(*m_pPrivate, kind, ChildPlace::First, pugi::xml_node());
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeAfter(CZuXNode::NodeKind kind, const CZuXNode& reference) {
    return NewTopLevelNode(*m_pPrivate, kind, ChildPlace::After, NodeOf(reference.m_pPrivate));
}

CZuXNodePrivatePtr CZuXDocument::InsertNodeBefore(CZuXNode::NodeKind kind, const CZuXNode& reference) {
    return NewTopLevelNode(*m_pPrivate, kind, ChildPlace::Before, NodeOf(reference.m_pPrivate));
}

CZuXNodePrivatePtr CZuXDocument::GetDocumentNode() {
    return DocumentBody<CZuXNodePrivate>(*m_pPrivate, [this]() -> pugi::xml_node { return m_pPrivate->m_document; });
}

CZuXNode::ChildRange CZuXDocument::Children() const {
    return CZuXNode::ChildRange(
        DocumentBody<CZuXNodePrivate>(*m_pPrivate, [this]() -> pugi::xml_node { return m_pPrivate->m_document; }));
}

CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr node) {
    return RemoveTopLevel(node, ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr)"));
}

CZuError CZuXDocument::RemoveNode(const CZuXNode& node) {
    return RemoveTopLevel(node.m_pPrivate, ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(const CZuXNode&)"));
}

CZuError CZuXDocument::RemoveNode(const std::string& name) {
    CZuXDocumentPrivate& document = *m_pPrivate;
    return RemovalResult(document.RemoveChild(document.m_document, ChildNamed(document.m_document, LookupName(name))),
                         ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(const string&)"), &name);
}

CZuError CZuXDocument::QueryPrivate(CZuXNodePrivatePtr& node, const std::string& query) {
    static const char* const kFunction = "CZuError CZuXDocument::QueryPrivate(CZuXNodePrivatePtr&, const string&)";
    node = boost::make_shared_nothrow<CZuXNodePrivate>();
    if (!node) return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    try {
        node->MoveTo(FirstElementByPath(m_pPrivate->m_document, query.c_str()), m_pPrivate->CurrentHold());
    } catch (const std::bad_alloc&) {
        // Only a very long path needs memory to be followed; the result is then as for the body.
        node.reset();
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    }
    return CZuError::Success();
}

CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) {
    return SelectInto(nodes, XPathSource(query),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const string&)"),
                      FromDocument(*m_pPrivate));
}

CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr& nodes, const CZuXPathQuery& query) {
    return SelectInto(nodes, XPathSource(*query.m_pPrivate),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const CZuXPathQuery&)"),
                      FromDocument(*m_pPrivate));
}

CZuError CZuXDocument::SelectNode(CZuXPathNodePtr& node, const std::string& query) {
    return SelectInto(node, XPathSource(query),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SelectNode(CZuXPathNodePtr&, const string&)"),
                      FromDocument(*m_pPrivate));
}

CZuError CZuXDocument::SelectNode(CZuXPathNodePtr& node, const CZuXPathQuery& query) {
    return SelectInto(node, XPathSource(*query.m_pPrivate),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SelectNode(CZuXPathNodePtr&, const CZuXPathQuery&)"),
                      FromDocument(*m_pPrivate));
}

CZuError CZuXDocument::EvaluateXPath(double& value, const std::string& query) {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(double&, const string&)"),
                             m_pPrivate->m_document);
}

CZuError CZuXDocument::EvaluateXPath(bool& value, const std::string& query) {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(bool&, const string&)"),
                             m_pPrivate->m_document);
}

CZuError CZuXDocument::EvaluateXPath(std::string& value, const std::string& query) {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(std::string&, const string&)"),
                             m_pPrivate->m_document);
}

CZuError CZuXDocument::EvaluateXPath(double& value, const CZuXPathQuery& query) {
    return EvaluateXPathInto(value, XPathSource(*query.m_pPrivate),
                             ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(double&, const CZuXPathQuery&)"),
                             m_pPrivate->m_document);
}

CZuError CZuXDocument::EvaluateXPath(bool& value, const CZuXPathQuery& query) {
    return EvaluateXPathInto(value, XPathSource(*query.m_pPrivate),
                             ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(bool&, const CZuXPathQuery&)"),
                             m_pPrivate->m_document);
}

CZuError CZuXDocument::EvaluateXPath(std::string& value, const CZuXPathQuery& query) {
    return EvaluateXPathInto(
        value, XPathSource(*query.m_pPrivate),
        ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(std::string&, const CZuXPathQuery&)"),
        m_pPrivate->m_document);
}

CZuXNodePrivatePtr CZuXDocument::GetPrivate(CZuXNodePtr node) {
    return BodyOfHandle(node, &CZuXNode::GetPrivate);
}
