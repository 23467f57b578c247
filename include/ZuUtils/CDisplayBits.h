// Naming the set bits of a flag word, for messages and logs.
#ifndef ZUUTILS_CDISPLAYBITS_H
#define ZUUTILS_CDISPLAYBITS_H

#include <ZuUtils/ZuUtilsExport.h>

#include <cstdint>
#include <string>

/// One row of a flag-name table. A table lists its rows in display order and ends with a row
/// whose fields are all zero.
struct _DISPLAY_BITS_INFO_TABLE { // NOLINT(bugprone-reserved-identifier): the row type's established name
    unsigned int uBit;            ///< the flag's bit (or bits)
    unsigned int uGroup;          ///< group word of the row; not used for display
    const char* pszName;          ///< the flag's name
    const wchar_t* pwszName;      ///< the same name as wide text
    std::uintptr_t uReserved;     ///< zero
};

/// Renders flag words through a name table.
class ZUUTILS_EXPORT CDisplayBitsBase {
public:
    /// The names of the set bits that have a row, in table order, joined by "|", then the bits
    /// left over as one hexadecimal number, as text or wide text: "Indent|Raw|0x100". 0 gives "0".
    /// A null table names nothing.
    ///@{
    static std::string AsString(_DISPLAY_BITS_INFO_TABLE* table, unsigned int bits);
    static std::wstring AsWstring(_DISPLAY_BITS_INFO_TABLE* table, unsigned int bits);
    ///@}
};

#endif
