#include <ZuX/BZuXLoad.h>

#include <ZuUtils/CDisplayBits.h>

#include <pugixml.hpp>

static_assert(BZuXLoad::KeepProcessingInstructions == pugi::parse_pi &&
                  BZuXLoad::KeepComments == pugi::parse_comments &&
                  BZuXLoad::KeepWhitespaceText == pugi::parse_ws_pcdata &&
                  BZuXLoad::KeepDeclaration == pugi::parse_declaration &&
                  BZuXLoad::KeepDocType == pugi::parse_doctype &&
                  BZuXLoad::KeepAll == (pugi::parse_pi | pugi::parse_comments | pugi::parse_ws_pcdata |
                                        pugi::parse_declaration | pugi::parse_doctype),
              "the load bits are pugixml's");
static_assert((BZuXLoad::KeepPositions & 0xFFFF) == 0 && PUGIXML_VERSION == 1130,
              "KeepPositions lies above every parse flag of pugixml 1.13");

namespace {

_DISPLAY_BITS_INFO_TABLE s_dtLoadFlags[] = {
    {BZuXLoad::KeepProcessingInstructions, 0xFF, "KeepProcessingInstructions", L"KeepProcessingInstructions", 0},
    {BZuXLoad::KeepComments, 0xFF, "KeepComments", L"KeepComments", 0},
    {BZuXLoad::KeepWhitespaceText, 0xFF, "KeepWhitespaceText", L"KeepWhitespaceText", 0},
    {BZuXLoad::KeepDeclaration, 0xFF, "KeepDeclaration", L"KeepDeclaration", 0},
    {BZuXLoad::KeepDocType, 0xFF, "KeepDocType", L"KeepDocType", 0},
    {BZuXLoad::KeepPositions, 0xFF, "KeepPositions", L"KeepPositions", 0},
    {0, 0, nullptr, nullptr, 0},
};

} // namespace

std::string BZuXLoad::AsString(unsigned int bits) {
    return CDisplayBitsBase::AsString(s_dtLoadFlags, bits);
}

std::wstring BZuXLoad::AsWstring(unsigned int bits) {
    return CDisplayBitsBase::AsWstring(s_dtLoadFlags, bits);
}
