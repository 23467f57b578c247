// Files in UTF-16 and UTF-32, in either byte order, with and without a byte-order mark: loading
// detects the encoding, and the tree and every save are UTF-8. Broken encodings load or fail
// cleanly; whatever loads saves and loads again.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum class Unit { Utf16, Utf32 };
enum class Order { Little, Big };

void Put(std::string& out, unsigned int value, int bytes, Order order) {
    for (int i = 0; i < bytes; ++i) {
        const int shift = 8 * (order == Order::Little ? i : bytes - 1 - i);
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

// `text` in the given encoding; code units are taken as they are, so unpaired surrogates and
// values beyond U+10FFFF can be written too.
std::string Encode(const std::u32string& text, Unit unit, Order order, bool mark) {
    std::string out;
    const int bytes = unit == Unit::Utf16 ? 2 : 4;
    if (mark) Put(out, 0xFEFF, bytes, order);
    for (char32_t c : text) {
        if (unit == Unit::Utf16 && c > 0xFFFF && c <= 0x10FFFF) {
            Put(out, 0xD800 + ((c - 0x10000) >> 10), 2, order);
            Put(out, 0xDC00 + ((c - 0x10000) & 0x3FF), 2, order);
        } else {
            Put(out, static_cast<unsigned int>(c), bytes, order);
        }
    }
    return out;
}

// é, € and the G clef (outside the 16-bit plane) in an attribute, a text and a name.
const std::u32string kText = U"<r a=\"\u00E9\u20AC\">\U0001D11E x<\u00E9l\u00E9ment/></r>";
const std::string kUtf8 = "<r a=\"\xC3\xA9\xE2\x82\xAC\">\xF0\x9D\x84\x9E x<\xC3\xA9l\xC3\xA9ment/></r>";

struct Form {
    const char* name;
    Unit unit;
    Order order;
    bool mark;
};

const Form kForms[] = {
    {"UTF-16LE with BOM", Unit::Utf16, Order::Little, true},
    {"UTF-16LE without BOM", Unit::Utf16, Order::Little, false},
    {"UTF-16BE with BOM", Unit::Utf16, Order::Big, true},
    {"UTF-16BE without BOM", Unit::Utf16, Order::Big, false},
    {"UTF-32LE with BOM", Unit::Utf32, Order::Little, true},
    {"UTF-32LE without BOM", Unit::Utf32, Order::Little, false},
    {"UTF-32BE with BOM", Unit::Utf32, Order::Big, true},
    {"UTF-32BE without BOM", Unit::Utf32, Order::Big, false},
};

TEST(EncodingTest, EveryWideFormLoadsAsUtf8) {
    zuxtest::TempDir dir;
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        for (const std::u32string& declaration : {std::u32string(), std::u32string(U"<?xml version=\"1.0\"?>")}) {
            const std::string path = dir.File("wide.xml");
            zuxtest::WriteFile(path, Encode(declaration + kText, form.unit, form.order, form.mark));
            CZuXDocument document;
            const CZuError loaded = document.LoadFromFile(path);
            ASSERT_FALSE(loaded.IsError()) << loaded.AsString();
            EXPECT_EQ(kUtf8, zuxtest::Text(document).substr(zuxtest::Text(document).find("<r")));
            EXPECT_EQ("\xC3\xA9\xE2\x82\xAC", CZuXNode(document.GetNode("r")).AttributeAsString("a"));

            // Saved, the file is UTF-8, and it loads into the same tree.
            ASSERT_FALSE(document.SaveToFile(path, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration)).IsError());
            const std::string saved = zuxtest::ReadFile(path);
            EXPECT_EQ(kUtf8, saved.substr(saved.find("<r")));
            CZuXDocument again;
            ASSERT_FALSE(again.LoadFromFile(path).IsError());
            EXPECT_EQ(zuxtest::Text(document), zuxtest::Text(again));
        }
    }
}

TEST(EncodingTest, ByteOrderMarkIsWrittenOnlyWhenAsked) {
    zuxtest::TempDir dir;
    zuxtest::WriteFile(dir.File("in.xml"), Encode(kText, Unit::Utf16, Order::Big, true));
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(dir.File("in.xml")).IsError());
    ASSERT_FALSE(document.SaveToFile(dir.File("plain.xml")).IsError());
    EXPECT_EQ(0u, zuxtest::ReadFile(dir.File("plain.xml")).find("<?xml"));
    ASSERT_FALSE(document.SaveToFile(dir.File("marked.xml"), BZuXFormat(BZuXFormat::WriteBom)).IsError());
    EXPECT_EQ(0u, zuxtest::ReadFile(dir.File("marked.xml")).find("\xEF\xBB\xBF<?xml"));
}

std::string DeclaredEncoding(CZuXDocument& document) {
    return CZuXNode(document.GetNode("xml")).AttributeAsString("encoding");
}

