#include "ZuXName.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace {

constexpr std::array<unsigned char, 256> MakeAsciiClasses() {
    std::array<unsigned char, 256> classes{};
    for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kNameStart | kNameChar;
    for (int c = 'a'; c <= 'z'; ++c) classes[c] = kNameStart | kNameChar;
    classes[':'] = kNameStart | kNameChar;
    classes['_'] = kNameStart | kNameChar;
    for (int c = '0'; c <= '9'; ++c) classes[c] = kNameChar;
    classes['-'] = kNameChar;
    classes['.'] = kNameChar;
    return classes;
}

struct Range {
    char32_t first;
    char32_t last;
};

// The non-ASCII NameStartChars.
constexpr Range kStartRanges[] = {
    {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x2FF},    {0x370, 0x37D},   {0x37F, 0x1FFF},  {0x200C, 0x200D},
    {0x2070, 0x218F}, {0x2C00, 0x2FEF}, {0x3001, 0xD7FF}, {0xF900, 0xFDCF}, {0xFDF0, 0xFFFD}, {0x10000, 0xEFFFF},
};

// The non-ASCII NameChars that cannot start a name.
constexpr Range kOtherRanges[] = {{0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040}};

template <std::size_t N>
bool InRanges(char32_t c, const Range (&ranges)[N]) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [c](const Range& range) { return c >= range.first && c <= range.last; });
}

} // namespace

bool DecodeUtf8(const unsigned char*& p, char32_t& c) {
    const unsigned char lead = *p;
    std::size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        least = 0x10000;
    } else {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0u) != 0x80u) return false;
        c = (c << 6) | (p[i] & 0x3Fu);
    }
    if (c < least) return false;
    p += length;
    return true;
}

// The table the inline check reads, made at compile time.
const std::array<unsigned char, 256> kAsciiNameClasses = MakeAsciiClasses();

bool IsXmlNameDecoding(const char* name) {
    const auto* p = reinterpret_cast<const unsigned char*>(name);
    char32_t c = 0;
    if (kAsciiNameClasses[*p] & kNameStart)
        ++p;
    else if (*p < 0x80 || !DecodeUtf8(p, c) || !InRanges(c, kStartRanges))
        return false; // the empty name ends here too
    for (;;) {
        while (kAsciiNameClasses[*p] & kNameChar) ++p;
        if (*p == 0) return true;
        if (*p < 0x80 || !DecodeUtf8(p, c)) return false;
        if (!InRanges(c, kStartRanges) && !InRanges(c, kOtherRanges)) return false;
    }
}
