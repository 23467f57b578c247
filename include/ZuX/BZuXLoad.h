// What a load keeps of a file besides its elements, text and CDATA sections.
#ifndef ZUX_BZUXLOAD_H
#define ZUX_BZUXLOAD_H

#include <ZuX/ZuXExport.h>

#include <string>

/// A set of bits naming the kinds of node a load keeps as nodes of the tree; the named bits are
/// pugixml's parse flags for those kinds. Elements, text and CDATA sections are always kept;
/// other bits are not taken.
///
///     document.LoadFromFile(path, BZuXLoad::KeepComments | BZuXLoad::KeepProcessingInstructions);
///     document.LoadFromString(xml, BZuXLoad::KeepAll);
///
/// Named bits, alone or joined with `|`, stand for a load wherever one is taken; any other
/// number needs the explicit constructor, so that a stray integer never becomes a load.
class ZUX_EXPORT BZuXLoad {
public:
    /// The named bits. They convert to unsigned int as plain numbers do; joined with `|` they
    /// stay named bits, joined with anything else they give an unsigned int.
    enum Bits : unsigned int {
        KeepProcessingInstructions = 0x0001, ///< `<?target content?>`
        KeepComments = 0x0002,               ///< `<!-- comment -->`
        KeepWhitespaceText = 0x0008,         ///< text made only of white space, such as indentation
        KeepDeclaration = 0x0100,            ///< `<?xml version="1.0"?>`
        KeepDocType = 0x0200,                ///< `<!DOCTYPE name ...>`
        KeepAll = 0x030B,                    ///< every kind above
        /// Not a kind of node: counts where every item stands while loading, so that
        /// GetSourcePosition answers for a document loaded from a string (whose text is gone
        /// afterwards), and for a file however it changes later. Costs a pass over the input
        /// and about 1/10 of its size.
        KeepPositions = 0x10000,
    };

    /// Named bits joined, also in place: still named bits, so the result converts to a load.
    ///@{
    friend constexpr Bits operator|(Bits a, Bits b) {
        return static_cast<Bits>(static_cast<unsigned int>(a) | static_cast<unsigned int>(b));
    }
    friend constexpr Bits& operator|=(Bits& a, Bits b) { return a = a | b; }
    ///@}

    /// A load of the given bits (none by default), or of named bits:
    /// `LoadFromFile(path, BZuXLoad::KeepComments | BZuXLoad::KeepDeclaration)`; and its bits.
    ///@{
    explicit BZuXLoad(unsigned int bits = 0) : m_value(bits) {}
    BZuXLoad(Bits bits) : m_value(bits) {}
    unsigned int AsValue() const { return m_value; }
    ///@}

    /// The names of the set bits joined by "|", then any unnamed bits in hexadecimal, as text or
    /// wide text: "KeepComments|KeepDeclaration|0x1000"; 0 gives "0".
    ///@{
    static std::string AsString(unsigned int bits);
    static std::wstring AsWstring(unsigned int bits);
    ///@}

private:
    unsigned int m_value;
};

#endif
