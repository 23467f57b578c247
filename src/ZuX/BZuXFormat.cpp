#include <ZuX/BZuXFormat.h>

#include <ZuUtils/CDisplayBits.h>

#include <pugixml.hpp>

static_assert(BZuXFormat::Indent == pugi::format_indent && BZuXFormat::WriteBom == pugi::format_write_bom &&
                  BZuXFormat::Raw == pugi::format_raw && BZuXFormat::NoDeclaration == pugi::format_no_declaration &&
                  BZuXFormat::NoEscapes == pugi::format_no_escapes &&
                  BZuXFormat::SaveFileText == pugi::format_save_file_text &&
                  BZuXFormat::IndentAttributes == pugi::format_indent_attributes &&
                  BZuXFormat::NoEmptyElementTags == pugi::format_no_empty_element_tags,
              "the format bits are pugixml's");

namespace {

_DISPLAY_BITS_INFO_TABLE s_dtFlags[] = {
    {BZuXFormat::Indent, 0xFF, "Indent", L"Indent", 0},
    {BZuXFormat::WriteBom, 0xFF, "WriteBom", L"WriteBom", 0},
    {BZuXFormat::Raw, 0xFF, "Raw", L"Raw", 0},
    {BZuXFormat::NoDeclaration, 0xFF, "NoDeclaration", L"NoDeclaration", 0},
    {BZuXFormat::NoEscapes, 0xFF, "NoEscapes", L"NoEscapes", 0},
    {BZuXFormat::SaveFileText, 0xFF, "SaveFileText", L"SaveFileText", 0},
    {BZuXFormat::IndentAttributes, 0xFF, "IndentAttributes", L"IndentAttributes", 0},
    {BZuXFormat::NoEmptyElementTags, 0xFF, "NoEmptyElementTags", L"NoEmptyElementTags", 0},
    {0, 0, nullptr, nullptr, 0},
};

} // namespace

std::string BZuXFormat::AsString(unsigned int bits) {
    return CDisplayBitsBase::AsString(s_dtFlags, bits);
}

std::wstring BZuXFormat::AsWstring(unsigned int bits) {
    return CDisplayBitsBase::AsWstring(s_dtFlags, bits);
}
