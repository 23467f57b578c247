#include "ZuXOutput.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <strings.h>

static_assert(PUGIXML_VERSION == 1130, "saves are pieced together as pugixml 1.13 writes: declarations, line breaks");

namespace {

const char kUtf8[] = "UTF-8";

bool IsText(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

bool IsForeignEncoding(const pugi::xml_attribute& attribute) {
    return std::strcmp(attribute.name(), "encoding") == 0 && strcasecmp(attribute.value(), kUtf8) != 0;
}

bool NamesForeignEncoding(const pugi::xml_node& node) {
    const pugi::xml_attribute_iterator begin = node.attributes_begin();
    const pugi::xml_attribute_iterator end = node.attributes_end();
    return node.type() == pugi::node_declaration && std::any_of(begin, end, IsForeignEncoding);
}

// pugixml's own test for adding a default declaration: a declaration before the first element.
bool HasDeclaration(const pugi::xml_document& document) {
    for (const pugi::xml_node& child : document.children()) {
        if (child.type() == pugi::node_declaration) return true;
        if (child.type() == pugi::node_element) return false;
    }
    return false;
}

// Passes everything on, but holds a line break back while it is the last byte written, so that
// the one that ends a top-level node can still be dropped.
class CLineBreakHolder : public pugi::xml_writer {
public:
    explicit CLineBreakHolder(pugi::xml_writer& out) : m_out(out) {}

    void write(const void* data, size_t size) override {
        if (size == 0) return;
        Release();
        const char* bytes = static_cast<const char*>(data);
        m_held = bytes[size - 1] == '\n';
        if (size > 1 || !m_held) m_out.write(bytes, m_held ? size - 1 : size);
    }

    void Drop() { m_held = false; }

    void Release() {
        if (m_held) m_out.write("\n", 1);
        m_held = false;
    }

private:
    pugi::xml_writer& m_out;
    bool m_held = false;
};

// How long a name is as pugixml writes it: an empty name is written as ":anonymous".
std::size_t WrittenNameLength(const char* name) {
    return std::strlen(*name ? name : ":anonymous");
}

// The declaration as pugixml writes it, naming `name`: with the values of its foreign encodings
// replaced by it, or, when `always`, with every encoding value replaced and one added after the
// version where it has none. Its text is "<?" name, then ' ' name '=' quote value quote for each
// attribute, then "?>" (and a line break unless Raw). A value is written as it is under NoEscapes;
// otherwise escaped, and then it never holds the quote character.
std::string DeclarationNaming(const pugi::xml_node& declaration, const char* indent, unsigned int flags,
                              pugi::xml_encoding encoding, const char* name, bool always) {
    xml_string_writer written;
    declaration.print(written, indent, flags, encoding, 0);
    std::string& text = written.m_text;
    const char quote = (flags & pugi::format_attribute_single_quote) ? '\'' : '"';
    const std::size_t length = std::strlen(name);
    std::size_t at = 2 + WrittenNameLength(declaration.name());
    std::size_t afterVersion = at;
    bool named = false;
    for (const pugi::xml_attribute& attribute : declaration.attributes()) {
        at += 1 + WrittenNameLength(attribute.name()) + 2;
        const std::size_t end =
            (flags & pugi::format_no_escapes) ? at + std::strlen(attribute.value()) : text.find(quote, at);
        if (end >= text.size())
            return std::move(text); // not the layout above; never seen, but no reason to cut the text
        const bool isEncoding = std::strcmp(attribute.name(), "encoding") == 0;
        named = named || isEncoding;
        if (isEncoding && (always || IsForeignEncoding(attribute))) {
            text.replace(at, end - at, name);
            at += length;
        } else {
            at = end;
        }
        ++at;
        if (std::strcmp(attribute.name(), "version") == 0) afterVersion = at;
    }
    if (always && !named) text.insert(afterVersion, std::string(" encoding=") + quote + name + quote);
    return std::move(text);
}

// Every child of `root`, the document node, as pugixml's save writes them, with the declarations
// written by DeclarationNaming: those naming a foreign encoding, or with `declared` all of them.
void SaveChildren(const pugi::xml_node& root, pugi::xml_writer& writer, const char* indent, unsigned int flags,
                  pugi::xml_encoding encoding, const char* declared) {
    // The one difference from print: a top-level node that is not text ends in a line break, which
    // save writes only before a node that is not text, and at the end.
    CLineBreakHolder out(writer);
    bool afterNode = false; // after a top-level node that is not text
    for (const pugi::xml_node& child : root.children()) {
        const bool text = IsText(child);
        if (text && afterNode && !(flags & pugi::format_raw)) out.Drop();
        if (child.type() == pugi::node_declaration && (declared || NamesForeignEncoding(child))) {
            const std::string declaration =
                DeclarationNaming(child, indent, flags, encoding, declared ? declared : kUtf8, declared != nullptr);
            out.write(declaration.data(), declaration.size());
        } else {
            child.print(out, indent, flags, encoding, 0);
        }
        afterNode = !text;
    }
    out.Release();
}

bool HoldsForeignDeclaration(const pugi::xml_node& root) {
    const pugi::xml_node_iterator begin = root.begin();
    const pugi::xml_node_iterator end = root.end();
    return std::any_of(begin, end, NamesForeignEncoding);
}

} // namespace

void SaveDocument(const pugi::xml_document& document, pugi::xml_writer& writer, const char* indent, unsigned int flags,
                  pugi::xml_encoding encoding, bool keepDeclaredEncoding, const char* declared) {
    if (!declared && (keepDeclaredEncoding || !HoldsForeignDeclaration(document))) {
        document.save(writer, indent, flags, encoding);
        return;
    }

    // What save writes, piece by piece: the byte-order mark and the default declaration as save
    // writes them for an empty document (or a declaration naming `declared` in its place), then
    // every top-level node as print writes it.
    const bool declaring = declared && !HasDeclaration(document);
    const pugi::xml_document empty;
    empty.save(writer, indent, HasDeclaration(document) || declaring ? flags | pugi::format_no_declaration : flags,
               encoding);
    if (declaring) {
        const std::string declaration = std::string(R"(<?xml version="1.0" encoding=")") + declared + R"("?>)" +
                                        ((flags & pugi::format_raw) ? "" : "\n");
        writer.write(declaration.data(), declaration.size());
    }
    SaveChildren(document, writer, indent, flags, encoding, declared);
}

void SaveNode(const pugi::xml_node& node, pugi::xml_writer& writer, const char* indent, unsigned int flags,
              pugi::xml_encoding encoding, bool keepDeclaredEncoding) {
    if (!keepDeclaredEncoding && node.type() == pugi::node_document && HoldsForeignDeclaration(node)) {
        SaveChildren(node, writer, indent, flags, encoding, nullptr);
    } else if (!keepDeclaredEncoding && NamesForeignEncoding(node)) {
        const std::string declaration = DeclarationNaming(node, indent, flags, encoding, kUtf8, false);
        writer.write(declaration.data(), declaration.size());
    } else {
        node.print(writer, indent, flags, encoding, 0);
    }
}

bool WritesBackAsIs(pugi::xml_node_type type, const char* value) {
    if (type == pugi::node_pcdata || type == pugi::node_cdata) return true;
    // Written as a save writes it, before an element (which an unterminated document type would
    // swallow), and read back with nothing normalised.
    pugi::xml_document scratch;
    pugi::xml_node node = scratch.append_child(type);
    if (type == pugi::node_pi && !node.set_name("t")) throw std::bad_alloc();
    if (!node.set_value(value) || !scratch.append_child("e")) throw std::bad_alloc();
    xml_string_writer written;
    scratch.save(written, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    pugi::xml_document back;
    const unsigned int kinds = pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment;
    const pugi::xml_parse_result read =
        back.load_buffer(written.m_text.data(), written.m_text.size(), kinds, pugi::encoding_utf8);
    if (read.status == pugi::status_out_of_memory) throw std::bad_alloc();
    const pugi::xml_node copy = back.first_child();
    const pugi::xml_node after = copy.next_sibling();
    return read && copy.type() == type && std::strcmp(copy.value(), value) == 0 &&
           std::strcmp(after.name(), "e") == 0 && !after.next_sibling();
}
