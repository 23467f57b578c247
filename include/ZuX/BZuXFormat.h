// Output-format bits of the save operations.
#ifndef ZUX_BZUXFORMAT_H
#define ZUX_BZUXFORMAT_H

#include <ZuX/ZuXExport.h>

#include <string>

/// A set of output-format bits, passed to pugixml unchanged; the named bits are pugixml's
/// format flags. Bits above NoEmptyElementTags are passed on as well.
///
///     document.SaveAsString(text, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration));
class ZUX_EXPORT BZuXFormat {
public:
    static constexpr unsigned int Indent = 0x01;             ///< indent nested nodes, once per level
    static constexpr unsigned int WriteBom = 0x02;           ///< write the UTF-8 byte-order mark first
    static constexpr unsigned int Raw = 0x04;                ///< no indentation and no line breaks
    static constexpr unsigned int NoDeclaration = 0x08;      ///< add no default XML declaration
    static constexpr unsigned int NoEscapes = 0x10;          ///< write text and values unescaped
    static constexpr unsigned int SaveFileText = 0x20;       ///< open the output file in text mode
    static constexpr unsigned int IndentAttributes = 0x40;   ///< one indented line per attribute
    static constexpr unsigned int NoEmptyElementTags = 0x80; ///< `<a></a>` instead of `<a />`

    /// A format of the given bits; no bits by default.
    explicit BZuXFormat(unsigned int bits = 0) : m_value(bits) {}

    /// The bits.
    unsigned int AsValue() const { return m_value; }

    /// The names of the set bits joined by "|", then any unnamed bits in hexadecimal:
    /// "Indent|Raw|0x100"; 0 gives "0".
    static std::string AsString(unsigned int bits);
    /// The same as wide text.
    static std::wstring AsWstring(unsigned int bits);

private:
    unsigned int m_value;
};

#endif
