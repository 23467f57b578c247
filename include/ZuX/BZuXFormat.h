// Output-format bits of the save operations.
#ifndef ZUX_BZUXFORMAT_H
#define ZUX_BZUXFORMAT_H

#include <ZuX/ZuXExport.h>

#include <string>

/// A set of output-format bits, passed to pugixml unchanged; the named bits are pugixml's
/// format flags. Bits above NoEmptyElementTags are passed on as well.
///
///     document.SaveToFile(path, BZuXFormat::Indent | BZuXFormat::NoDeclaration);
///     document.SaveAsString(text, BZuXFormat(BZuXFormat::Raw | 0x100));
///
/// Named bits, alone or joined with `|`, stand for a format wherever one is taken; any other
/// number needs the explicit constructor, so that a stray integer never becomes a format.
class ZUX_EXPORT BZuXFormat {
public:
    /// The named bits. They convert to unsigned int as plain numbers do; joined with `|` they
    /// stay named bits, joined with anything else they give an unsigned int.
    enum Bits : unsigned int {
        Indent = 0x01,             ///< indent nested nodes, once per level
        WriteBom = 0x02,           ///< write the UTF-8 byte-order mark first
        Raw = 0x04,                ///< no indentation and no line breaks
        NoDeclaration = 0x08,      ///< add no default XML declaration
        NoEscapes = 0x10,          ///< write text and values unescaped
        SaveFileText = 0x20,       ///< open the output file in text mode
        IndentAttributes = 0x40,   ///< one indented line per attribute
        NoEmptyElementTags = 0x80, ///< `<a></a>` instead of `<a />`
    };

    /// Named bits joined, also in place: still named bits, so the result converts to a format.
    ///@{
    friend constexpr Bits operator|(Bits a, Bits b) {
        return static_cast<Bits>(static_cast<unsigned int>(a) | static_cast<unsigned int>(b));
    }
    friend constexpr Bits& operator|=(Bits& a, Bits b) { return a = a | b; }
    ///@}

    /// A format of the given bits (none by default), or of named bits:
    /// `SaveToFile(path, BZuXFormat::Raw | BZuXFormat::NoDeclaration)`; and its bits.
    ///@{
    explicit BZuXFormat(unsigned int bits = 0) : m_value(bits) {}
    BZuXFormat(Bits bits) : m_value(bits) {}
    unsigned int AsValue() const { return m_value; }
    ///@}

    /// The names of the set bits joined by "|", then any unnamed bits in hexadecimal, as text or
    /// wide text: "Indent|Raw|0x100"; 0 gives "0".
    ///@{
    static std::string AsString(unsigned int bits);
    static std::wstring AsWstring(unsigned int bits);
    ///@}

private:
    unsigned int m_value;
};

#endif
