#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using zuxtest::ExpectError;
using zuxtest::kEpoch;
using zuxtest::kTick;
using zuxtest::Parse;
using zuxtest::Text;

class NodeAttributeTest : public ::testing::Test {
protected:
    void SetUp() override {
        document =
            Parse("<e i=\"-3\" u=\"7\" d=\"2.5\" b=\"true\" s=\"text\" t=\"0\" N=\"upper\" dup=\"1\" dup=\"2\"/>");
        element = CZuXNode(document->GetNode("e"));
    }

    std::unique_ptr<CZuXDocument> document;
    CZuXNode element;
};

TEST_F(NodeAttributeTest, ReadsEachType) {
    EXPECT_EQ(-3, element.AttributeAsINT("i", 0));
    EXPECT_EQ(7u, element.AttributeAsUINT("u", 0));
    EXPECT_EQ(-3LL, element.AttributeAsLONGLONG("i", 0));
    EXPECT_EQ(7ULL, element.AttributeAsULONGLONG("u", 0));
    EXPECT_EQ(2.5, element.AttributeAsDOUBLE("d", 0));
    EXPECT_TRUE(element.AttributeAsBOOL("b", false));
    EXPECT_EQ("text", element.AttributeAsString("s"));
    EXPECT_EQ("text", element.AttributeAsString("s", "fallback"));
    EXPECT_EQ(CTimeStamp(-3), element.AttributeAsTimeStamp("i"));
    EXPECT_EQ(-3, element.AttributeAsTimeStampUnixTime("i").AsUnixTime());

    bool b = false;
    double d = 0;
    int i = 0;
    unsigned int u = 0;
    LONGLONG ll = 0;
    ULONGLONG ull = 0;
    std::string s;
    CTimeStamp t(5);
    EXPECT_FALSE(element.GetAttributeAsBOOL("b", b).IsError());
    EXPECT_FALSE(element.GetAttributeAsDOUBLE("d", d).IsError());
    EXPECT_FALSE(element.GetAttributeAsINT("i", i).IsError());
    EXPECT_FALSE(element.GetAttributeAsUINT("u", u).IsError());
    EXPECT_FALSE(element.GetAttributeAsLONGLONG("i", ll).IsError());
    EXPECT_FALSE(element.GetAttributeAsULONGLONG("u", ull).IsError());
    EXPECT_FALSE(element.GetAttributeAsString("s", s).IsError());
    EXPECT_FALSE(element.GetAttributeAsTimeStampUnixTime("t", t).IsError());
    EXPECT_TRUE(b);
    EXPECT_EQ(2.5, d);
    EXPECT_EQ(-3, i);
    EXPECT_EQ(7u, u);
    EXPECT_EQ(-3, ll);
    EXPECT_EQ(7u, ull);
    EXPECT_EQ("text", s);
    EXPECT_TRUE(t.IsClear()) << "Unix time 0 reads as the clear stamp";
}

TEST_F(NodeAttributeTest, MissingAttributesGiveDefaults) {
    EXPECT_FALSE(element.AttributeExists("missing"));
    EXPECT_FALSE(element.AttributeExists(nullptr));
    EXPECT_EQ(7, element.AttributeAsINT("missing", 7));
    EXPECT_EQ("", element.AttributeAsString("missing"));
    EXPECT_EQ("fallback", element.AttributeAsString("missing", "fallback"));
    EXPECT_EQ(7, element.AttributeAsINT(nullptr, 7));
    EXPECT_TRUE(element.AttributeAsTimeStampUnixTime("missing").IsClear());
    EXPECT_EQ(kEpoch + kTick,
              element.AttributeAsTimeStampUnixTime("missing", CTimeStamp(kEpoch + kTick + 1)).AsSystemTime());
    EXPECT_EQ(CTimeStamp(kEpoch + 1), element.AttributeAsTimeStamp("missing", CTimeStamp(kEpoch + 1)));
}

// One row per type: the failing read and its function text.
struct FailingRead {
    const char* function;
    std::function<CZuError(CZuXNode&, const char*)> read;
};

