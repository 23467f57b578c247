#include "ZuXEncodedOutput.h"

#include "ZuXName.h"
#include "ZuXOutput.h"
#include "ZuXSubtree.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// The characters of XML's markup, which every encoding written must hold as they are.
const char kMarkup[] = "\t\n\r !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
                       "abcdefghijklmnopqrstuvwxyz{|}~";
const char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// XML's EncName: a letter, then letters, digits, '.', '_' and '-'. This also keeps out iconv's
// suffixes such as "//TRANSLIT", which would change the text silently.
bool IsEncodingName(const std::string& name) {
    if (name.empty() || !IsAsciiLetter(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

bool IsAscii(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80) return false;
    return true;
}

// Whether the encoding holds every character of `text` as it is. ASCII text needs no conversion:
// the encoding is known to hold the markup characters.
bool Holds(const CUtf8Converter& converter, const char* text) {
    if (IsAscii(text)) return true;
    converter.Reset();
    std::string ignored;
    std::size_t size = std::strlen(text);
    const bool held = converter.Convert(text, size, ignored, false) && size == 0;
    converter.Reset();
    return held;
}

// Whether iconv starts its output with a byte-order mark of its own (as glibc's UTF-16 and UTF-32
// do): the first space then costs more than the second.
bool WritesOwnByteOrderMark(const char* encoding) {
    const CUtf8Converter converter(encoding);
    std::string first;
    std::string second;
    const char* space = " ";
    std::size_t size = 1;
    converter.Convert(space, size, first, false);
    space = " ";
    size = 1;
    converter.Convert(space, size, second, false);
    return first.size() > second.size();
}

// Whether every name, and the content of every comment, processing instruction, CDATA section,
// document type and declaration below `root`, can be written as it is: none of them takes
// character references.
bool MarkupFits(const CUtf8Converter& converter, const pugi::xml_node& root) {
    for (CZuXSubtreeWalk walk(root); !IsNone(walk.Node()); walk.Next()) {
        const pugi::xml_node& node = walk.Node();
        if (node.type() == pugi::node_pcdata) continue; // takes references
        if (!Holds(converter, node.name()) || !Holds(converter, node.value())) return false;
        const bool valuesAreText = node.type() == pugi::node_element;
        for (const pugi::xml_attribute& attribute : node.attributes())
            if (!Holds(converter, attribute.name()) || (!valuesAreText && !Holds(converter, attribute.value())))
                return false;
    }
    return true;
}

// Converts what pugixml writes as it comes. A character cut in two between writes is carried over.
class CConvertingWriter : public pugi::xml_writer {
public:
    CConvertingWriter(const CUtf8Converter& converter, std::string& output)
        : m_converter(converter), m_output(output) {}

    void write(const void* data, size_t size) override {
        const char* in = static_cast<const char*>(data);
        while (!m_failed && m_carried > 0 && size > 0) {
            m_carry[m_carried++] = *in++;
            --size;
            const char* carried = m_carry;
            std::size_t left = m_carried;
            m_failed = !m_converter.Convert(carried, left, m_output, true) || left == sizeof m_carry;
            if (left == 0) m_carried = 0;
        }
        if (m_failed || size == 0) return;
        m_failed = !m_converter.Convert(in, size, m_output, true) || size >= sizeof m_carry;
        if (m_failed) return;
        std::memcpy(m_carry, in, size);
        m_carried = size;
    }

    // Ends the conversion: false when it failed, or the text ended inside a character.
    bool Finish() {
        if (m_failed || m_carried > 0) return false;
        m_converter.Finish(m_output);
        return true;
    }

private:
    const CUtf8Converter& m_converter;
    std::string& m_output;
    char m_carry[4] = {};
    std::size_t m_carried = 0;
    bool m_failed = false;
};

} // namespace

CUtf8Converter::CUtf8Converter(const char* encoding) : m_descriptor(iconv_open(encoding, "UTF-8")) {}

CUtf8Converter::~CUtf8Converter() {
    if (Opened()) iconv_close(m_descriptor);
}

void CUtf8Converter::Reset() const {
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
}

bool CUtf8Converter::Convert(const char*& in, std::size_t& size, std::string& output, bool references) const {
    char buffer[1024];
    while (size > 0) {
        char* out = buffer;
        std::size_t room = sizeof buffer;
        char* from = const_cast<char*>(in); // iconv's interface; it only reads the input
        const std::size_t converted = iconv(m_descriptor, &from, &size, &out, &room);
        const int error = converted == static_cast<std::size_t>(-1) ? errno : 0;
        in = from;
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (error == 0 || error == E2BIG) continue;
        if (error == EINVAL) return true; // a character cut short at the end, for the caller to complete
        if (error != EILSEQ) return false;
        // A character the encoding cannot hold, or bytes that are no UTF-8. Markup is ASCII, and
        // surrogates and code points beyond Unicode have no reference.
        unsigned char sequence[5] = {};
        std::memcpy(sequence, in, std::min<std::size_t>(size, 4));
        const unsigned char* end = sequence;
        char32_t c = 0;
        if (!references || sequence[0] < 0x80 || !DecodeUtf8(end, c) || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        char reference[16];
        const char* text = reference;
        auto length = static_cast<std::size_t>(
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned int>(c)));
        if (!Convert(text, length, output, false) || length > 0) return false;
        const auto used = static_cast<std::size_t>(end - sequence);
        in += used;
        size -= used;
    }
    return true;
}

void CUtf8Converter::Finish(std::string& output) const {
    char buffer[64];
    char* out = buffer;
    std::size_t room = sizeof buffer;
    iconv(m_descriptor, nullptr, nullptr, &out, &room);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
}

Encoding EncodeDocument(const pugi::xml_document& document, const char* indent, unsigned int flags,
                        const std::string& encoding, std::string& output) noexcept {
    try {
        if (!IsEncodingName(encoding)) return Encoding::Unknown;
        const CUtf8Converter check(encoding.c_str());
        std::string ignored;
        const char* markup = kMarkup;
        std::size_t size = sizeof kMarkup - 1;
        if (!check.Opened() || !check.Convert(markup, size, ignored, false) || size > 0) return Encoding::Unknown;
        check.Reset();

        if (!Holds(check, indent) || !MarkupFits(check, document)) return Encoding::NotWritable;

        // A new conversion, so that iconv writes its byte-order mark first where it writes one.
        const CUtf8Converter converter(encoding.c_str());
        std::string encoded;
        CConvertingWriter writer(converter, encoded);
        if ((flags & pugi::format_write_bom) && Holds(check, kByteOrderMark) &&
            !WritesOwnByteOrderMark(encoding.c_str()))
            writer.write(kByteOrderMark, sizeof kByteOrderMark - 1);
        SaveDocument(document, writer, indent, flags & ~pugi::format_write_bom, pugi::encoding_utf8, false,
                     encoding.c_str());
        if (!writer.Finish()) return Encoding::NotWritable;
        output = std::move(encoded);
        return Encoding::Done;
    } catch (const std::bad_alloc&) {
        return Encoding::OutOfMemory;
    }
}
