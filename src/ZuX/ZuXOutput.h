// Not part of the public interface.
//
// What every save writes: pugixml's output of the document, with one mend. Every save writes
// UTF-8, but a declaration kept from a file names the encoding the file had; written back as it
// is, it would make a Latin-1 or UTF-16 claim about UTF-8 text, and the next load would decode
// the text wrongly. So such a declaration is written with encoding="UTF-8". The tree is never
// changed for this: pugixml could need memory to put the old value back, and that can fail.
// A declaration above bytes that were loaded as they are, in an encoding nothing here decodes, is
// the one true statement about them, and is written as it stands.
#ifndef ZUX_ZUXOUTPUT_H
#define ZUX_ZUXOUTPUT_H

#include <pugixml.hpp>

/// `document.save(writer, indent, flags, encoding)` for a UTF-8 output encoding (encoding_utf8 or
/// encoding_auto), except that the value of every `encoding` attribute of a declaration of the
/// document that does not name UTF-8 (in any letter case) is written as "UTF-8". Every other byte
/// is the one `save` writes. With `keepDeclaredEncoding` (the document's bytes were loaded as they
/// are under its declaration), exactly what `save` writes. Allocates only when a declaration is
/// rewritten, and may then throw std::bad_alloc; pugixml's memory is never used.
void SaveDocument(const pugi::xml_document& document, pugi::xml_writer& writer, const char* indent, unsigned int flags,
                  pugi::xml_encoding encoding, bool keepDeclaredEncoding);

#endif
