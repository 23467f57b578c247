#include <ZuX/CZuXDocument.h>

#include "MakeSharedNothrow.h"
#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXFileReplacement.h"
#include "ZuXName.h"
#include "ZuXNodePrivate.h"
#include "ZuXOutput.h"
#include "ZuXPathNodeSetPrivate.h"
#include "ZuXResults.h"
#include "ZuXTree.h"

#include <new>
#include <sys/stat.h>

namespace {

// parse_default: CDATA, escapes, end-of-line and attribute whitespace conversion.
constexpr unsigned int kStringParseOptions = pugi::parse_default;
// Files keep their comments and XML declaration as nodes.
constexpr unsigned int kFileParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;
static_assert(kStringParseOptions == 0x74 && kFileParseOptions == 0x176, "parse options of the loads");

// Collects everything pugixml writes.
class xml_string_writer : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { m_text.append(static_cast<const char*>(data), size); }

    std::string m_text;
};

// load_file with the file options, for a path that pugixml can take. pugixml would open the file
// named by the part before a NUL, and it takes a directory's seek position as its size, so that
// loading one fails as out of memory. Such paths fail here, with the status pugixml gives a file
// it cannot open or read, and the previous tree is discarded as pugixml discards it.
pugi::xml_parse_result LoadFile(pugi::xml_document& document, const std::string& path) {
    pugi::xml_parse_result refused;
    struct stat status {};
    if (HoldsNul(path))
        refused.status = pugi::status_file_not_found;
    else if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        refused.status = pugi::status_io_error;
    else
        return document.load_file(path.c_str(), kFileParseOptions, pugi::encoding_auto);
    document.reset();
    return refused;
}

// The document's text with an empty indentation, into `output` when all of it could be made: 14
// when memory runs out, and `output` is then as it was.
CZuError SaveString(const pugi::xml_document& document, std::string& output, unsigned int format,
                    const WNCodeLocation& location) {
    xml_string_writer writer;
    CZuError saved = CopyText(location, [&] { SaveDocument(document, writer, "", format, pugi::encoding_utf8); });
    if (!saved.IsError()) output = std::move(writer.m_text);
    return saved;
}

// The bytes that pugixml's save_file writes (its text mode, asked for by SaveFileText, writes the
// same bytes as binary mode on POSIX systems), into a file that is replaced rather than truncated.
CZuError SaveFile(const pugi::xml_document& document, const WNCodeLocation& location, const std::string& path,
                  const char* indent, unsigned int format, pugi::xml_encoding encoding) {
    const auto content = [&](pugi::xml_writer& file) { SaveDocument(document, file, indent, format, encoding); };
    // Not cut at a NUL: the file named by the part before it is not the file asked for.
    if (HoldsNul(path) || !WriteFileReplacing(path, content))
        return WNErrorUtil::ErrorWin32(location, ZuWin32::ErrorsEncountered, "FileName=[%s]", path.c_str());
    return CZuError::Success();
}

// Removes the body's node from its own document, whichever document the call was made on. The
// body stays current through the removal, and empty.
CZuError RemoveTopLevel(const CZuXNodePrivatePtr& node, const WNCodeLocation& location) {
    const pugi::xml_node item = NodeOf(node);
    if (!item) return RemovalResult(Removal::NotFound, location);
    CZuXDocumentPrivate& document = *node->m_pDocument;
    const Removal removal = document.RemoveChild(document.m_document, item, {CurrentBodyOf(*node)});
    if (removal == Removal::Done) node->m_item = pugi::xml_node();
    return RemovalResult(removal, location);
}

} // namespace

CZuXDocument::CZuXDocument() : m_pPrivate(boost::make_shared<CZuXDocumentPrivate>()) {
    m_pPrivate->AttachHandle();
}

CZuXDocument::~CZuXDocument() {
    m_pPrivate->DetachHandle();
}

CZuError CZuXDocument::LoadFromString(const std::string& xml) {
    m_pPrivate->WillLoad();
    pugi::xml_parse_result parsed = m_pPrivate->m_document.load_string(xml.c_str(), kStringParseOptions);
    CZuError error = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
    if (error.IsError()) return error.Push(ZU_CODE_LOCATION("CZuError CZuXDocument::LoadFromString(const string&)"));
    return CZuError::Success();
}

