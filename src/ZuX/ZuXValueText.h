// Not part of the public interface.
//
// Strict readings of attribute text for Parse and ParseAttribute. pugixml's conversions take any
// text and read what they can ("12abc" as 12, "abc" as 0, "1e99" as the largest int); these say
// whether a text is entirely one value, without regard to the locale, and leave the value itself
// to pugixml so that a text that passes reads exactly as the quiet reads give it.
#ifndef ZUX_ZUXVALUETEXT_H
#define ZUX_ZUXVALUETEXT_H

#include <cmath>
#include <limits>

namespace zuxvalue {

/// An integer as pugixml's as_int family reads it.
struct IntegerText {
    bool valid;                   ///< the whole text is one integer whose magnitude fits 64 bits
    bool negative;                ///< it has a minus sign
    unsigned long long magnitude; ///< its value without the sign
};

/// Reads an optional sign, then decimal digits or "0x" / "0X" and hexadecimal digits, with only
/// XML whitespace (space, tab, CR, LF) before and after; at least one digit.
IntegerText ScanInteger(const char* text);

/// What a double's text stands for.
enum class DoubleText { Invalid, Zero, NonZero, Infinity, NaN };

/// Reads an optional sign, then decimal digits with an optional fraction and exponent ("1.",
/// ".5" and "2e-3" included), or inf, infinity or nan in any letter case, with only XML
/// whitespace around. The hexadecimal and "nan(...)" forms of strtod are not taken.
DoubleText ScanDouble(const char* text);

/// True for "true", "false", "1" or "0", followed by nothing but XML whitespace. Leading
/// whitespace is refused: pugixml's as_bool looks at the first character only and would read
/// " true" as false.
bool IsBoolText(const char* text);

/// True when `text` is one integer in the range of T and `read`, pugixml's reading of it, is that
/// integer. pugixml saturates what does not fit, so the comparison also guards the range.
template <class T>
bool IsExactInteger(const char* text, T read) {
    const IntegerText scanned = ScanInteger(text);
    // The magnitudes T holds, as unsigned 64-bit arithmetic: 2^31 below zero for int, 0 for the
    // unsigned types.
    const unsigned long long most = scanned.negative
                                        ? 0 - static_cast<unsigned long long>(std::numeric_limits<T>::min())
                                        : static_cast<unsigned long long>(std::numeric_limits<T>::max());
    const auto bits = static_cast<unsigned long long>(read);
    return scanned.valid && scanned.magnitude <= most && (scanned.negative ? 0 - bits : bits) == scanned.magnitude;
}

/// True when `text` is one double and `read`, pugixml's reading of it, neither overflowed to an
/// infinity nor underflowed to zero.
inline bool IsExactDouble(const char* text, double read) {
    switch (ScanDouble(text)) {
    case DoubleText::Zero:
        return read == 0;
    case DoubleText::NonZero:
        return std::isfinite(read) && read != 0;
    case DoubleText::Infinity:
        return std::isinf(read);
    case DoubleText::NaN:
        return std::isnan(read);
    case DoubleText::Invalid:
        break;
    }
    return false;
}

} // namespace zuxvalue

#endif
