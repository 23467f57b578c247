#include "TestSupport.h"
#include "ValueForms.h"

#include <gtest/gtest.h>

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

template <class Form>
class NodeAttributeFormTest : public ::testing::Test {};
TYPED_TEST_SUITE(NodeAttributeFormTest, zuxtest::ValueForms, zuxtest::FormName);

// Each value is written as its text, appended or in place, and read back by the node and by a
// handle on the attribute, also after a save and a load.
TYPED_TEST(NodeAttributeFormTest, EachFormReadsWhatItWrites) {
    using Form = TypeParam;
    for (const auto& sample : Form::Samples()) {
        SCOPED_TRACE(sample.text);
        auto document = Parse("<e a=\"x\"/>");
        CZuXNode e(document->GetNode("e"));
        ASSERT_FALSE(Form::SetAttribute(e, "n", sample.value).IsError());
        ASSERT_FALSE(Form::SetAttribute(e, "a", sample.value).IsError());
        CZuXAttribute a(e.GetFirstAttribute());
        EXPECT_EQ("a", a.Name()) << "replaced in place";
        EXPECT_EQ(sample.text, zuxtest::TextOf(a));
        EXPECT_EQ(sample.text, e.AttributeAsString("n"));
        auto again = Parse(Text(*document));
        for (const CZuXNode& node : {e, CZuXNode(again->GetNode("e"))})
            for (const typename Form::Value& other : {Form::Fallback(), typename Form::Value()}) {
                EXPECT_EQ(sample.read, Form::AttributeAs(node, "n", other));
                typename Form::Value value = other;
                EXPECT_FALSE(Form::GetAttributeAs(node, "n", value).IsError());
                EXPECT_EQ(sample.read, value);
            }
    }
}

// Reads of an attribute a node does not have (missing, named in another letter case, a null name,
// every empty node) give the fallback or fail with 1168 and leave the value alone; writes to nodes
// that take no attributes, or with a null name, fail with 1168 and change nothing.
TYPED_TEST(NodeAttributeFormTest, NothingToReadOrWrite) {
    using Form = TypeParam;
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString("<!--c--><r N=\"1\">text</r>", BZuXLoad::KeepComments).IsError());
    CZuXNode comment(document.GetDocumentNode());
    comment = CZuXNode(comment.GetFirstNode());
    CZuXNode r(document.GetNode("r"));
    CZuXNode text(r.GetFirstNode());
    CZuXNode byDefault;
    CZuXNode fromNullBody{CZuXNodePrivatePtr()};
    CZuXNode foundNowhere(document.GetNode("missing"));
    CZuXNode pastTheEnd(r);
    pastTheEnd.MoveNextSibling();
    const struct {
        CZuXNode* node;
        const char* name;
        bool takesTheWrite;
    } kCases[] = {
        {&r, "missing", true},    {&r, "n", true},          {&r, nullptr, false},        {&comment, "N", false},
        {&text, "N", false},      {&byDefault, "N", false}, {&fromNullBody, "N", false}, {&foundNowhere, "N", false},
        {&pastTheEnd, "N", false}};
    const std::string before = Text(document);
    for (const auto& row : kCases) {
        const std::string message = std::string("Attribute=[") + (row.name ? row.name : "(null)") + "]";
        SCOPED_TRACE(message);
        const CZuXNode& node = *row.node;
        EXPECT_EQ(Form::Fallback(), Form::AttributeAs(node, row.name, Form::Fallback()));
        typename Form::Value value = Form::Fallback();
        zuxtest::ExpectError(Form::GetAttributeAs(node, row.name, value), 1168, "ZuXNode.cpp",
                             zuxtest::NodeGetFunction<Form>().c_str(), message);
        EXPECT_EQ(Form::Fallback(), value) << "left alone";
        if (!row.takesTheWrite)
            zuxtest::ExpectError(Form::SetAttribute(*row.node, row.name, Form::Samples()[0].value), 1168, "ZuXNode.cpp",
                                 zuxtest::NodeSetFunction<Form>().c_str(), message);
    }
    EXPECT_EQ(before, Text(document));
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

    // Each type's text and reads: EachFormReadsWhatItWrites.
    e.SetAttributeString("s", "a<b");
    EXPECT_EQ("<e a=\"6\" n=\"5\" s=\"a&lt;b\"/>", Text(*plain));
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