CZuError CZuXDocument::LoadFromFile(const std::string& path) {
    m_pPrivate->WillLoad();
    pugi::xml_parse_result parsed = LoadFile(m_pPrivate->m_document, path);
    CZuError error = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
    if (error.IsError())
        return error.Push(ZU_CODE_LOCATION("CZuError CZuXDocument::LoadFromFile(const string&)"), "FileName=[%s]",
                          path.c_str());
    return CZuError::Success();
}

CZuError CZuXDocument::SaveAsString(std::string& output) {
    return SaveString(m_pPrivate->m_document, output, pugi::format_raw,
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SaveAsString(string&)"));
}

CZuError CZuXDocument::SaveAsString(std::string& output, BZuXFormat format) {
    return SaveString(m_pPrivate->m_document, output, format.AsValue(),
                      ZU_CODE_LOCATION("CZuError CZuXDocument::SaveAsString(string&, BZuXFormat)"));
}

CZuError CZuXDocument::SaveToFile(const std::string& path) {
    return SaveFile(m_pPrivate->m_document, ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&)"), path,
                    "\t", pugi::format_indent, pugi::encoding_auto);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, BZuXFormat format) {
    return SaveFile(m_pPrivate->m_document,
                    ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, BZuXFormat)"), path, "\t",
                    format.AsValue(), pugi::encoding_auto);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, const std::string& indent) {
    return SaveFile(m_pPrivate->m_document,
                    ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, const string&)"), path,
                    indent.c_str(), pugi::format_indent, pugi::encoding_utf8);
}

CZuError CZuXDocument::SaveToFile(const std::string& path, const std::string& indent, BZuXFormat format) {
    return SaveFile(m_pPrivate->m_document,
                    ZU_CODE_LOCATION("CZuError CZuXDocument::SaveToFile(const string&, const string&, BZuXFormat)"),
                    path, indent.c_str(), format.AsValue(), pugi::encoding_utf8);
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

CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr node) {
    return RemoveTopLevel(node, ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr)"));
}

CZuError CZuXDocument::RemoveNode(const CZuXNode& node) {
    return RemoveTopLevel(node.m_pPrivate, ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(const CZuXNode&)"));
}

CZuError CZuXDocument::RemoveNode(const std::string& name) {
    CZuXDocumentPrivate& document = *m_pPrivate;
    const Removal removal =
        document.RemoveChild(document.m_document, ChildNamed(document.m_document, LookupName(name)));
    if (removal == Removal::Done) return CZuError::Success();
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION("CZuError CZuXDocument::RemoveNode(const string&)"),
                                   FailureCode(removal), "NodeName=[%s]", name.c_str());
}

CZuError CZuXDocument::QueryPrivate(CZuXNodePrivatePtr& node, const std::string& query) {
    static const char* const kFunction = "CZuError CZuXDocument::QueryPrivate(CZuXNodePrivatePtr&, const string&)";
    node = boost::make_shared_nothrow<CZuXNodePrivate>();
    if (!node) return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    AttachToDocument(*node, *m_pPrivate);
    try {
        node->m_item = FirstElementByPath(m_pPrivate->m_document, query.c_str());
    } catch (const std::bad_alloc&) {
        // Only a very long path needs memory to be followed; the result is then as for the body.
        node.reset();
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    }
    return CZuError::Success();
}

CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) {
    return SelectNodesInto(nodes, query,
                           ZU_CODE_LOCATION("CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const string&)"),
                           [this](CZuXPathNodeSetPrivate& body) -> pugi::xml_node {
                               AttachToDocument(body, *m_pPrivate);
                               return m_pPrivate->m_document;
                           });
}

CZuError CZuXDocument::EvaluateXPath(std::string& value, const std::string& query) {
    std::string evaluated;
    const CZuError result = EvaluateXPathSafely(
        query, "XPath evaluation failed",
        ZU_CODE_LOCATION("CZuError CZuXDocument::EvaluateXPath(std::string&, const string&)"),
        [&] { evaluated = pugi::xpath_query(query.c_str(), nullptr).evaluate_string(m_pPrivate->m_document); });
    if (!result.IsError()) value = std::move(evaluated);
    return result;
}

CZuXNodePrivatePtr CZuXDocument::GetPrivate(CZuXNodePtr node) {
    return node ? node->GetPrivate() : zuxpool::New<CZuXNodePrivate>();
}
