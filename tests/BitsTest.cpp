// The bit sets of the saves and the loads: named as their flag tables name them, passed on unchanged,
// and joined with `|` into a format or a load, never made from a plain number by accident.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

namespace {

using zuxtest::Parse;
using zuxtest::ReadFile;
using zuxtest::TempDir;

TEST(FormatTest, NamesSetBitsInTableOrder) {
    EXPECT_EQ("0", BZuXFormat::AsString(0));
    EXPECT_EQ("Indent", BZuXFormat::AsString(0x01));
    EXPECT_EQ("NoEmptyElementTags", BZuXFormat::AsString(0x80));
    EXPECT_EQ("Indent|Raw|NoDeclaration", BZuXFormat::AsString(0x0D));
    EXPECT_EQ("Indent|WriteBom|Raw|NoDeclaration|NoEscapes|SaveFileText|IndentAttributes|NoEmptyElementTags",
              BZuXFormat::AsString(0xFF));
    EXPECT_EQ("Indent|Raw|0x100", BZuXFormat::AsString(0x105));
    EXPECT_EQ("0x80000000", BZuXFormat::AsString(0x80000000u));
    EXPECT_EQ(L"Indent|Raw|0x100", BZuXFormat::AsWstring(0x105));
    EXPECT_EQ(L"0", BZuXFormat::AsWstring(0));
}

TEST(FormatTest, BitsPassThroughUnchanged) {
    EXPECT_EQ(0u, BZuXFormat().AsValue());
    EXPECT_EQ(0xFFFFFFFFu, BZuXFormat(0xFFFFFFFFu).AsValue());
    EXPECT_EQ(0x0Cu, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration).AsValue());
}

// Whether SaveToFile(path, argument) compiles for an argument of type Arg.
template <class Arg, class = void>
struct SavesToFileWith : std::false_type {};
template <class Arg>
struct SavesToFileWith<Arg, std::void_t<decltype(std::declval<CZuXDocument&>().SaveToFile("", std::declval<Arg>()))>>
    : std::true_type {};

// Named bits, alone or joined, are a format; a plain number still needs the explicit constructor,
// and joined with one it stays a number. A literal 0 is a null pointer constant, so the refused
// null pointer stands for it: before, it became a null indentation string and threw.
static_assert(SavesToFileWith<decltype(BZuXFormat::Indent | BZuXFormat::NoDeclaration)>::value);
static_assert(SavesToFileWith<decltype(BZuXFormat::Raw)>::value);
static_assert(SavesToFileWith<const char*>::value);
static_assert(!SavesToFileWith<unsigned int>::value);
static_assert(!SavesToFileWith<std::nullptr_t>::value);
static_assert(std::is_same_v<decltype(BZuXFormat::Indent | 0x100u), unsigned int>);

TEST(FormatTest, NamedBitsCombineIntoAFormat) {
    TempDir dir;
    auto document = Parse("<a><b/></a>");
    ASSERT_FALSE(document->SaveToFile(dir.File("out.xml"), BZuXFormat::Indent | BZuXFormat::NoDeclaration).IsError());
    EXPECT_EQ("<a>\n\t<b />\n</a>\n", ReadFile(dir.File("out.xml")));
    std::string text;
    ASSERT_FALSE(document->SaveAsString(text, BZuXFormat::Raw | BZuXFormat::NoDeclaration).IsError());
    EXPECT_EQ("<a><b/></a>", text);
    BZuXFormat::Bits bits = BZuXFormat::Raw;
    bits |= BZuXFormat::NoEmptyElementTags;
    ASSERT_FALSE(document->SaveAsString(text, bits).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?><a><b></b></a>", text);
}

TEST(LoadBitsTest, NamesSetBitsInTableOrder) {
    EXPECT_EQ("0", BZuXLoad::AsString(0));
    EXPECT_EQ("KeepProcessingInstructions|KeepComments|KeepWhitespaceText|KeepDeclaration|KeepDocType",
              BZuXLoad::AsString(BZuXLoad::KeepAll));
    EXPECT_EQ("KeepComments|KeepPositions|0x1000", BZuXLoad::AsString(0x11002));
    EXPECT_EQ(L"KeepDeclaration|0x4", BZuXLoad::AsWstring(0x104));
    EXPECT_EQ(0x10002u, BZuXLoad(BZuXLoad::KeepComments | BZuXLoad::KeepPositions).AsValue());
}

// Whether LoadFromString(xml, argument) compiles for an argument of type Arg.
template <class Arg, class = void>
struct LoadsWith : std::false_type {};
template <class Arg>
struct LoadsWith<Arg, std::void_t<decltype(std::declval<CZuXDocument&>().LoadFromString("", std::declval<Arg>()))>>
    : std::true_type {};

static_assert(LoadsWith<decltype(BZuXLoad::KeepComments | BZuXLoad::KeepDocType)>::value);
static_assert(!LoadsWith<unsigned int>::value);
static_assert(std::is_same_v<decltype(BZuXLoad::KeepComments | 0x100u), unsigned int>);

} // namespace
