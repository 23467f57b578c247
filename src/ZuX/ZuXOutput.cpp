#include "ZuXOutput.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <strings.h>

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

class CStringWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { m_text.append(static_cast<const char*>(data), size); }

    std::string m_text;
};

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

// The declaration as pugixml writes it, with the values of its foreign encodings replaced. Its
// text is "<?" name, then ' ' name '=' quote value quote for each attribute, then "?>" (and a line
// break unless Raw). A value is written as it is under NoEscapes; otherwise escaped, and then it
// never holds the quote character.
std::string Utf8Declaration(const pugi::xml_node& declaration, const char* indent, unsigned int flags,
                            pugi::xml_encoding encoding) {
    CStringWriter written;
    declaration.print(written, indent, flags, encoding, 0);
    std::string& text = written.m_text;
    const char quote = (flags & pugi::format_attribute_single_quote) ? '\'' : '"';
    std::size_t at = 2 + WrittenNameLength(declaration.name());
    for (const pugi::xml_attribute& attribute : declaration.attributes()) {
        at += 1 + WrittenNameLength(attribute.name()) + 2;
        const std::size_t end =
            (flags & pugi::format_no_escapes) ? at + std::strlen(attribute.value()) : text.find(quote, at);
        if (end >= text.size()) break; // not the layout above; never seen, but no reason to cut the text
        if (IsForeignEncoding(attribute)) {
            text.replace(at, end - at, kUtf8);
            at += sizeof kUtf8 - 1;
        } else {
            at = end;
        }
        ++at;
    }
    return std::move(text);
}

} // namespace

void SaveDocument(const pugi::xml_document& document, pugi::xml_writer& writer, const char* indent, unsigned int flags,
                  pugi::xml_encoding encoding, bool keepDeclaredEncoding) {
    bool foreign = false;
    if (!keepDeclaredEncoding)
        for (const pugi::xml_node& child : document.children()) foreign = foreign || NamesForeignEncoding(child);
    if (!foreign) {
        document.save(writer, indent, flags, encoding);
        return;
    }

    // What save writes, piece by piece: the byte-order mark and the default declaration as save
    // writes them for an empty document, then every top-level node as print writes it. The one
    // difference: a top-level node that is not text ends in a line break, which save writes only
    // before a node that is not text, and at the end.
    const pugi::xml_document empty;
    empty.save(writer, indent, HasDeclaration(document) ? flags | pugi::format_no_declaration : flags, encoding);
    CLineBreakHolder out(writer);
    bool afterNode = false; // after a top-level node that is not text
    for (const pugi::xml_node& child : document.children()) {
        const bool text = IsText(child);
        if (text && afterNode && !(flags & pugi::format_raw)) out.Drop();
        if (NamesForeignEncoding(child)) {
            const std::string declaration = Utf8Declaration(child, indent, flags, encoding);
            out.write(declaration.data(), declaration.size());
        } else {
            child.print(out, indent, flags, encoding, 0);
        }
        afterNode = !text;
    }
    out.Release();
}
