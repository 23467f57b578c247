// Not part of the public interface.
//
// What every save writes: pugixml's output of the document, with one mend. Every save writes
// UTF-8, but a declaration kept from a file names the encoding the file had; written back as it
// is, it would make a Latin-1 or UTF-16 claim about UTF-8 text, and the next load would decode
// the text wrongly. So such a declaration is written with encoding="UTF-8". The tree is never
// changed for this: pugixml could need memory to put the old value back, and that can fail.
// A declaration above bytes that were loaded as they are, in an encoding nothing here decodes, is
// the one true statement about them, and is written as it stands. The same mechanism writes a
// declaration naming another encoding for a save that converts its output to that encoding.
#ifndef ZUX_ZUXOUTPUT_H
#define ZUX_ZUXOUTPUT_H

#include <ZuUtils/CZuError.h>

#include <pugixml.hpp>

#include <cstddef>
#include <exception>
#include <new>
#include <ostream>
#include <string>
#include <utility>

/// `document.save(writer, indent, flags, encoding)` for a UTF-8 output encoding (encoding_utf8 or
/// encoding_auto), except that the value of every `encoding` attribute of a declaration of the
/// document that does not name UTF-8 (in any letter case) is written as "UTF-8". Every other byte
/// is the one `save` writes. With `keepDeclaredEncoding` (the document's bytes were loaded as they
/// are under its declaration), exactly what `save` writes. Allocates only when a declaration is
/// rewritten, and may then throw std::bad_alloc; pugixml's memory is never used.
///
/// With `declared`, an encoding name made of ASCII letters, digits, '.', '_' and '-', the text is
/// for a conversion to that encoding: every declaration names it (an `encoding` attribute is added
/// after `version` where there is none), and a document without a declaration gets one naming it,
/// `<?xml version="1.0" encoding="..."?>`, even under format_no_declaration.
void SaveDocument(const pugi::xml_document& document, pugi::xml_writer& writer, const char* indent, unsigned int flags,
                  pugi::xml_encoding encoding, bool keepDeclaredEncoding, const char* declared = nullptr);

/// `node.print(writer, indent, flags, encoding)`, with the mend of SaveDocument for a declaration
/// that names another encoding than UTF-8: the node itself, or one of the document node's children.
/// With `keepDeclaredEncoding`, exactly what `print` writes.
void SaveNode(const pugi::xml_node& node, pugi::xml_writer& writer, const char* indent, unsigned int flags,
              pugi::xml_encoding encoding, bool keepDeclaredEncoding);

/// Whether a node of `type` holding `value` is written so that a load gives the value back as it
/// is. Text and CDATA always are (CDATA holding "]]>" is split into sections, as it must be); a
/// comment holding "--" or ending in '-', a processing instruction holding "?>" or starting with
/// white space, and a document type that would end early or not at all, or start with white space,
/// are not.
/// Throws std::bad_alloc when memory runs out.
bool WritesBackAsIs(pugi::xml_node_type type, const char* value);

/// Collects everything pugixml writes.
class xml_string_writer : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { m_text.append(static_cast<const char*>(data), size); }

    std::string m_text;
};

/// Runs `save(writer)` on a string writer and moves the text into `output`: success, or 14 with
/// `output` unchanged when memory runs out.
template <class Save>
CZuError SaveToText(std::string& output, const WNCodeLocation& location, const Save& save) {
    try {
        xml_string_writer text;
        save(static_cast<pugi::xml_writer&>(text));
        output = std::move(text.m_text);
        return CZuError::Success();
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
}

/// Runs `save(writer)` on a writer into `out`: success, 774 when the stream failed, 14 when memory
/// runs out. What was written stays in the stream.
template <class Save>
CZuError SaveToOstream(std::ostream& out, const WNCodeLocation& location, const Save& save) {
    try {
        pugi::xml_writer_stream writer(out);
        save(static_cast<pugi::xml_writer&>(writer));
        if (out) return CZuError::Success();
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    } catch (const std::exception&) {
        // A stream that throws on failure, std::ios_base::failure in either of the library's two
        // forms (which one a stream throws depends on how its code was compiled).
    }
    return WNErrorUtil::ErrorWin32(location, ZuWin32::ErrorsEncountered);
}

#endif
