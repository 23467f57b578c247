#include "ZuXValueText.h"

#include <climits>
#include <cstring>

namespace zuxvalue {

namespace {

// XML's whitespace, which is also what pugixml skips before a number; isspace would add \v and
// \f and depend on the locale.
const char* SkipSpace(const char* p) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    return p;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a digit in base 10 or 16, or -1.
int DigitValue(char c, unsigned int base) {
    if (IsDigit(c)) return c - '0';
    const char lower = static_cast<char>(c | 0x20);
    if (base == 16 && lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

// The end of `word` (lower case) at `p` in any letter case, or null.
const char* SkipWord(const char* p, const char* word) {
    for (; *word; ++p, ++word)
        if ((*p | 0x20) != *word) return nullptr;
    return p;
}

} // namespace

IntegerText ScanInteger(const char* text) {
    IntegerText scanned{false, false, 0};
    const char* p = SkipSpace(text);
    scanned.negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    // pugixml's own test for the prefix: '0', then 'x' in either case.
    const bool hex = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    if (hex) p += 2;
    const unsigned int base = hex ? 16 : 10;
    const char* const digits = p;
    bool overflow = false;
    for (int digit = 0; (digit = DigitValue(*p, base)) >= 0; ++p) {
        overflow = overflow || scanned.magnitude > (ULLONG_MAX - static_cast<unsigned int>(digit)) / base;
        scanned.magnitude = scanned.magnitude * base + static_cast<unsigned int>(digit);
    }
    scanned.valid = p != digits && !overflow && *SkipSpace(p) == '\0';
    return scanned;
}

DoubleText ScanDouble(const char* text) {
    const char* p = SkipSpace(text);
    if (*p == '+' || *p == '-') ++p;
    DoubleText kind = DoubleText::Zero;
    if (const char* end = SkipWord(p, "inf")) {
        const char* longer = SkipWord(end, "inity");
        p = longer ? longer : end;
        kind = DoubleText::Infinity;
    } else if (const char* nan = SkipWord(p, "nan")) {
        p = nan;
        kind = DoubleText::NaN;
    } else {
        bool digits = false;
        auto mantissa = [&] {
            for (; IsDigit(*p); ++p) {
                digits = true;
                if (*p != '0') kind = DoubleText::NonZero;
            }
        };
        mantissa();
        if (*p == '.') {
            ++p;
            mantissa();
        }
        if (!digits) return DoubleText::Invalid;
        if (*p == 'e' || *p == 'E') {
            ++p;
            if (*p == '+' || *p == '-') ++p;
            if (!IsDigit(*p)) return DoubleText::Invalid;
            while (IsDigit(*p)) ++p;
        }
    }
    return *SkipSpace(p) == '\0' ? kind : DoubleText::Invalid;
}

bool IsBoolText(const char* text) {
    const auto whole = [text](const char* word) {
        const std::size_t length = std::strlen(word);
        return std::strncmp(text, word, length) == 0 && *SkipSpace(text + length) == '\0';
    };
    return whole("true") || whole("false") || whole("1") || whole("0");
}

} // namespace zuxvalue