// A file's declaration names the encoding it had; every save writes UTF-8, and says so, while the
// declaration in the tree keeps what it read.
TEST(EncodingTest, SavedDeclarationNamesUtf8) {
    zuxtest::TempDir dir;
    const struct {
        const char* encoding;
        std::string content;
    } kFiles[] = {
        {"ISO-8859-1", zuxtest::ReadFile(zuxtest::DataDir() + "/latin1.xml")},
        {"UTF-16", Encode(U"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r n=\"caf\u00E9\">caf\u00E9</r>", Unit::Utf16,
                          Order::Little, true)},
    };
    for (const auto& file : kFiles) {
        SCOPED_TRACE(file.encoding);
        zuxtest::WriteFile(dir.File("in.xml"), file.content);
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromFile(dir.File("in.xml")).IsError());
        std::string text;
        document.SaveAsString(text);
        EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r n=\"caf\xC3\xA9\">caf\xC3\xA9</r>", text);
        ASSERT_FALSE(document.SaveToFile(dir.File("out.xml")).IsError());
        EXPECT_EQ(file.encoding, DeclaredEncoding(document)) << "the tree is unchanged";
        // Loaded and saved again, twice over, the text stays what it was.
        for (int round = 0; round < 2; ++round) {
            ASSERT_FALSE(document.LoadFromFile(dir.File("out.xml")).IsError());
            EXPECT_EQ("UTF-8", DeclaredEncoding(document));
            EXPECT_EQ("caf\xC3\xA9", CZuXNode(document.GetNode("r")).AttributeAsString("n"));
            EXPECT_EQ("caf\xC3\xA9", zuxtest::TextOf(CZuXNode(document.GetNode("r"))));
            ASSERT_FALSE(document.SaveToFile(dir.File("out.xml")).IsError());
        }
    }
}

TEST(EncodingTest, BrokenEncodingsLoadOrFailCleanly) {
    const std::string cut = Encode(kText, Unit::Utf16, Order::Little, true);
    const std::string cases[] = {
        cut.substr(0, cut.size() - 1),                                               // odd length
        Encode(U"<r>\xD800 \xDC00 \xDBFF</r>", Unit::Utf16, Order::Little, true),    // lone surrogates
        Encode(U"<r>\x110000 \xFFFFFFFF \xD800</r>", Unit::Utf32, Order::Big, true), // beyond Unicode
        Encode(U"", Unit::Utf32, Order::Little, true),                               // a mark alone
        std::string("\xFF\xFE<\0r\0>\0", 8),                                         // never closed
        std::string("\xEF\xBB\xBF<r>\xE2\x82</r>"),                                  // cut UTF-8
        std::string("<?xml version=\"1.0\" encoding=\"UTF-32\"?><r>\xFF</r>"),       // declared wrongly
    };
    zuxtest::TempDir dir;
    for (const std::string& content : cases) {
        SCOPED_TRACE(::testing::PrintToString(content));
        zuxtest::WriteFile(dir.File("broken.xml"), content);
        CZuXDocument document;
        const CZuError loaded = document.LoadFromFile(dir.File("broken.xml"));
        if (loaded.IsError()) {
            EXPECT_EQ(2u, loaded.GetRecords().size());
            continue;
        }
        const BZuXFormat asLoaded(BZuXFormat::Raw | BZuXFormat::NoDeclaration);
        ASSERT_FALSE(document.SaveToFile(dir.File("saved.xml"), asLoaded).IsError());
        CZuXDocument again;
        EXPECT_FALSE(again.LoadFromFile(dir.File("saved.xml")).IsError());
        EXPECT_EQ(zuxtest::Text(document), zuxtest::Text(again));
    }
}

std::string Declared(const std::string& encoding) {
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>";
}

// Each input is loaded from a file and, unless it holds a NUL, from a string: both decode it
// alike. `outcome` is the file's document saved on one line (a string's is the same without the
// declaration, unless kept), or for an input that fails to load, its first record.
TEST(EncodingTest, InputsAreDecodedByTheirEncoding) {
    const struct {
        std::string input;
        std::string outcome;
    } kInputs[] = {
        {Declared("windows-1252") + "<r>\x80 caf\xE9</r>", Declared("UTF-8") + "<r>\u20AC caf\u00E9</r>"},
        {Declared("Shift_JIS") + "<\x93\xFA>\x96\x7B</\x93\xFA>", Declared("UTF-8") + "<\u65E5>\u672C</\u65E5>"},
        {Declared("latin1") + "<r>\xE9</r>", Declared("UTF-8") + "<r>\u00E9</r>"},
        // A wide encoding declared over 8-bit bytes, as .NET declares strings: UTF-8.
        {Declared("utf-16") + "<r>\xC3\xA9</r>", Declared("UTF-8") + "<r>\u00E9</r>"},
        // An encoding nothing here decodes: the bytes and the declaration as they are.
        {Declared("x-zux") + "<r>\xA4</r>", Declared("x-zux") + "<r>\xA4</r>"},
        {Declared("windows-1252") + "<r>\x81</r>",
         "Error decoding, Encoding=[windows-1252], Offset=[48], Description=[Invalid byte sequence]"},
        {Declared("Shift_JIS") + "<r/>\x93",
         "Error decoding, Encoding=[Shift_JIS], Offset=[46], Description=[Incomplete character at the end]"},
        {Encode(U"<r>\xDC00</r>", Unit::Utf16, Order::Little, true),
         "Error decoding, Encoding=[UTF-16LE], Offset=[8], Description=[Invalid byte sequence]"},
    };
    zuxtest::TempDir dir;
    for (const auto& row : kInputs) {
        SCOPED_TRACE(row.outcome);
        const bool fails = row.outcome.find("Error decoding") == 0;
        zuxtest::WriteFile(dir.File("in.xml"), row.input);
        // From the file, from the string, and from the string keeping its declaration.
        for (int load = 0; load < 3; ++load) {
            if (load > 0 && row.input.find('\0') != std::string::npos) continue;
            CZuXDocument document;
            const CZuError loaded = load == 0   ? document.LoadFromFile(dir.File("in.xml"))
                                    : load == 1 ? document.LoadFromString(row.input)
                                                : document.LoadFromString(row.input, BZuXLoad::KeepAll);
            if (fails) {
                EXPECT_EQ(13u, loaded.GetWin32Code());
                ASSERT_EQ(2u, loaded.GetRecords().size()) << loaded.AsString();
                EXPECT_EQ(row.outcome, loaded.GetRecords()[0].GetMessage());
                EXPECT_EQ("", zuxtest::Text(document)) << "nothing is loaded";
                continue;
            }
            ASSERT_FALSE(loaded.IsError()) << loaded.AsString();
            EXPECT_EQ(load != 1 ? row.outcome : row.outcome.substr(row.outcome.find("?>") + 2),
                      zuxtest::Text(document));
        }
    }
}

