#include <ZuUtils/CDisplayBits.h>

#include <cstdio>

namespace {

bool IsEnd(const _DISPLAY_BITS_INFO_TABLE& row) {
    return row.uBit == 0 && row.uGroup == 0 && !row.pszName && !row.pwszName && row.uReserved == 0;
}

// Both renderings walk the table the same way; only the text type differs.
template <class Text, class NameOf>
Text Render(const _DISPLAY_BITS_INFO_TABLE* table, unsigned int bits, NameOf nameOf) {
    if (bits == 0) return Text(1, '0');
    Text text;
    unsigned int left = bits;
    for (const _DISPLAY_BITS_INFO_TABLE* row = table; row && !IsEnd(*row); ++row) {
        const auto* name = nameOf(*row);
        if (row->uBit == 0 || !name || (bits & row->uBit) != row->uBit) continue;
        if (!text.empty()) text += '|';
        text += name;
        left &= ~row->uBit;
    }
    if (left != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", left);
        if (!text.empty()) text += '|';
        for (const char* c = hex; *c; ++c) text += static_cast<typename Text::value_type>(*c);
    }
    return text;
}

} // namespace

std::string CDisplayBitsBase::AsString(_DISPLAY_BITS_INFO_TABLE* table, unsigned int bits) {
    return Render<std::string>(table, bits, [](const _DISPLAY_BITS_INFO_TABLE& row) { return row.pszName; });
}

std::wstring CDisplayBitsBase::AsWstring(_DISPLAY_BITS_INFO_TABLE* table, unsigned int bits) {
    return Render<std::wstring>(table, bits, [](const _DISPLAY_BITS_INFO_TABLE& row) { return row.pwszName; });
}
