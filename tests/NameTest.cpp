// Names that are stored in the tree: every operation that stores one takes every XML name and
// refuses everything else, so that no name can become markup in a saved file.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <iterator>
#include <string>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

const char* const kXml = "<r><c/></r>";

// The ASCII names, and then: U+00C0, the first letter after ASCII; U+00B7 MIDDLE DOT and U+0301, a
// combining accent, which may follow but not start; U+10000, four bytes.
const char* const kXmlNames[] = {"a",     "A9",     "a:b",      ":",         "_x",        "x-1.2",
                                 "größe", "日本語", "\xC3\x80", "a\xC2\xB7", "e\xCC\x81", "\xF0\x90\x80\x80"};

// ASCII characters that are no name characters, or not at the start.
const char* const kAsciiNonNames[] = {"", "1a", "-a", ".a", "a b", "a\t", "a>", "a=", "a/", "a&b", "a'", "max size"};

// U+00B7 and U+0301 at the start, U+00D7 MULTIPLICATION SIGN, the noncharacter U+FFFE, U+F0000
// beyond the name characters.
const char* const kUnicodeNonNames[] = {"·a", "\xCC\x81", "\xC3\x97", "a\xEF\xBF\xBE", "\xF3\xB0\x80\x80"};

// Not UTF-8: U+00C0 and U+3001 (name characters both) in overlong forms, 'A' in one, a surrogate,
// a code point beyond U+10FFFF, sequences cut short, bytes that never start a sequence.
const char* const kNotUtf8[] = {"\xE0\x83\x80", "\xF0\x83\x80\x81", "\xC1\x81", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                "\xC3",         "a\xE6\x97",        "a\x80",    "\xFF",         "a\xFE"};

// Names that would plant an attribute or an element in a saved file.
const char* const kInjectingNames[] = {"nickname=\"x\" role", "note/><grant level=\"all\"/><note"};

CZuXNode Root(CZuXDocument& document) {
    return CZuXNode(document.GetNode("r"));
}

// Every operation that stores a name: the additions, top-level and below r, and the writes on r.
const std::function<CZuXNodePrivatePtr(CZuXDocument&, const char*)> kAdditions[] = {
    [](CZuXDocument& d, const char* n) { return d.AppendNode(n); },
    [](CZuXDocument& d, const char* n) { return d.PrependNode(n); },
    [](CZuXDocument& d, const char* n) { return d.InsertNodeAfter(n, d.GetNode("r")); },
    [](CZuXDocument& d, const char* n) { return d.InsertNodeBefore(n, d.GetNode("r")); },
    [](CZuXDocument& d, const char* n) { return Root(d).AppendNode(n); },
    [](CZuXDocument& d, const char* n) { return Root(d).PrependNode(n); },
    [](CZuXDocument& d, const char* n) { return Root(d).InsertNodeAfter(n, Root(d).GetNode("c")); },
    [](CZuXDocument& d, const char* n) { return Root(d).InsertNodeBefore(n, Root(d).GetNode("c")); },
};
const std::function<CZuError(CZuXNode&, const char*)> kWrites[] = {
    [](CZuXNode& e, const char* n) { return e.SetAttributeBOOL(n, true); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeDOUBLE(n, 1.5); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeINT(n, -1); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeUINT(n, 1); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeLONGLONG(n, -1); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeULONGLONG(n, 1); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeString(n, "admin"); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeTimeStamp(n, CTimeStamp(1)); },
    [](CZuXNode& e, const char* n) { return e.SetAttributeTimeStampUnixTime(n, CTimeStamp::FromUnixTime(1)); },
};

// What was stored is what a load of the saved text gives back.
void ExpectStoredAsIs(CZuXDocument& document) {
    const std::string saved = Text(document);
    EXPECT_NE(kXml, saved);
    EXPECT_EQ(saved, Text(*Parse(saved)));
}

TEST(NameTest, XmlNamesAreStoredAndComeBackFromTheSavedText) {
    for (const char* name : kXmlNames) {
        for (std::size_t i = 0; i < std::size(kAdditions); ++i) {
            SCOPED_TRACE("addition " + std::to_string(i) + ": " + name);
            auto document = Parse(kXml);
            EXPECT_EQ(name, CZuXNode(kAdditions[i](*document, name)).Name());
            ExpectStoredAsIs(*document);
        }
        for (std::size_t i = 0; i < std::size(kWrites); ++i) {
            SCOPED_TRACE("write " + std::to_string(i) + ": " + name);
            auto document = Parse(kXml);
            CZuXNode root = Root(*document);
            EXPECT_FALSE(kWrites[i](root, name).IsError());
            EXPECT_TRUE(root.AttributeExists(name));
            ExpectStoredAsIs(*document);
        }
    }
}

// Refused as a null name is: no node, or 1168 with the name; the tree stays as it was.
void ExpectRefusedEverywhere(const char* name) {
    for (std::size_t i = 0; i < std::size(kAdditions); ++i) {
        SCOPED_TRACE("addition " + std::to_string(i) + ": " + name);
        auto document = Parse(kXml);
        EXPECT_FALSE(CZuXNode(kAdditions[i](*document, name)).Exists());
        EXPECT_EQ(kXml, Text(*document));
    }
    for (std::size_t i = 0; i < std::size(kWrites); ++i) {
        SCOPED_TRACE("write " + std::to_string(i) + ": " + name);
        auto document = Parse(kXml);
        CZuXNode root = Root(*document);
        const CZuError refused = kWrites[i](root, name);
        EXPECT_EQ(1168u, refused.GetWin32Code());
        ASSERT_EQ(1u, refused.GetRecords().size());
        EXPECT_EQ(std::string("Attribute=[") + name + "]", refused.GetRecords()[0].GetMessage());
        EXPECT_EQ(kXml, Text(*document));
    }
}

TEST(NameTest, OtherNamesAreRefusedAndChangeNothing) {
    for (const char* name : kAsciiNonNames) ExpectRefusedEverywhere(name);
    for (const char* name : kUnicodeNonNames) ExpectRefusedEverywhere(name);
    for (const char* name : kNotUtf8) ExpectRefusedEverywhere(name);
    for (const char* name : kInjectingNames) ExpectRefusedEverywhere(name);
}

TEST(NameTest, LookupsAndRemovalsByNameAreUnchecked) {
    // pugixml reads any byte from 0x80 up as a name character, so a file can hold names that no
    // write may make. They are found and removed by name; only writes by that name are refused.
    const std::string xml = "<r a\xC3\x97=\"1\"><e\xFF/></r>";
    auto document = Parse(xml);
    CZuXNode root(Root(*document));
    EXPECT_EQ(1, root.AttributeAsINT("a\xC3\x97", 0));
    EXPECT_EQ(1168u, root.SetAttributeINT("a\xC3\x97", 2).GetWin32Code());
    EXPECT_TRUE(CZuXNode(root.GetNode("e\xFF")).Exists());
    EXPECT_FALSE(CZuXNode(root.GetNode("a b")).Exists());
    EXPECT_EQ(xml, Text(*document));
    EXPECT_FALSE(root.RemoveAttribute("a\xC3\x97").IsError());
    EXPECT_FALSE(root.RemoveNode("e\xFF").IsError());
    EXPECT_EQ("<r/>", Text(*document));
}

} // namespace
