// Not part of the public interface.
//
// Every load turns its input into UTF-8 text and hands that text to pugixml, which parses it in
// place and keeps the buffer for the document's lifetime. pugixml itself decodes UTF-16, UTF-32
// and Latin-1 only; decoding here instead, with iconv, gives every encoding the C library knows
// (windows-1252, ISO-8859-15, Shift_JIS, ...) and one rule for strings and files: the tree always
// holds UTF-8, and pugixml's offsets are offsets in that UTF-8 text.
//
// The input's form is read from its first bytes, as pugixml reads it: a byte-order mark, or "<"
// followed by zero bytes (UTF-16, UTF-32); otherwise the bytes are taken as 8-bit text and an
// XML declaration at the start names their encoding. Only that declaration is examined, so UTF-8
// text (no declaration, or one naming UTF-8) costs what pugixml's own load costs and is handed
// on as it is, never validated, as pugixml takes it.
//  - A declared name that iconv does not know (or that is no encoding name at all): the bytes are
//    taken as they are, and saves write the declaration as it stands (InputForm::Undecoded).
//  - A declared name that does not read the declaration's own ASCII bytes as ASCII (UTF-16,
//    UTF-32, UCS-2 over 8-bit bytes, which .NET writes into strings): the bytes are UTF-8, as
//    pugixml takes them.
//  - Input that is invalid in its encoding, or ends inside a character, is not loaded at all.
#ifndef ZUX_ZUXLOAD_H
#define ZUX_ZUXLOAD_H

#include <ZuUtils/CZuError.h>

#include <pugixml.hpp>

#include <sys/stat.h>

#include <cstddef>
#include <memory>
#include <string>

class CZuXDocumentPrivate;

/// Memory from pugixml's allocation function (which tests replace), freed with its deallocation
/// function: the only memory pugixml can take over as a document's buffer.
struct PugixmlFree {
    void operator()(char* memory) const noexcept;
};
using PugixmlBuffer = std::unique_ptr<char, PugixmlFree>;
/// `size` bytes from pugixml's allocation function; null when they cannot be had.
PugixmlBuffer NewPugixmlBuffer(std::size_t size);

/// How the input's bytes became the UTF-8 text.
enum class InputForm {
    Utf8,      ///< taken as they are: UTF-8 by mark, by declaration, or for want of one
    Decoded,   ///< converted from `encoding`
    Undecoded, ///< taken as they are under a declared encoding that nothing here decodes
};

/// The outcome of DecodeToUtf8.
struct DecodedInput {
    enum class Outcome { Done, Invalid, Incomplete, OutOfMemory };
    Outcome outcome = Outcome::Done;
    InputForm form = InputForm::Utf8;
    /// Decoded and the failures: the encoding decoded from (as declared, or "UTF-16LE" and the
    /// like for a form told by its first bytes).
    char encoding[64] = {};
    /// Done: the UTF-8 text, NUL-terminated, and its size with that NUL (as pugixml takes it).
    PugixmlBuffer text;
    std::size_t size = 0;
    /// Invalid, Incomplete: the offset in the input of the first byte that could not be decoded.
    std::size_t offset = 0;
};

/// Turns `size` bytes of input into UTF-8 text, as described above. `bytes` comes from
/// NewPugixmlBuffer with room for one byte more, and is taken over: returned as the text when it
/// needs no decoding (no byte is copied then), freed otherwise. The same bytes always give the
/// same text. Examines only the first bytes unless it decodes; never throws.
DecodedInput DecodeToUtf8(PugixmlBuffer bytes, std::size_t size);

/// What a load is asked for.
struct LoadRequest {
    unsigned int options; ///< pugixml's parse options
    bool countPositions;  ///< count the input's positions while loading (BZuXLoad::KeepPositions)
    const char* function; ///< the load's function text, for the records made here
};

/// The loads: the document's tree is replaced by the input's, parsed with the request's options.
/// The result is success or the failure's first record; the caller pushes its own. Failures are
/// pugixml's parse statuses (through CZuXDocumentPrivate::GetErrorFromParseResult, also for those
/// found here: a file that cannot be opened, a directory or a read error, memory for the text),
/// and input invalid in its encoding: Win32 13 with
/// "Error decoding, Encoding=[%s], Offset=[%lld], Description=[%s]", at a location naming the
/// request's function, after which the document is empty. After a parse error the document holds
/// what pugixml parsed before it. A failure in the input's text (decoding or parsing) leaves its
/// line and column in the document's positions (ZuXSourcePositions.h), counted in the input read
/// once more.
///@{
/// Loads the text of `xml` up to its first NUL character.
CZuError LoadDocumentFromString(CZuXDocumentPrivate& document, const std::string& xml, const LoadRequest& request);
/// Loads the file at `path`; a path holding a NUL character fails as a file that is not found. A
/// regular file is remembered, to be read again when positions are asked for.
CZuError LoadDocumentFromFile(CZuXDocumentPrivate& document, const std::string& path, const LoadRequest& request);
///@}

/// The UTF-8 text of the file at `path`, read and decoded as a load does, while it is still the
/// file that `identity` describes (device, inode, size, modification time): outcome Invalid, with
/// no text, when it is another or cannot be read, OutOfMemory when memory runs out.
DecodedInput ReadFileAgain(const std::string& path, const struct stat& identity);

#endif