TEST_F(NodeAttributeTest, EveryOutParameterReadReportsAMissingAttribute) {
    bool b = true;
    double d = 1.5;
    int i = 9;
    unsigned int u = 9;
    LONGLONG ll = 9;
    ULONGLONG ull = 9;
    std::string s = "kept";
    CTimeStamp t(9);
    CTimeStamp tu(9);
    const FailingRead rows[] = {
        {"CZuError CZuXNode::GetAttributeAsBOOL(const char*, bool&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsBOOL(a, b); }},
        {"CZuError CZuXNode::GetAttributeAsDOUBLE(const char*, double&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsDOUBLE(a, d); }},
        {"CZuError CZuXNode::GetAttributeAsINT(const char*, int&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsINT(a, i); }},
        {"CZuError CZuXNode::GetAttributeAsUINT(const char*, unsigned int&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsUINT(a, u); }},
        {"CZuError CZuXNode::GetAttributeAsLONGLONG(const char*, LONGLONG&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsLONGLONG(a, ll); }},
        {"CZuError CZuXNode::GetAttributeAsULONGLONG(const char*, ULONGLONG&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsULONGLONG(a, ull); }},
        {"CZuError CZuXNode::GetAttributeAsString(const char*, std::string&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsString(a, s); }},
        {"CZuError CZuXNode::GetAttributeAsTimeStamp(const char*, CTimeStamp&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsTimeStamp(a, t); }},
        {"CZuError CZuXNode::GetAttributeAsTimeStampUnixTime(const char*, CTimeStamp&) const",
         [&](CZuXNode& n, const char* a) { return n.GetAttributeAsTimeStampUnixTime(a, tu); }},
    };
    CZuXNode empty;
    for (const FailingRead& row : rows) {
        SCOPED_TRACE(row.function);
        ExpectError(row.read(element, "missing"), 1168, "ZuXNode.cpp", row.function, "Attribute=[missing]");
        ExpectError(row.read(element, "n"), 1168, "ZuXNode.cpp", row.function, "Attribute=[n]");
        ExpectError(row.read(empty, "i"), 1168, "ZuXNode.cpp", row.function, "Attribute=[i]");
        ExpectError(row.read(element, nullptr), 1168, "ZuXNode.cpp", row.function, "Attribute=[(null)]");
    }
    EXPECT_TRUE(b);
    EXPECT_EQ(1.5, d);
    EXPECT_EQ(9, i);
    EXPECT_EQ(9u, u);
    EXPECT_EQ(9, ll);
    EXPECT_EQ(9u, ull);
    EXPECT_EQ("kept", s);
    EXPECT_EQ(CTimeStamp(9), t);
    EXPECT_EQ(CTimeStamp(9), tu);
}

TEST_F(NodeAttributeTest, WritesAppendMissingAndReplaceInPlace) {
    auto plain = Parse("<e a=\"x\"/>");
    CZuXNode e(plain->GetNode("e"));
    EXPECT_FALSE(e.SetAttributeINT("n", 5).IsError());
    EXPECT_EQ("<e a=\"x\" n=\"5\"/>", Text(*plain));
    int n = 0;
    EXPECT_FALSE(e.GetAttributeAsINT("n", n).IsError());
    EXPECT_EQ(5, n);
    e.SetAttributeINT("a", 6);
    EXPECT_EQ("<e a=\"6\" n=\"5\"/>", Text(*plain));

    e.SetAttributeBOOL("b", true);
    e.SetAttributeDOUBLE("d", 0.5);
    e.SetAttributeUINT("u", 4000000000u);
    e.SetAttributeLONGLONG("ll", -9000000000LL);
    e.SetAttributeULONGLONG("ull", 18446744073709551615ULL);
    e.SetAttributeString("s", "a<b");
    e.SetAttributeTimeStamp("t", CTimeStamp(kEpoch + kTick + 1));
    e.SetAttributeTimeStampUnixTime("tu", CTimeStamp(kEpoch + kTick + 1));
    EXPECT_EQ("<e a=\"6\" n=\"5\" b=\"true\" d=\"0.5\" u=\"4000000000\" ll=\"-9000000000\" "
              "ull=\"18446744073709551615\" s=\"a&lt;b\" t=\"116444736010000001\" tu=\"1\"/>",
              Text(*plain));
    CTimeStamp t;
    e.GetAttributeAsTimeStamp("t", t);
    EXPECT_EQ(CTimeStamp(kEpoch + kTick + 1), t);
    e.GetAttributeAsTimeStampUnixTime("tu", t);
    EXPECT_EQ(CTimeStamp(kEpoch + kTick), t);
}

TEST_F(NodeAttributeTest, EmptyStringWrittenLeavesNoValue) {
    element.SetAttributeString("s", "");
    EXPECT_TRUE(element.AttributeExists("s"));
    int i = 9;
    EXPECT_FALSE(element.GetAttributeAsINT("s", i).IsError());
    EXPECT_EQ(0, i);
    EXPECT_EQ(7, element.AttributeAsINT("s", 7));

    auto quoted = Parse("<e s=\"\"/>");
    EXPECT_EQ(0, CZuXNode(quoted->GetNode("e")).AttributeAsINT("s", 7)) << "empty quotes are a value";
}

TEST_F(NodeAttributeTest, DuplicateNamesActOnTheFirst) {
    EXPECT_EQ(1, element.AttributeAsINT("dup", 0));
    element.SetAttributeINT("dup", 10);
    EXPECT_NE(std::string::npos, Text(*document).find("dup=\"10\" dup=\"2\""));
}

TEST_F(NodeAttributeTest, NamesAreCaseSensitive) {
    EXPECT_TRUE(element.AttributeExists("N"));
    EXPECT_FALSE(element.AttributeExists("n"));
    element.SetAttributeINT("n", 1);
    EXPECT_EQ("upper", element.AttributeAsString("N"));
    EXPECT_EQ(1, element.AttributeAsINT("n", 0));
}

TEST(NodeAttributeWriteTest, NodesWithoutAttributesRefuseWrites) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(zuxtest::DataDir() + "/declared.xml").IsError());
    CZuXNode comment(document.GetNode("xml"));
    comment.MoveNextSibling();
    CZuXNode text(CZuXNode(CZuXNode(document.GetNode("root")).GetNode("item")).GetFirstNode());
    CZuXNode empty;
    const std::string before = Text(document);
    for (CZuXNode* node : {&comment, &text, &empty}) {
        ExpectError(node->SetAttributeBOOL("flag", true), 1168, "ZuXNode.cpp",
                    "CZuError CZuXNode::SetAttributeBOOL(const char*, bool)", "Attribute=[flag]");
        ExpectError(node->SetAttributeString("s", "x"), 1168, "ZuXNode.cpp",
                    "CZuError CZuXNode::SetAttributeString(const char*, const std::string&)", "Attribute=[s]");
        EXPECT_FALSE(node->AttributeExists("flag"));
    }
    CZuXNode root(document.GetNode("root"));
    ExpectError(root.SetAttributeINT(nullptr, 1), 1168, "ZuXNode.cpp",
                "CZuError CZuXNode::SetAttributeINT(const char*, int)", "Attribute=[(null)]");
    EXPECT_EQ(before, Text(document));

    // The declaration takes attributes.
    CZuXNode declaration(document.GetNode("xml"));
    EXPECT_FALSE(declaration.SetAttributeString("standalone", "yes").IsError());
    EXPECT_EQ("yes", declaration.AttributeAsString("standalone"));
}

// The ISO 8601 forms read dates and nothing else; the strict tick read refuses dates.
TEST(NodeAttributeWriteTest, DatesAndTicksReadOnlyTheirOwnText) {
    auto document = zuxtest::Parse("<r utc=\"2024-03-01T10:00:00Z\" zoned=\"2024-03-01T11:00:00+01:00\" "
                                   "ticks=\"133537608000000000\" word=\"soon\"/>");
    const CTimeStamp march(133537608000000000LL);
    const struct {
        const char* name;
        unsigned int iso;   // GetAttributeAsIso8601
        unsigned int ticks; // ParseAttribute
    } kReads[] = {{"utc", 0, 13}, {"zoned", 0, 13}, {"ticks", 13, 0}, {"word", 13, 13}, {"none", 1168, 1168}};
    CZuXNode r(document->GetNode("r"));
    for (const auto& read : kReads) {
        SCOPED_TRACE(read.name);
        CTimeStamp iso(5);
        CTimeStamp ticks(5);
        EXPECT_EQ(read.iso, r.GetAttributeAsIso8601(read.name, iso).GetWin32Code());
        EXPECT_EQ(read.ticks, r.ParseAttribute(read.name, ticks).GetWin32Code());
        EXPECT_EQ(read.iso ? CTimeStamp(5) : march, iso);
        EXPECT_EQ(read.ticks ? CTimeStamp(5) : march, ticks);
    }
    ASSERT_FALSE(r.SetAttributeIso8601("utc", march).IsError());
    EXPECT_EQ("2024-03-01T10:00:00.0000000Z", r.AttributeAsString("utc"));
}

} // namespace
