// Not part of the public interface.
//
// Saving in another encoding than UTF-8. pugixml writes UTF-8 (or UTF-16, UTF-32 and Latin-1, which
// leaves every other encoding out); here the C library's iconv converts that output to whatever
// encoding it knows. Text and attribute values take a character that the encoding cannot hold as a
// character reference ("&#x20AC;"); names, comments, processing instructions, CDATA sections and
// the document type take none, so a document holding such a character there cannot be written in
// that encoding at all. That is found out before anything is written.
#ifndef ZUX_ZUXENCODEDOUTPUT_H
#define ZUX_ZUXENCODEDOUTPUT_H

#include <pugixml.hpp>

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <string>

/// What EncodeDocument came to.
enum class Encoding {
    Done,
    Unknown,     ///< not an encoding that iconv knows and a declaration can name
    NotWritable, ///< a name, the markup's content or the indentation holds a character the
                 ///< encoding cannot hold, or the text is not valid UTF-8
    OutOfMemory,
};

/// A conversion from UTF-8 to one encoding.
class CUtf8Converter {
public:
    /// Opens the conversion to `encoding`; Opened() tells whether iconv knows it.
    explicit CUtf8Converter(const char* encoding);
    ~CUtf8Converter();
    CUtf8Converter(const CUtf8Converter&) = delete;
    CUtf8Converter& operator=(const CUtf8Converter&) = delete;

    bool Opened() const { return reinterpret_cast<std::intptr_t>(m_descriptor) != -1; }

    /// Back to the initial state: the next conversion starts as a new one would.
    void Reset() const;
    /// Converts `size` bytes from `in` and appends them to `output`; a character the encoding
    /// cannot hold is appended as a character reference when `references` (and makes the
    /// conversion fail otherwise). Moves `in` past what was converted: an incomplete sequence at
    /// the end is left there. False for invalid UTF-8, or a character that can be written in no
    /// way. Throws std::bad_alloc when `output` cannot grow.
    bool Convert(const char*& in, std::size_t& size, std::string& output, bool references) const;
    /// Appends what ends the conversion (the return to the initial shift state).
    void Finish(std::string& output) const;

private:
    iconv_t m_descriptor;
};

/// The document as SaveDocument writes it for `encoding`, with a declaration naming it, converted
/// into `output`, which is replaced. With format_write_bom the text starts with a byte-order mark
/// when the encoding has one (U+FEFF) and iconv does not write one itself.
Encoding EncodeDocument(const pugi::xml_document& document, const char* indent, unsigned int flags,
                        const std::string& encoding, std::string& output) noexcept;

#endif