// Saves in other encodings give the tree back. é and € and the snowman, which no 8-bit encoding
// here holds, in text and in an attribute value: what an encoding lacks is a reference. A save that
// cannot be written fails with 13 before anything is written: the file keeps what it held.
TEST(EncodingTest, SavesInOtherEncodings) {
    zuxtest::TempDir dir;
    const std::string tree = "<r a=\"\xC3\xA9\xE2\x82\xAC\xE2\x98\x83\"><b>\xC3\xA9\xE2\x82\xAC\xE2\x98\x83</b></r>";
    const struct {
        std::string xml;
        const char* indent;
        const char* encoding;
        unsigned int format;
        std::string bytes; // how the file starts ("old": refused); the whole file when `whole`
        bool whole;
    } kSaves[] = {
        {tree, "\t", "UTF-16", BZuXFormat::Indent, std::string("\xFF\xFE<\0?\0x\0", 8), false},
        {tree, "\t", "UTF-16", BZuXFormat::Indent | BZuXFormat::WriteBom, std::string("\xFF\xFE<\0?\0x\0", 8), false},
        {tree, "\t", "UTF-16BE", BZuXFormat::Raw, std::string("\0<\0?\0x", 6), false},
        {tree, "\t", "UTF-16LE", BZuXFormat::WriteBom, std::string("\xFF\xFE<\0?\0x\0", 8), false},
        {tree, "\t", "ISO-8859-1", BZuXFormat::Indent,
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r a=\"\xE9&#x20AC;&#x2603;\">", false},
        {tree, "\t", "windows-1252", BZuXFormat::WriteBom | BZuXFormat::NoDeclaration,
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r "
         "a=\"\xE9\x80&#x2603;\">\n<b>\xE9\x80&#x2603;</b>\n</r>\n",
         true},
        {"<r/>", "", "no-such-encoding", 0, "old", true},
        {"<r/>", "", "UTF-8//TRANSLIT", 0, "old", true},
        {"<r/>", "\xE2\x98\x83", "ISO-8859-1", 0, "old", true},
        {"<\xE6\x97\xA5/>", "", "ISO-8859-1", 0, "old", true},
        {"<r \xE6\x97\xA5=\"1\"/>", "", "windows-1252", 0, "old", true},
        {"<r><!--\xE2\x98\x83--></r>", "", "ISO-8859-1", 0, "old", true},
        {"<?p \xE2\x98\x83?><r/>", "", "ISO-8859-1", 0, "old", true},
        {"<r>\xE2\x82</r>", "", "UTF-16", 0, "old", true},
    };
    for (const auto& save : kSaves) {
        SCOPED_TRACE(save.xml + " in " + save.encoding + " " + BZuXFormat::AsString(save.format));
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromString(save.xml, BZuXLoad::KeepAll).IsError());
        const std::string path = dir.File("saved.xml");
        zuxtest::WriteFile(path, "old");
        const CZuError result = document.SaveToFile(path, save.indent, BZuXFormat(save.format), save.encoding);
        EXPECT_EQ(save.bytes == "old" ? 13u : 0u, result.GetWin32Code()) << result.AsString();
        const std::string bytes = zuxtest::ReadFile(path);
        EXPECT_EQ(save.bytes, save.whole ? bytes : bytes.substr(0, save.bytes.size()));
        if (save.whole) continue;
        CZuXDocument again;
        ASSERT_FALSE(again.LoadFromFile(path, BZuXLoad()).IsError());
        EXPECT_EQ(zuxtest::Text(document), zuxtest::Text(again));
    }
}

} // namespace
