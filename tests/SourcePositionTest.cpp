// Source positions: every loaded node and attribute knows its line and column in the input, counted
// in characters of the input's own encoding, whatever pugixml did to its buffer; load errors too.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace {

using zuxtest::TempDir;

// Tabs, CRLF line ends, é and ä (two bytes in UTF-8, one in the 8-bit encodings), an element name
// followed by a line end (which pugixml overwrites), an entity and a CRLF inside values (which it
// rewrites in place), and every kind of node a load can keep.
const char kDocument[] = "<?xml version=\"1.0\" encoding=\"%s\"?>\r\n"
                         "<!DOCTYPE r>\r\n"
                         "<r\r\n"
                         "\tcaf\xC3\xA9=\"&amp;\xC3\xA4\r\n\xC3\xA4\" b='1'><!--\xC3\xA9-->\r\n"
                         "\t<\xC3\xA4 x=\"\t\"/>t\xC3\xA9xt&lt;\r\n"
                         "<![CDATA[\xC3\xA4]]><?pi \xC3\xA9?></r>\r\n";
// Every node and attribute in document order (attributes after their element), where it starts.
const std::vector<std::pair<unsigned long, unsigned long>> kPositions = {
    {1, 1},  {1, 7},  {1, 21}, // declaration, version, encoding
    {2, 1},                    // document type
    {3, 1},  {4, 2},  {5, 4},  // r, café, b
    {5, 10}, {5, 18},          // comment, the white space after it
    {6, 2},  {6, 5},  {6, 12}, // ä, x, the text after it
    {7, 1},  {7, 14},          // CDATA, processing instruction
};
// A quote missing on line 3, after a tab and two-byte characters.
const char kBroken[] = "<?xml version=\"1.0\" encoding=\"%s\"?>\r\n<r>\r\n\t<\xC3\xA9 \xC3\xA4=\"1\" b=2/></r>";

std::string Declared(const char* pattern, const char* encoding) {
    std::string text(sizeof kDocument + 32, '\0');
    text.resize(static_cast<std::size_t>(std::snprintf(text.data(), text.size(), pattern, encoding)));
    return text;
}

// `utf8` in `encoding`, by the C library's iconv, with the mark the encoding's name asks for.
std::string Encoded(const std::string& utf8, const char* encoding, const std::string& mark) {
    const iconv_t cd = iconv_open(encoding, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t left = utf8.size();
    char* to = out.data();
    std::size_t room = out.size();
    EXPECT_NE(static_cast<std::size_t>(-1), iconv(cd, &in, &left, &to, &room)) << encoding;
    iconv_close(cd);
    out.resize(out.size() - room);
    return mark + out;
}

void Collect(CZuXNode node, std::vector<std::pair<unsigned long, unsigned long>>& found) {
    for (CZuXNode& child : node.Children()) {
        unsigned long line = 0;
        unsigned long column = 0;
        EXPECT_FALSE(child.GetSourcePosition(line, column).IsError()) << child.Name();
        found.emplace_back(line, column);
        for (CZuXAttribute& attribute : child.Attributes()) {
            EXPECT_FALSE(attribute.GetSourcePosition(line, column).IsError()) << attribute.Name();
            found.emplace_back(line, column);
        }
        Collect(child, found);
    }
}

CZuXNode DocumentNode(CZuXDocument& document) {
    return CZuXNode(document.GetDocumentNode());
}

TEST(SourcePositionTest, EveryItemInEveryEncoding) {
    struct Encoding {
        const char* declared;
        const char* iconv;
        std::string mark;
    };
    const Encoding encodings[] = {
        {"UTF-8", "UTF-8", ""},
        {"UTF-8", "UTF-8", "\xEF\xBB\xBF"},
        {"UTF-16", "UTF-16LE", "\xFF\xFE"},
        {"UTF-16", "UTF-16BE", "\xFE\xFF"},
        {"ISO-8859-1", "ISO-8859-1", ""},
        {"windows-1252", "windows-1252", ""},
    };
    TempDir dir;
    for (const Encoding& encoding : encodings) {
        SCOPED_TRACE(std::string(encoding.iconv) + (encoding.mark.empty() ? "" : " with BOM"));
        const std::string path = dir.File("in.xml");
        zuxtest::WriteFile(path, Encoded(Declared(kDocument, encoding.declared), encoding.iconv, encoding.mark));
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromFile(path, BZuXLoad::KeepAll).IsError());
        std::vector<std::pair<unsigned long, unsigned long>> found;
        Collect(DocumentNode(document), found);
        EXPECT_EQ(kPositions, found);

        zuxtest::WriteFile(path, Encoded(Declared(kBroken, encoding.declared), encoding.iconv, encoding.mark));
        ASSERT_TRUE(document.LoadFromFile(path).IsError());
        unsigned long line = 0;
        unsigned long column = 0;
        ASSERT_FALSE(document.GetLoadErrorPosition(line, column).IsError());
        EXPECT_EQ(std::make_pair(3ul, 13ul), std::make_pair(line, column));
    }
}

