#include <ZuX/CZuXDocument.h>

#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXNodePrivate.h"

namespace {

// parse_default: CDATA, escapes, end-of-line and attribute whitespace conversion.
constexpr unsigned int kStringParseOptions = pugi::parse_default;
// Files keep their comments and XML declaration as nodes.
constexpr unsigned int kFileParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;
static_assert(kStringParseOptions == 0x74 && kFileParseOptions == 0x176, "parse options of the loads");

} // namespace

CZuXDocument::CZuXDocument() : m_pPrivate(boost::make_shared<CZuXDocumentPrivate>()) {}

CZuXDocument::~CZuXDocument() = default;

CZuError CZuXDocument::LoadFromString(const std::string& xml) {
    pugi::xml_parse_result parsed = m_pPrivate->m_document.load_string(xml.c_str(), kStringParseOptions);
    CZuError error = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
    if (error.IsError())
        return error.Push(ZU_CODE_LOCATION("CZuError CZuXDocument::LoadFromString(const string&)"));
    return CZuError::Success();
}

CZuError CZuXDocument::LoadFromFile(const std::string& path) {
    pugi::xml_parse_result parsed =
        m_pPrivate->m_document.load_file(path.c_str(), kFileParseOptions, pugi::encoding_auto);
    CZuError error = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
    if (error.IsError())
        return error.Push(ZU_CODE_LOCATION("CZuError CZuXDocument::LoadFromFile(const string&)"), "FileName=[%s]",
                          path.c_str());
    return CZuError::Success();
}

CZuXNodePrivatePtr CZuXDocument::GetPrivate(CZuXNodePtr node) {
    return node ? node->GetPrivate() : boost::make_shared<CZuXNodePrivate>();
}