// Each case loads, perhaps changes something, and asks for the position of the element <b>:
// where it is, or 0:0 for a refusal with 1168.
TEST(SourcePositionTest, WhatKeepsAPositionAndWhatLosesIt) {
    const std::string xml = "<r>\n  <a/><b/>\n</r>";
    struct Case {
        const char* what;
        BZuXLoad keep;
        bool fromFile;
        void (*change)(CZuXDocument&, const std::string& path);
        unsigned long line;
        unsigned long column;
    };
    const Case cases[] = {
        {"a file", BZuXLoad(), true, nullptr, 2, 7},
        {"a string", BZuXLoad(), false, nullptr, 0, 0},
        {"a string with KeepPositions", BZuXLoad::KeepPositions, false, nullptr, 2, 7},
        {"a sibling removed before it", BZuXLoad(), true,
         [](CZuXDocument& d, const std::string&) { CZuXNode(d.GetNode("r")).RemoveNode(std::string("a")); }, 2, 7},
        {"renamed shorter", BZuXLoad(), true,
         [](CZuXDocument& d, const std::string&) { CZuXNode(CZuXNode(d.GetNode("r")).GetNode("b")).SetName("c"); }, 2,
         7},
        {"a copy within the document, in place of its source", BZuXLoad(), true,
         [](CZuXDocument& d, const std::string&) {
             CZuXNode r(d.GetNode("r"));
             const CZuXNode b(r.GetNode("b"));
             r.AppendNodeCopy(b);
             r.RemoveNode(b);
         },
         2, 7},
        {"renamed longer", BZuXLoad(), true,
         [](CZuXDocument& d, const std::string&) { CZuXNode(CZuXNode(d.GetNode("r")).GetNode("b")).SetName("longer"); },
         0, 0},
        {"the file changed since", BZuXLoad(), true,
         [](CZuXDocument&, const std::string& path) { zuxtest::WriteFile(path, "<r><b/></r>"); }, 0, 0},
        {"the file changed, positions kept", BZuXLoad::KeepPositions, true,
         [](CZuXDocument&, const std::string& path) { zuxtest::WriteFile(path, "<r><b/></r>"); }, 2, 7},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("in.xml");
        zuxtest::WriteFile(path, xml);
        CZuXDocument document;
        ASSERT_FALSE(
            (c.fromFile ? document.LoadFromFile(path, c.keep) : document.LoadFromString(xml, c.keep)).IsError());
        if (c.change) c.change(document, path);
        CZuXNode root(document.GetNode("r"));
        CZuXNode b(root.GetFirstNode());
        while (b.Exists() && b.Name() != "b" && b.Name() != "c" && b.Name() != "longer") b.MoveNextSibling();
        unsigned long line = 0;
        unsigned long column = 0;
        const CZuError result = b.GetSourcePosition(line, column);
        EXPECT_EQ(c.line == 0 ? ZuWin32::NotFound : 0u, result.GetWin32Code());
        EXPECT_EQ(std::make_pair(c.line, c.column), std::make_pair(line, column));
    }
}

TEST(SourcePositionTest, AFailedStrictReadSaysWhereTheAttributeIs) {
    TempDir dir;
    zuxtest::WriteFile(dir.File("in.xml"), "<r>\n\t<e width=\"12px\"/>\n</r>");
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(dir.File("in.xml")).IsError());
    int width = 0;
    const CZuError result = CZuXNode(CZuXNode(document.GetNode("r")).GetNode("e")).ParseAttribute("width", width);
    ASSERT_EQ(2u, result.GetRecords().size());
    EXPECT_EQ("Attribute=[width], Value=[12px]", result.GetRecords()[0].GetMessage());
    EXPECT_EQ("Line=[2], Column=[5]", result.GetRecords()[1].GetMessage());
    // Made by the program: no position, no record.
    CZuXNode made(document.AppendNode("made"));
    made.SetAttributeString("width", "12px");
    EXPECT_EQ(1u, made.ParseAttribute("width", width).GetRecords().size());
}

} // namespace
